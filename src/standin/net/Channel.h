#pragma once
// One connection as the protocol sees it: lines and length-framed bytes over a socket, with a
// receive buffer in between. Waits are cut into short slices so that a raised stop flag ends
// them promptly even where closing a socket does not wake a waiting thread.
#include <atomic>
#include <string>
#include <string_view>

#include "standin/net/Socket.h"
#include "standin/protocol/LineBuffer.h"

namespace morvane::standin::net {

class Channel {
 public:
  explicit Channel(Socket socket, const std::atomic<bool>* stop = nullptr)
      : socket_(std::move(socket)), stop_(stop) {}

  const Socket& socket() const { return socket_; }
  Socket& socket() { return socket_; }

  // The next line, without its line end. kTooLong when maxBytes arrive without a line end.
  IoStatus ReadLine(size_t maxBytes, Deadline deadline, std::string& line);
  // Up to capacity bytes: buffered bytes first, else whatever the socket has (waiting for one).
  IoStatus ReadSome(char* buffer, size_t capacity, size_t& received, Deadline deadline);
  IoStatus Write(std::string_view bytes, Deadline deadline);
  IoStatus Write(const void* bytes, size_t size, Deadline deadline);
  // Sends what fits before the deadline, at least one byte (for transfers that watch their pace).
  IoStatus WriteSome(const void* bytes, size_t size, size_t& sent, Deadline deadline);

  // Bytes received but not consumed yet.
  bool HasBuffered() const { return !buffer_.Empty(); }

 private:
  IoStatus Receive(char* buffer, size_t capacity, size_t& received, Deadline deadline);
  bool Stopping() const { return stop_ && stop_->load(); }

  Socket socket_;
  const std::atomic<bool>* stop_;
  LineBuffer buffer_;
};

}  // namespace morvane::standin::net
