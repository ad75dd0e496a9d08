#pragma once
// The state the component's threads share: the connections of each listening session, the one
// request being delivered, the uploads waiting for their fetch. One mutex guards all of it and
// is never held across a blocking call.
#include <atomic>
#include <condition_variable>
#include <deque>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "standin/net/Channel.h"
#include "standin/protocol/ComponentError.h"
#include "standin/server/FileStore.h"
#include "standin/server/RequestDelivery.h"

namespace morvane::standin {

struct Session;

struct Connection {
  Connection(net::Socket socket, std::string peer, const std::atomic<bool>* stop)
      : channel(std::move(socket), stop), ip(std::move(peer)) {}
  // Used by the connection's thread, and by the caller of SendFile/GetFile while that thread is
  // parked (blocked in the delivery, or waiting for its fetch): never by both at once.
  net::Channel channel;
  const std::string ip;
  // Out of step or dead: closed after the current exchange.
  std::atomic<bool> broken{false};
  // Guarded by ServerCore::mutex.
  bool ended = false;           // the terminal said QUIT or hung up: it counts no more
  bool readingPayload = false;  // its bytes are upload data, whatever they look like
};

// The download request whose delivery is in progress; SendFile answers it.
struct DownloadDelivery {
  std::shared_ptr<Connection> connection;
  int base = 0;
  std::atomic<bool> answered{false};
};

struct PendingUpload {
  enum class State { kWaiting, kFetching, kFinished, kGone };
  std::shared_ptr<Connection> connection;
  const Session* session = nullptr;
  int dataKind = 0;
  int base = 0;
  State state = State::kWaiting;
  // kGone: why (the terminal hung up or spoke out of turn, the server stopped, the queue forgot
  // it).
  ComponentError goneReason = ComponentError::kTerminalGone;
};

// One listening socket's thread. A new "Port" gets a new one; the old one lets its port go.
struct Acceptor {
  std::atomic<bool> stop{false};
  bool ended = false;  // guarded by ServerCore::mutex: the port is closed
};

// One Attach .. Detach.
struct Session {
  std::atomic<bool> stopping{false};
  // Guarded by ServerCore::mutex.
  std::vector<std::shared_ptr<Connection>> connections;
  int liveThreads = 0;        // the accept thread and the connection threads
  int deliveringThreads = 0;  // of those, the ones inside IRequestDelivery::Deliver
  // Connection threads that have finished a connection wait a while for the next one: under
  // wine a new thread costs more than a whole small exchange.
  int idleThreads = 0;
  std::deque<std::shared_ptr<Connection>> handOver;  // accepted, for an idle thread to take
  std::condition_variable handedOver;                // with ServerCore::mutex
};

struct ServerCore {
  ServerCore(std::shared_ptr<IRequestDelivery> d, std::shared_ptr<IFileStore> f)
      : delivery(std::move(d)), files(std::move(f)) {}

  const std::shared_ptr<IRequestDelivery> delivery;
  const std::shared_ptr<IFileStore> files;
  std::atomic<int> delayMs;
  std::atomic<int> delimiterCode;

  std::mutex mutex;
  std::condition_variable changed;
  bool deliveryBusy = false;  // one request at a time goes to the receiver
  // Told when the delivery is free, one waiter at a time: waking every waiting connection for
  // each delivery costs a burst of terminals more than the deliveries themselves.
  std::condition_variable deliveryFree;
  std::shared_ptr<DownloadDelivery> currentDownload;
  std::deque<std::shared_ptr<PendingUpload>> uploads;
  // Only for the transfers (Transfers.cpp), on the caller's thread: not guarded.
  std::vector<char> transferBuffer;

  int DelayMs() const;  // clamped to the supported range
  char Delimiter() const;
};

// The threads' bodies (ServerThreads.cpp).
void RunAcceptLoop(std::shared_ptr<ServerCore> core, std::shared_ptr<Session> session,
                   std::shared_ptr<Acceptor> acceptor, net::Socket listener);
void RunConnection(std::shared_ptr<ServerCore> core, std::shared_ptr<Session> session,
                   std::shared_ptr<Connection> connection);

}  // namespace morvane::standin
