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
#include "standin/server/ConnectionRules.h"
#include "standin/server/ServerCore.h"

namespace morvane::standin {

namespace {

using net::Deadline;
using net::IoStatus;

constexpr int kAcceptSliceMs = 100;
constexpr int kWatchSliceMs = 200;
constexpr int kIdleThreadMs = 60000;
constexpr int kRefusalMs = 100;
constexpr int kAdmitWaitMs = 1000;
// The served connections, as many waiting for a place, and the acceptors.
constexpr int kMaxThreads = 2 * kMaxConnections + 2;

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

void SayStopping(Connection& c, const ServerCore& core) {
  SendReply(c, FormatErr(ReplyCode::kNotReady, "server stopping", core.Delimiter()),
            core.DelayMs());
}

// Why a waiting upload was dropped, told to its terminal (a terminal that hung up hears nothing).
void ReplyGone(Connection& c, const ServerCore& core, ComponentError reason) {
  const char d = core.Delimiter();
  switch (reason) {
    case ComponentError::kStopped:
      SayStopping(c, core);
      break;
    case ComponentError::kTerminalProtocol:
      SendReply(c, FormatErr(ReplyCode::kOutOfTurn, "spoke out of turn", d), core.DelayMs());
      break;
    case ComponentError::kNoRequest:
      SendReply(c, FormatErr(ReplyCode::kNoAnswer, "server fetched nothing", d), core.DelayMs());
      break;
    default:
      break;
  }
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
    if (!slot.Held()) {
      SayStopping(*c, core);
      return false;
    }
    {
      std::lock_guard lock(core.mutex);
      core.currentDownload = delivery;
    }
    delivered = core.delivery->Deliver("Download", data);
  }
  const char d = core.Delimiter();
  if (!delivered) {
    if (session.stopping) {
      SayStopping(*c, core);
    } else {
      SendReply(*c, FormatErr(ReplyCode::kNotReady, "server not ready", d), core.DelayMs());
    }
    return false;
  }
  if (!delivery->answered) {
    switch (CheckTurn(*c)) {
      case Turn::kSpoke:
        DropWith(*c, ReplyCode::kOutOfTurn, "spoke out of turn", d, core.DelayMs());
        break;
      case Turn::kGone:
        c->broken = true;
        break;
      case Turn::kSilent:
        SendReply(*c, FormatErr(ReplyCode::kNoAnswer, "server sent nothing", d), core.DelayMs());
        break;
    }
  }
  return !c->broken;
}

// Waits while the terminal's upload sits in the queue, watching the line: a terminal that hangs
// up or talks out of turn is dropped and its entry marked gone, so that the fetch meant for it
// fails instead of taking another terminal's data.
bool AwaitFetch(ServerCore& core, Session& session, const std::shared_ptr<PendingUpload>& upload) {
  Connection& c = *upload->connection;
  using State = PendingUpload::State;
  for (;;) {
    ComponentError gone = ComponentError::kNone;
    {
      std::unique_lock lock(core.mutex);
      core.changed.wait(lock, [&] { return upload->state != State::kFetching; });
      if (upload->state == State::kFinished) return !c.broken;
      if (upload->state == State::kGone) {
        gone = upload->goneReason;
      } else if (session.stopping) {
        gone = ComponentError::kStopped;
      } else {
        // Checked under the lock: no fetch can start talking to the terminal now, so anything
        // readable is the terminal's own doing.
        const Turn turn = CheckTurn(c);
        if (turn == Turn::kSpoke) gone = ComponentError::kTerminalProtocol;
        if (turn == Turn::kGone) gone = ComponentError::kTerminalGone;
      }
      if (gone != ComponentError::kNone) {
        upload->state = State::kGone;
        upload->goneReason = gone;
      }
    }
    if (gone != ComponentError::kNone) {
      ReplyGone(c, core, gone);
      c.broken = true;
      return false;
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
    if (!slot.Held()) {
      SayStopping(*c, core);
      return false;
    }
    {
      // Queued before the delivery: the receiver may fetch as soon as it has the request.
      std::lock_guard lock(core.mutex);
      core.uploads.push_back(upload);
      while (core.uploads.size() > kMaxPendingUploads) {
        auto& oldest = core.uploads.front();
        if (oldest->state == PendingUpload::State::kWaiting) {
          oldest->state = PendingUpload::State::kGone;
          oldest->goneReason = ComponentError::kNoRequest;
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
    if (session.stopping) {
      SayStopping(*c, core);
    } else {
      SendReply(*c, FormatErr(ReplyCode::kNotReady, "server not ready", core.Delimiter()),
                core.DelayMs());
    }
    return false;
  }
  return AwaitFetch(core, session, upload);
}

void ServeRequests(ServerCore& core, Session& session, const std::shared_ptr<Connection>& c) {
  int badRequests = 0;
  for (;;) {
    if (session.stopping) {
      SayStopping(*c, core);
      return;
    }
    std::string line;
    const int delay = core.DelayMs();
    const IoStatus status = c->channel.ReadLine(kMaxLineBytes, Deadline::AfterMs(delay), line);
    const char d = core.Delimiter();
    switch (status) {
      case IoStatus::kOk:
        break;
      case IoStatus::kTooLong:
        SendReply(*c, FormatErr(ReplyCode::kLineTooLong, "line too long", d), delay);
        return;
      case IoStatus::kTimeout:
        SendReply(*c, FormatErr(ReplyCode::kTimedOut, "no request within Delay", d), delay);
        return;
      case IoStatus::kStopped:
        SayStopping(*c, core);
        return;
      default:
        return;  // the terminal hung up
    }
    const RequestParse parsed = ParseRequest(line, d);
    if (!parsed.ok) {
      SendReply(*c, FormatErr(parsed.error, parsed.errorText, d), delay);
      if (++badRequests >= kMaxBadRequests) return;
      continue;
    }
    badRequests = 0;
    const Request& request = parsed.request;
    if (request.kind == RequestKind::kQuit) return;
    {
      // A request: it counts again, whatever the acceptor made of the bytes behind it.
      std::lock_guard lock(core.mutex);
      c->ended = false;
    }
    const bool goOn = request.kind == RequestKind::kDownload
                          ? ServeDownload(core, session, c, request)
                          : ServeUpload(core, session, c, request);
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

// Connections that count against the limit: a terminal that has said QUIT or hung up no longer
// does, even while the window is still busy with its last request.
size_t CountedConnections(const Session& session) {
  return static_cast<size_t>(std::count_if(session.connections.begin(), session.connections.end(),
                                           [](const auto& c) { return !c->ended; }));
}

// Looks at each connection for a terminal that has ended it. A system call each: only when the
// limit is reached.
void NoticeEndedTerminals(Session& session) {
  for (const auto& c : session.connections) {
    if (!c->ended && !c->readingPayload && TerminalHasEnded(*c)) c->ended = true;
  }
}

void Refuse(Connection& c, const ServerCore& core, const Session& session) {
  if (session.stopping) {
    SayStopping(c, core);
  } else {
    SendReply(c, FormatErr(ReplyCode::kBusy, "too many terminals", core.Delimiter()), kRefusalMs);
  }
}

// A terminal that has just finished often connects again before the component has read the last
// of its old connection: the new one waits a moment for a place before it is refused. It waits on
// its own thread, so that the acceptor goes on taking connections meanwhile.
bool TakePlace(ServerCore& core, Session& session, const std::shared_ptr<Connection>& c) {
  {
    std::unique_lock lock(core.mutex);
    const auto full = [&] {
      return CountedConnections(session) >= static_cast<size_t>(kMaxConnections);
    };
    if (full()) NoticeEndedTerminals(session);
    const bool placed = core.changed.wait_for(lock, std::chrono::milliseconds(kAdmitWaitMs),
                                              [&] { return session.stopping || !full(); });
    if (placed && !session.stopping) {
      session.connections.push_back(c);
      return true;
    }
  }
  Refuse(*c, core, session);
  return false;
}

void Admit(const std::shared_ptr<ServerCore>& core, const std::shared_ptr<Session>& session,
           net::Socket accepted) {
  std::string ip = accepted.PeerAddress();
  auto connection =
      std::make_shared<Connection>(std::move(accepted), std::move(ip), &session->stopping);
  bool started = false;
  {
    std::lock_guard lock(core->mutex);
    if (session->idleThreads > static_cast<int>(session->handOver.size())) {
      session->handOver.push_back(connection);
      session->handedOver.notify_one();
      return;
    }
    // Threads waiting for a place are bounded too: beyond them a terminal is refused at once.
    started = session->liveThreads < kMaxThreads;
    if (started) ++session->liveThreads;
  }
  if (started) {
    try {
      std::thread(RunConnection, core, session, connection).detach();
      return;
    } catch (const std::system_error&) {
      std::lock_guard lock(core->mutex);
      --session->liveThreads;
    }
  }
  Refuse(*connection, *core, *session);
  connection->channel.socket().CloseGently();
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
    if (TakePlace(*core, *session, connection)) {
      ServeRequests(*core, *session, connection);
      std::lock_guard lock(core->mutex);
      auto& list = session->connections;
      list.erase(std::remove(list.begin(), list.end(), connection), list.end());
      core->changed.notify_all();  // a place is free
    }
    // Nobody else uses the socket any more: the acceptor only looks at connections in the list,
    // a queue entry left behind is marked gone (or finished) and a delivery has ended.
    connection->channel.socket().CloseGently();
    connection = NextConnection(*core, *session);
  }
}

void RunAcceptLoop(std::shared_ptr<ServerCore> core, std::shared_ptr<Session> session,
                   std::shared_ptr<Acceptor> acceptor, net::Socket listener) {
  ThreadCount count(*core, *session);
  // After a connection is taken, the next may already wait: no need to wait for it.
  bool taken = false;
  while (!session->stopping && !acceptor->stop) {
    if (!taken && listener.WaitReadable(Deadline::AfterMs(kAcceptSliceMs)) != IoStatus::kOk) {
      continue;
    }
    net::Socket accepted = net::AcceptPending(listener);
    taken = accepted.Valid();
    if (taken) Admit(core, session, std::move(accepted));
  }
  // Terminals already queued on this port: served when the component moves to another port, told
  // why when it stops.
  for (net::Socket queued = net::AcceptPending(listener); queued.Valid();
       queued = net::AcceptPending(listener)) {
    if (!session->stopping) {
      Admit(core, session, std::move(queued));
      continue;
    }
    Connection refused(std::move(queued), std::string(), nullptr);
    SayStopping(refused, *core);
    refused.channel.socket().CloseGently();
  }
  // Closed before this thread counts as ended: Detach returns only then, and the port is free.
  listener.Close();
  std::lock_guard lock(core->mutex);
  acceptor->ended = true;
  core->changed.notify_all();
}

}  // namespace morvane::standin
