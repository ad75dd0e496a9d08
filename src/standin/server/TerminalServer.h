#pragma once
// The component's terminal side: it listens for terminals, hands their requests to the receiver
// one at a time, and runs the transfers the receiver asks for. Attach, Detach, SendFile and
// GetFile are called from one thread (the component's apartment); the connections run on
// threads of their own.
//
// Shutting down never waits for a thread that is handing a request to the receiver: that thread
// may be waiting for the very thread that shuts down. Such threads end by themselves once their
// delivery returns; they keep the shared state alive until then.
#include <memory>
#include <string>

#include "standin/server/CallOutcome.h"
#include "standin/server/FileStore.h"
#include "standin/server/RequestDelivery.h"

namespace morvane::standin {

struct Acceptor;
struct ServerCore;
struct Session;

class TerminalServer {
 public:
  TerminalServer(std::shared_ptr<IRequestDelivery> delivery, std::shared_ptr<IFileStore> files);
  ~TerminalServer();  // Detach
  TerminalServer(const TerminalServer&) = delete;
  TerminalServer& operator=(const TerminalServer&) = delete;

  // Live settings: they apply to the next wait and the next line.
  void SetDelay(int milliseconds);
  void SetDelimiter(int characterCode);

  // Listens on port on every interface (0: any free port, see ListeningPort). Listening already
  // on that port (or port 0): true, nothing changes. Listening on another port: the new port is
  // opened first, then the old one closed; connected terminals stay. False, with the reason,
  // when the port cannot be opened; listening, if any, goes on where it was.
  bool Attach(int port, std::string& error);
  bool Listening() const;
  int ListeningPort() const { return port_; }

  // Stops listening and ends every connection, each terminal told so. Waits at most waitMs for the
  // component's threads, never for those inside a delivery.
  void Detach(int waitMs = kDefaultStopWaitMs);

  // The file to the terminal whose download request is being delivered right now.
  CallOutcome SendFile(const std::wstring& path, int base);
  // The data of the oldest waiting upload with this kind and base into path: mode 0 appends it
  // to the file, mode 1 makes the file hold exactly it. clearAfter tells the terminal to delete
  // what it sent once it is stored.
  CallOutcome GetFile(const std::wstring& path, int dataKind, int base, int mode, bool clearAfter);

  // For tests and diagnostics.
  size_t PendingUploads() const;
  int Connections() const;

  static constexpr int kDefaultStopWaitMs = 2000;

 private:
  void StopAccepting(Acceptor& acceptor);

  std::shared_ptr<ServerCore> core_;
  std::shared_ptr<Session> session_;
  std::shared_ptr<Acceptor> acceptor_;
  int port_ = 0;
};

}  // namespace morvane::standin
