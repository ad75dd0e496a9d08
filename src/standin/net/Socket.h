#pragma once
// A TCP socket owner over Winsock or POSIX sockets. Every socket is non-blocking; every wait
// takes a deadline, so no call here can block for ever.
#include <cstddef>
#include <cstdint>
#include <string>

#include "standin/net/Deadline.h"

namespace morvane::standin::net {

#ifdef _WIN32
using NativeSocket = std::uintptr_t;  // SOCKET
#else
using NativeSocket = int;
#endif

enum class IoStatus {
  kOk,
  kTimeout,  // the deadline passed
  kClosed,   // the peer ended the stream
  kFailed,   // the connection broke
  kStopped,  // the caller's stop flag was raised
  kTooLong,  // a line went past its limit
};

const char* Describe(IoStatus status);

// Winsock needs starting once per process; elsewhere this only makes broken pipes harmless.
bool StartNetworking();

class Socket {
 public:
  Socket() noexcept;
  explicit Socket(NativeSocket s) noexcept : s_(s) {}
  ~Socket() { Close(); }

  Socket(const Socket&) = delete;
  Socket& operator=(const Socket&) = delete;
  Socket(Socket&& other) noexcept;
  Socket& operator=(Socket&& other) noexcept;

  bool Valid() const noexcept;
  NativeSocket Native() const noexcept { return s_; }
  void Close() noexcept;

  IoStatus WaitReadable(Deadline deadline) const;
  IoStatus WaitWritable(Deadline deadline) const;
  IoStatus SendAll(const void* data, size_t size, Deadline deadline) const;
  // Waits until some of data fits, then sends what fits (at least one byte).
  IoStatus SendSome(const void* data, size_t size, size_t& sent, Deadline deadline) const;
  // Waits for at least one byte, then takes what is there (up to capacity).
  IoStatus ReceiveSome(void* buffer, size_t capacity, size_t& received, Deadline deadline) const;
  // Looks without waiting or taking: kOk when bytes wait, kClosed at the end of the stream,
  // kTimeout when there is nothing yet, kFailed when the connection broke.
  IoStatus Peek() const;
  // Copies up to capacity waiting bytes without taking them or waiting: their count, 0 at the end
  // of the stream, -1 when nothing waits or the connection broke.
  int PeekBytes(char* buffer, int capacity) const;
  // Ends the stream after what was sent, takes what the peer has sent already, then closes: an
  // unread byte would turn the close into a reset that can cost the peer our last line.
  void CloseGently() noexcept;

  // The peer's IPv4 address as dotted text, empty when unknown.
  std::string PeerAddress() const;
  int LocalPort() const;

 private:
  NativeSocket s_;
};

// For ListenTcp: the longest queue of waiting connections the system allows.
inline constexpr int kLongestBacklog = 0;

// Listens on every interface. port 0 picks a free port (see LocalPort). Invalid on failure, with
// the system's reason in error.
Socket ListenTcp(int port, int backlog, std::string& error);
// Takes one pending connection from a listener without waiting; invalid when there is none.
Socket AcceptPending(const Socket& listener);
Socket ConnectTcp(const std::string& host, int port, Deadline deadline, std::string& error);

}  // namespace morvane::standin::net
