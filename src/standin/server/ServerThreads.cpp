// The component's own threads: one accepts terminals, one serves each connected terminal. They
// share nothing with the caller's thread but ServerCore, and none of them ever waits for the
// caller's thread except inside the delivery itself.
#include <algorithm>
#include <chrono>
#include <system_error>
#include <thread>

#include "standin/protocol/Messages.h"
#include "standin/protocol/ProtocolLimits.h"
#include "standin/protocol/RequestData.h"
#include "standin/server/ServerCore.h"

namespace morvane::standin {

namespace {

using net::Deadline;
using net::IoStatus;

constexpr int kAcceptSliceMs = 100;
constexpr int kWatchSliceMs = 200;
constexpr int kIdleThreadMs = 60000;
// Error replies are courtesy: they never hold a thread for long.
constexpr int kReplyMs = 1000;

class ThreadCount {
 public:
  ThreadCount(ServerCore& core, Session& session) : core_(core), session_(session) {}
  ~ThreadCount() {
    std::lock_guard lock(core_.mutex);
    --session_.liveThreads;
    core_.changed.notify_all();
  }
  ThreadCount(const ThreadCount&) = delete;
  ThreadCount& operator=(const ThreadCount&) = delete;

 private:
  ServerCore& core_;
  Session& session_;
};

void SendReply(Connection& c, const std::string& line, int delayMs) {
  c.channel.Write(line, Deadline::AfterMs(std::min(delayMs, kReplyMs)));
}

// Holds the right to deliver: requests reach the receiver one at a time, so the receiver's
// SendFile always belongs to the one download in delivery.
class DeliverySlot {
 public:
  DeliverySlot(ServerCore& core, Session& session) : core_(core), session_(session) {
    std::unique_lock lock(core_.mutex);
    core_.deliveryFree.wait(lock, [&] { return !core_.deliveryBusy || session_.stopping.load(); });
    if (session_.stopping) return;
    core_.deliveryBusy = true;
    ++session_.deliveringThreads;
    held_ = true;
  }
  ~DeliverySlot() {
    if (!held_) return;
    std::lock_guard lock(core_.mutex);
    core_.deliveryBusy = false;
    core_.currentDownload.reset();
    --session_.deliveringThreads;
    core_.deliveryFree.notify_one();
    core_.changed.notify_all();
  }
  DeliverySlot(const DeliverySlot&) = delete;
  DeliverySlot& operator=(const DeliverySlot&) = delete;

  bool Held() const { return held_; }

 private:
  ServerCore& core_;
  Session& session_;
  bool held_ = false;
};

// Returns whether the connection can go on with its next request.
bool ServeDownload(ServerCore& core, Session& session, const std::shared_ptr<Connection>& c,
                   const Request& request) {
  const std::string data = DownloadDataText(c->ip, request.base, request.serial);
  auto delivery = std::make_shared<DownloadDelivery>();
  delivery->connection = c;
  delivery->base = request.base;
  bool delivered = false;
  {
    DeliverySlot slot(core, session);
    if (!slot.Held()) return false;
    {
      std::lock_guard lock(core.mutex);
      core.currentDownload = delivery;
    }
    delivered = core.delivery->Deliver("Download", data);
  }
  const char d = core.Delimiter();
  if (!delivered) {
    SendReply(*c, FormatErr(ReplyCode::kNotReady, "server not ready", d), core.DelayMs());
    return false;
  }
  if (!delivery->answered) {
    SendReply(*c, FormatErr(ReplyCode::kNoAnswer, "server sent nothing", d), core.DelayMs());
  }
  return !c->broken;
}

// Waits while the terminal's upload sits in the queue, watching the line: a terminal that hangs
// up or talks out of turn is dropped and its entry marked gone, so that the fetch meant for it
// fails instead of taking another terminal's data.
bool AwaitFetch(ServerCore& core, Session& session, const std::shared_ptr<PendingUpload>& upload) {
  Connection& c = *upload->connection;
  for (;;) {
    {
      std::unique_lock lock(core.mutex);
      using State = PendingUpload::State;
      core.changed.wait(lock, [&] { return upload->state != State::kFetching; });
      if (upload->state == State::kFinished) return !c.broken;
      if (upload->state == State::kGone) return false;
      if (session.stopping) {
        upload->state = State::kGone;
        return false;
      }
      // Still waiting. Checked under the lock: no fetch can start talking to the terminal now,
      // so anything readable is the terminal's own doing.
      if (c.channel.HasBuffered() || c.channel.socket().Peek() != IoStatus::kTimeout) {
        upload->state = State::kGone;
        c.broken = true;
        return false;
      }
    }
    c.channel.socket().WaitReadable(Deadline::AfterMs(kWatchSliceMs));
  }
}

bool ServeUpload(ServerCore& core, Session& session, const std::shared_ptr<Connection>& c,
                 const Request& request) {
  auto upload = std::make_shared<PendingUpload>();
  upload->connection = c;
  upload->session = &session;
  upload->dataKind = request.dataKind;
  upload->base = request.base;
  const std::string data =
      UploadDataText(c->ip, request.base, request.extra, request.dataKind, request.serial);
  bool delivered = false;
  {
    DeliverySlot slot(core, session);
    if (!slot.Held()) return false;
    {
      // Queued before the delivery: the receiver may fetch as soon as it has the request.
      std::lock_guard lock(core.mutex);
      core.uploads.push_back(upload);
      while (core.uploads.size() > kMaxPendingUploads) {
        auto& oldest = core.uploads.front();
        if (oldest->state == PendingUpload::State::kWaiting) {
          oldest->state = PendingUpload::State::kGone;
        }
        core.uploads.pop_front();
        core.changed.notify_all();
      }
    }
    delivered = core.delivery->Deliver("Upload", data);
  }
  if (!delivered) {
    {
      std::lock_guard lock(core.mutex);
      auto& q = core.uploads;
      q.erase(std::remove(q.begin(), q.end(), upload), q.end());
    }
    SendReply(*c, FormatErr(ReplyCode::kNotReady, "server not ready", core.Delimiter()),
              core.DelayMs());
    return false;
  }
  return AwaitFetch(core, session, upload);
}

void ServeRequests(ServerCore& core, Session& session, const std::shared_ptr<Connection>& c) {
  int badRequests = 0;
  while (!session.stopping) {
    std::string line;
    const int delay = core.DelayMs();
    const IoStatus status = c->channel.ReadLine(kMaxLineBytes, Deadline::AfterMs(delay), line);
    const char d = core.Delimiter();
    if (status == IoStatus::kTooLong) {
      SendReply(*c, FormatErr(ReplyCode::kLineTooLong, "line too long", d), delay);
      return;
    }
    if (status != IoStatus::kOk) return;
    const RequestParse parsed = ParseRequest(line, d);
    if (!parsed.ok) {
      SendReply(*c, FormatErr(parsed.error, parsed.errorText, d), delay);
      if (++badRequests >= kMaxBadRequests) return;
      continue;
    }
    badRequests = 0;
    const Request& request = parsed.request;
    bool goOn = false;
    switch (request.kind) {
      case RequestKind::kQuit:
        return;
      case RequestKind::kDownload:
        goOn = ServeDownload(core, session, c, request);
        break;
      case RequestKind::kUpload:
        goOn = ServeUpload(core, session, c, request);
        break;
    }
    if (!goOn) return;
  }
}

// Waits a while as an idle thread for a connection the accept thread hands over. Null when none
// came or the session stops; one that was handed over is still taken (and ends at once when
// the session stops).
std::shared_ptr<Connection> NextConnection(ServerCore& core, Session& session) {
  std::unique_lock lock(core.mutex);
  ++session.idleThreads;
  session.handedOver.wait_for(lock, std::chrono::milliseconds(kIdleThreadMs),
                              [&] { return !session.handOver.empty() || session.stopping; });
  --session.idleThreads;
  if (session.handOver.empty()) return nullptr;
  std::shared_ptr<Connection> next = std::move(session.handOver.front());
  session.handOver.pop_front();
  return next;
}

}  // namespace

int ServerCore::DelayMs() const {
  return std::clamp(delayMs.load(), kMinDelayMs, kMaxDelayMs);
}

char ServerCore::Delimiter() const {
  return EffectiveDelimiter(delimiterCode.load());
}

void RunConnection(std::shared_ptr<ServerCore> core, std::shared_ptr<Session> session,
                   std::shared_ptr<Connection> connection) {
  ThreadCount count(*core, *session);
  while (connection) {
    ServeRequests(*core, *session, connection);
    {
      std::lock_guard lock(core->mutex);
      auto& list = session->connections;
      list.erase(std::remove(list.begin(), list.end(), connection), list.end());
    }
    // Nobody else uses the socket any more: Detach only reaches connections in the list, a
    // queue entry left behind is marked gone (or finished) and a delivery has ended. The end of
    // the stream goes out first, after any last reply.
    connection->channel.socket().Shutdown();
    connection->channel.socket().Close();
    connection = NextConnection(*core, *session);
  }
}

void RunAcceptLoop(std::shared_ptr<ServerCore> core, std::shared_ptr<Session> session,
                   net::Socket listener) {
  ThreadCount count(*core, *session);
  // After a connection is taken, the next may already wait: no need to wait for it.
  bool taken = false;
  while (!session->stopping) {
    if (!taken && listener.WaitReadable(Deadline::AfterMs(kAcceptSliceMs)) != IoStatus::kOk) {
      continue;
    }
    net::Socket accepted = net::AcceptPending(listener);
    taken = accepted.Valid();
    if (!taken) continue;
    std::string ip = accepted.PeerAddress();
    auto connection =
        std::make_shared<Connection>(std::move(accepted), std::move(ip), &session->stopping);
    bool admitted = false;
    bool handedOver = false;
    {
      std::lock_guard lock(core->mutex);
      admitted = session->connections.size() < static_cast<size_t>(kMaxConnections);
      if (admitted) {
        session->connections.push_back(connection);
        handedOver = session->idleThreads > static_cast<int>(session->handOver.size());
        if (handedOver) {
          session->handOver.push_back(connection);
          session->handedOver.notify_one();
        } else {
          ++session->liveThreads;
        }
      }
    }
    if (!admitted) {
      SendReply(*connection, FormatErr(ReplyCode::kBusy, "too many terminals", core->Delimiter()),
                100);
      continue;
    }
    if (handedOver) continue;
    try {
      std::thread(RunConnection, core, session, connection).detach();
    } catch (const std::system_error&) {
      std::lock_guard lock(core->mutex);
      auto& list = session->connections;
      list.erase(std::remove(list.begin(), list.end(), connection), list.end());
      --session->liveThreads;
    }
  }
  // Closed before this thread counts as ended: Detach returns only then, and the port is free.
  listener.Close();
}

}  // namespace morvane::standin
