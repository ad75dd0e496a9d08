#include "standin/server/TerminalServer.h"

#include <chrono>
#include <system_error>
#include <thread>

#include "standin/net/Socket.h"
#include "standin/protocol/ProtocolLimits.h"
#include "standin/server/ServerCore.h"
#include "standin/server/Transfers.h"

namespace morvane::standin {

TerminalServer::TerminalServer(std::shared_ptr<IRequestDelivery> delivery,
                               std::shared_ptr<IFileStore> files)
    : core_(std::make_shared<ServerCore>(std::move(delivery), std::move(files))) {
  core_->delayMs = kDefaultDelayMs;
  core_->delimiterCode = kDefaultDelimiter;
}

TerminalServer::~TerminalServer() {
  Detach();
}

void TerminalServer::SetDelay(int milliseconds) {
  core_->delayMs = milliseconds;
}

void TerminalServer::SetDelimiter(int characterCode) {
  core_->delimiterCode = characterCode;
}

bool TerminalServer::Listening() const {
  return session_ != nullptr;
}

bool TerminalServer::Attach(int port, std::string& error) {
  if (session_ && (port == 0 || port == port_)) return true;
  if (port < 0 || port > 65535) {
    error = "port " + std::to_string(port) + " out of range";
    return false;
  }
  // Listening already goes on where it is until the new port is open. The system's longest
  // queue: a burst of terminals beyond it would have its connections dropped unanswered and
  // retried by the terminals a second later.
  net::Socket listener = net::ListenTcp(port, net::kLongestBacklog, error);
  if (!listener.Valid()) return false;
  const int boundPort = listener.LocalPort();
  std::shared_ptr<Session> session = session_ ? session_ : std::make_shared<Session>();
  auto acceptor = std::make_shared<Acceptor>();
  {
    std::lock_guard lock(core_->mutex);
    ++session->liveThreads;
  }
  try {
    std::thread(RunAcceptLoop, core_, session, acceptor, std::move(listener)).detach();
  } catch (const std::system_error& e) {
    std::lock_guard lock(core_->mutex);
    --session->liveThreads;
    error = e.what();
    return false;
  }
  if (acceptor_) StopAccepting(*acceptor_);
  session_ = std::move(session);
  acceptor_ = std::move(acceptor);
  port_ = boundPort;
  return true;
}

void TerminalServer::StopAccepting(Acceptor& acceptor) {
  std::unique_lock lock(core_->mutex);
  acceptor.stop = true;
  // Its port is free once it has let go: an Attach back to that port must find it so.
  core_->changed.wait_for(lock, std::chrono::milliseconds(kDefaultStopWaitMs),
                          [&] { return acceptor.ended; });
}

void TerminalServer::Detach(int waitMs) {
  if (!session_) return;
  std::shared_ptr<Session> session = std::move(session_);
  acceptor_.reset();
  port_ = 0;
  std::unique_lock lock(core_->mutex);
  // Every thread sees the flag within a slice of its wait and tells its terminal before it
  // closes; a terminal waiting for its fetch is told by its own thread too.
  session->stopping = true;
  for (const auto& u : core_->uploads) {
    if (u->session == session.get() && u->state == PendingUpload::State::kWaiting) {
      u->state = PendingUpload::State::kGone;
      u->goneReason = ComponentError::kStopped;
    }
  }
  core_->changed.notify_all();
  core_->deliveryFree.notify_all();
  session->handedOver.notify_all();
  core_->changed.wait_for(lock, std::chrono::milliseconds(waitMs),
                          [&] { return session->liveThreads == session->deliveringThreads; });
}

CallOutcome TerminalServer::SendFile(const std::wstring& path, int base) {
  return SendFileToTerminal(*core_, path, base);
}

CallOutcome TerminalServer::GetFile(const std::wstring& path, int dataKind, int base, int mode,
                                    bool clearAfter) {
  return FetchUploadedData(*core_, path, dataKind, base, mode, clearAfter);
}

size_t TerminalServer::PendingUploads() const {
  std::lock_guard lock(core_->mutex);
  return core_->uploads.size();
}

int TerminalServer::Connections() const {
  std::lock_guard lock(core_->mutex);
  return session_ ? static_cast<int>(session_->connections.size()) : 0;
}

}  // namespace morvane::standin
