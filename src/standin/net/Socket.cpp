#include "standin/net/Socket.h"

#include <cstring>
#include <mutex>
#include <utility>

#ifdef _WIN32
#include <winsock2.h>
#include <ws2tcpip.h>
#else
#include <arpa/inet.h>
#include <fcntl.h>
#include <netdb.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>
#include <cerrno>
#include <csignal>
#endif

namespace morvane::standin::net {

namespace {

#ifdef _WIN32
using Native = SOCKET;
constexpr Native kInvalid = INVALID_SOCKET;
Native Raw(NativeSocket s) {
  return static_cast<Native>(s);
}
int LastError() {
  return ::WSAGetLastError();
}
bool WouldBlock(int e) {
  return e == WSAEWOULDBLOCK || e == WSAEINPROGRESS;
}
bool Interrupted(int) {
  return false;
}
void CloseRaw(Native s) {
  ::closesocket(s);
}
bool MakeNonBlocking(Native s) {
  u_long on = 1;
  return ::ioctlsocket(s, FIONBIO, &on) == 0;
}
constexpr int kSendFlags = 0;
// The system's own words for the error, in the ANSI code page like every text of the component.
std::string ErrorText(int e) {
  char text[512];
  DWORD length = ::FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                                  nullptr, static_cast<DWORD>(e), 0, text, sizeof text, nullptr);
  while (length > 0 && (text[length - 1] == '\r' || text[length - 1] == '\n' ||
                        text[length - 1] == ' ' || text[length - 1] == '.')) {
    --length;
  }
  if (length == 0) return "error " + std::to_string(e);
  return std::string(text, length);
}
#else
using Native = int;
constexpr Native kInvalid = -1;
Native Raw(NativeSocket s) {
  return s;
}
int LastError() {
  return errno;
}
bool WouldBlock(int e) {
  return e == EWOULDBLOCK || e == EAGAIN || e == EINPROGRESS;
}
bool Interrupted(int e) {
  return e == EINTR;
}
void CloseRaw(Native s) {
  ::close(s);
}
bool MakeNonBlocking(Native s) {
  const int flags = ::fcntl(s, F_GETFL, 0);
  return flags >= 0 && ::fcntl(s, F_SETFL, flags | O_NONBLOCK) == 0;
}
constexpr int kSendFlags = MSG_NOSIGNAL;
std::string ErrorText(int e) {
  return std::strerror(e);
}
#endif

// Waits until the socket is readable (or writable); kOk, kTimeout or kFailed.
IoStatus WaitFor(Native s, bool forWrite, Deadline deadline) {
  for (;;) {
    const int ms = deadline.RemainingMs();
#ifdef _WIN32
    fd_set set;
    FD_ZERO(&set);
    FD_SET(s, &set);
    fd_set errors;
    FD_ZERO(&errors);
    FD_SET(s, &errors);
    timeval tv{ms / 1000, (ms % 1000) * 1000};
    const int n = ::select(0, forWrite ? nullptr : &set, forWrite ? &set : nullptr, &errors, &tv);
    if (n > 0) return IoStatus::kOk;  // an error condition shows up on the next call
#else
    pollfd p{s, static_cast<short>(forWrite ? POLLOUT : POLLIN), 0};
    const int n = ::poll(&p, 1, ms);
    if (n > 0) return IoStatus::kOk;
#endif
    if (n < 0 && !Interrupted(LastError())) return IoStatus::kFailed;
    if (n == 0 && ms == 0) return IoStatus::kTimeout;
    if (n == 0 && deadline.Expired()) return IoStatus::kTimeout;
  }
}

void SetNoDelay(Native s) {
  int on = 1;
  ::setsockopt(s, IPPROTO_TCP, TCP_NODELAY, reinterpret_cast<const char*>(&on), sizeof on);
}

}  // namespace

const char* Describe(IoStatus status) {
  switch (status) {
    case IoStatus::kOk:
      return "ok";
    case IoStatus::kTimeout:
      return "timed out";
    case IoStatus::kClosed:
      return "connection closed";
    case IoStatus::kFailed:
      return "connection failed";
    case IoStatus::kStopped:
      return "stopped";
    case IoStatus::kTooLong:
      return "line too long";
  }
  return "?";
}

bool StartNetworking() {
  static bool started = [] {
#ifdef _WIN32
    WSADATA data;
    return ::WSAStartup(MAKEWORD(2, 2), &data) == 0;
#else
    ::signal(SIGPIPE, SIG_IGN);
    return true;
#endif
  }();
  return started;
}

Socket::Socket() noexcept : s_(static_cast<NativeSocket>(kInvalid)) {}

Socket::Socket(Socket&& other) noexcept
    : s_(std::exchange(other.s_, static_cast<NativeSocket>(kInvalid))) {}

Socket& Socket::operator=(Socket&& other) noexcept {
  if (this != &other) {
    Close();
    s_ = std::exchange(other.s_, static_cast<NativeSocket>(kInvalid));
  }
  return *this;
}

bool Socket::Valid() const noexcept {
  return Raw(s_) != kInvalid;
}

void Socket::Close() noexcept {
  if (Valid()) CloseRaw(Raw(s_));
  s_ = static_cast<NativeSocket>(kInvalid);
}

IoStatus Socket::WaitReadable(Deadline deadline) const {
  return WaitFor(Raw(s_), false, deadline);
}

IoStatus Socket::WaitWritable(Deadline deadline) const {
  return WaitFor(Raw(s_), true, deadline);
}

IoStatus Socket::SendAll(const void* data, size_t size, Deadline deadline) const {
  const char* p = static_cast<const char*>(data);
  while (size > 0) {
    const int chunk = static_cast<int>(std::min<size_t>(size, 1 << 20));
    const auto sent = ::send(Raw(s_), p, chunk, kSendFlags);
    if (sent > 0) {
      p += sent;
      size -= static_cast<size_t>(sent);
      continue;
    }
    const int e = LastError();
    if (sent < 0 && Interrupted(e)) continue;
    if (sent < 0 && WouldBlock(e)) {
      const IoStatus w = WaitWritable(deadline);
      if (w != IoStatus::kOk) return w;
      continue;
    }
    return IoStatus::kFailed;
  }
  return IoStatus::kOk;
}

IoStatus Socket::SendSome(const void* data, size_t size, size_t& sent, Deadline deadline) const {
  sent = 0;
  for (;;) {
    const int chunk = static_cast<int>(std::min<size_t>(size, 1 << 20));
    const auto n = ::send(Raw(s_), static_cast<const char*>(data), chunk, kSendFlags);
    if (n > 0) {
      sent = static_cast<size_t>(n);
      return IoStatus::kOk;
    }
    const int e = LastError();
    if (n < 0 && Interrupted(e)) continue;
    if (n < 0 && WouldBlock(e)) {
      const IoStatus w = WaitWritable(deadline);
      if (w != IoStatus::kOk) return w;
      continue;
    }
    return IoStatus::kFailed;
  }
}

IoStatus Socket::ReceiveSome(void* buffer, size_t capacity, size_t& received,
                             Deadline deadline) const {
  received = 0;
  for (;;) {
    const int cap = static_cast<int>(std::min<size_t>(capacity, 1 << 20));
    const auto got = ::recv(Raw(s_), static_cast<char*>(buffer), cap, 0);
    if (got > 0) {
      received = static_cast<size_t>(got);
      return IoStatus::kOk;
    }
    if (got == 0) return IoStatus::kClosed;
    const int e = LastError();
    if (Interrupted(e)) continue;
    if (!WouldBlock(e)) return IoStatus::kFailed;
    const IoStatus w = WaitReadable(deadline);
    if (w != IoStatus::kOk) return w;
  }
}

IoStatus Socket::Peek() const {
  char byte;
  const auto got = ::recv(Raw(s_), &byte, 1, MSG_PEEK);
  if (got > 0) return IoStatus::kOk;
  if (got == 0) return IoStatus::kClosed;
  return WouldBlock(LastError()) ? IoStatus::kTimeout : IoStatus::kFailed;
}

int Socket::PeekBytes(char* buffer, int capacity) const {
  const auto got = ::recv(Raw(s_), buffer, capacity, MSG_PEEK);
  return got >= 0 ? static_cast<int>(got) : -1;
}

void Socket::CloseGently() noexcept {
  if (!Valid()) return;
#ifdef _WIN32
  ::shutdown(Raw(s_), SD_SEND);
#else
  ::shutdown(Raw(s_), SHUT_WR);
#endif
  char sink[4096];
  for (int i = 0; i < 16 && ::recv(Raw(s_), sink, sizeof sink, 0) > 0; ++i) {
  }
  Close();
}

std::string Socket::PeerAddress() const {
  sockaddr_in address{};
  socklen_t length = sizeof address;
  if (::getpeername(Raw(s_), reinterpret_cast<sockaddr*>(&address), &length) != 0 ||
      address.sin_family != AF_INET) {
    return std::string();
  }
  const auto* b = reinterpret_cast<const unsigned char*>(&address.sin_addr);
  return std::to_string(b[0]) + "." + std::to_string(b[1]) + "." + std::to_string(b[2]) + "." +
         std::to_string(b[3]);
}

int Socket::LocalPort() const {
  sockaddr_in address{};
  socklen_t length = sizeof address;
  if (::getsockname(Raw(s_), reinterpret_cast<sockaddr*>(&address), &length) != 0) return 0;
  return ntohs(address.sin_port);
}

Socket ListenTcp(int port, int backlog, std::string& error) {
  if (!StartNetworking()) {
    error = "networking unavailable";
    return Socket();
  }
  if (port < 0 || port > 65535) {
    error = "port out of range";
    return Socket();
  }
  Native s = ::socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
  if (s == kInvalid) {
    error = ErrorText(LastError());
    return Socket();
  }
  Socket owner(static_cast<NativeSocket>(s));
#ifdef _WIN32
  // Nobody else may take over the port while we listen on it.
  int exclusive = 1;
  ::setsockopt(s, SOL_SOCKET, SO_EXCLUSIVEADDRUSE, reinterpret_cast<const char*>(&exclusive),
               sizeof exclusive);
#else
  // A restart must not wait for old connections to leave TIME_WAIT.
  int reuse = 1;
  ::setsockopt(s, SOL_SOCKET, SO_REUSEADDR, &reuse, sizeof reuse);
#endif
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_ANY);
  address.sin_port = htons(static_cast<uint16_t>(port));
  if (::bind(s, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0 ||
      ::listen(s, backlog == kLongestBacklog ? SOMAXCONN : backlog) != 0 || !MakeNonBlocking(s)) {
    error = ErrorText(LastError());
    return Socket();
  }
  return owner;
}

Socket AcceptPending(const Socket& listener) {
  for (;;) {
    Native s = ::accept(Raw(listener.Native()), nullptr, nullptr);
    if (s == kInvalid) {
      if (Interrupted(LastError())) continue;
      return Socket();
    }
    Socket owner(static_cast<NativeSocket>(s));
    if (!MakeNonBlocking(s)) continue;
    SetNoDelay(s);
    return owner;
  }
}

Socket ConnectTcp(const std::string& host, int port, Deadline deadline, std::string& error) {
  if (!StartNetworking()) {
    error = "networking unavailable";
    return Socket();
  }
  addrinfo hints{};
  hints.ai_family = AF_INET;
  hints.ai_socktype = SOCK_STREAM;
  addrinfo* found = nullptr;
  const std::string service = std::to_string(port);
  if (::getaddrinfo(host.c_str(), service.c_str(), &hints, &found) != 0 || !found) {
    error = "cannot resolve " + host;
    return Socket();
  }
  sockaddr_in address{};
  std::memcpy(&address, found->ai_addr, sizeof address);
  ::freeaddrinfo(found);

  Native s = ::socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
  if (s == kInvalid) {
    error = ErrorText(LastError());
    return Socket();
  }
  Socket owner(static_cast<NativeSocket>(s));
  MakeNonBlocking(s);
  SetNoDelay(s);
  if (::connect(s, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0) {
    const int e = LastError();
    if (!WouldBlock(e)) {
      error = ErrorText(e);
      return Socket();
    }
    if (owner.WaitWritable(deadline) != IoStatus::kOk) {
      error = "connect timed out";
      return Socket();
    }
    int soError = 0;
    socklen_t length = sizeof soError;
    ::getsockopt(s, SOL_SOCKET, SO_ERROR, reinterpret_cast<char*>(&soError), &length);
    if (soError != 0) {
      error = ErrorText(soError);
      return Socket();
    }
  }
  return owner;
}

}  // namespace morvane::standin::net
