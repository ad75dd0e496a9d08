#include "standin/net/Channel.h"

namespace morvane::standin::net {

namespace {
constexpr int kSliceMs = 200;
constexpr size_t kReceiveChunk = 4096;
}  // namespace

IoStatus Channel::Receive(char* buffer, size_t capacity, size_t& received, Deadline deadline) {
  // The socket is tried before any wait: a wait costs a system call of its own (a round trip
  // to the wine server under wine), and the bytes are often there already.
  for (;;) {
    if (Stopping()) return IoStatus::kStopped;
    const IoStatus s = socket_.ReceiveSome(buffer, capacity, received,
                                           deadline.EarlierOf(Deadline::AfterMs(kSliceMs)));
    if (s != IoStatus::kTimeout) return s;
    if (deadline.Expired()) return IoStatus::kTimeout;
  }
}

IoStatus Channel::ReadLine(size_t maxBytes, Deadline deadline, std::string& line) {
  for (;;) {
    switch (buffer_.TakeLine(maxBytes, line)) {
      case LineStatus::kLine:
        return IoStatus::kOk;
      case LineStatus::kTooLong:
        return IoStatus::kTooLong;
      case LineStatus::kNeedMore:
        break;
    }
    char chunk[kReceiveChunk];
    size_t got = 0;
    const IoStatus r = Receive(chunk, sizeof chunk, got, deadline);
    if (r != IoStatus::kOk) return r;
    buffer_.Append(chunk, got);
  }
}

IoStatus Channel::ReadSome(char* buffer, size_t capacity, size_t& received, Deadline deadline) {
  received = buffer_.TakeBytes(buffer, capacity);
  if (received > 0) return IoStatus::kOk;
  return Receive(buffer, capacity, received, deadline);
}

IoStatus Channel::Write(std::string_view bytes, Deadline deadline) {
  return Write(bytes.data(), bytes.size(), deadline);
}

IoStatus Channel::Write(const void* bytes, size_t size, Deadline deadline) {
  if (Stopping()) return IoStatus::kStopped;
  return socket_.SendAll(bytes, size, deadline);
}

IoStatus Channel::WriteSome(const void* bytes, size_t size, size_t& sent, Deadline deadline) {
  sent = 0;
  for (;;) {
    if (Stopping()) return IoStatus::kStopped;
    const IoStatus s =
        socket_.SendSome(bytes, size, sent, deadline.EarlierOf(Deadline::AfterMs(kSliceMs)));
    if (s != IoStatus::kTimeout || deadline.Expired()) return s;
  }
}

}  // namespace morvane::standin::net
