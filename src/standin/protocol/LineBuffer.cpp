#include "standin/protocol/LineBuffer.h"

#include <algorithm>
#include <cstring>

namespace morvane::standin {

LineStatus LineBuffer::TakeLine(size_t maxBytes, std::string& line) {
  const size_t end = pending_.find('\n');
  if (end == std::string::npos) {
    // A bare "\r" may still be followed by its "\n": allow it one byte over the limit.
    const size_t allowed = maxBytes + (pending_.size() == maxBytes + 1 && pending_.back() == '\r');
    return pending_.size() > allowed ? LineStatus::kTooLong : LineStatus::kNeedMore;
  }
  size_t length = end;
  if (length > 0 && pending_[length - 1] == '\r') --length;
  if (length > maxBytes) return LineStatus::kTooLong;
  line.assign(pending_, 0, length);
  pending_.erase(0, end + 1);
  return LineStatus::kLine;
}

size_t LineBuffer::TakeBytes(char* out, size_t maxBytes) {
  const size_t count = std::min(maxBytes, pending_.size());
  if (count == 0) return 0;
  std::memcpy(out, pending_.data(), count);
  pending_.erase(0, count);
  return count;
}

}  // namespace morvane::standin
