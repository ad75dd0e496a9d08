#pragma once
// Bytes received on one connection and not yet consumed. The protocol mixes text lines with
// length-framed binary payloads on the same stream, so the buffer hands out either a whole line
// or raw bytes, never more than the caller asked for.
#include <cstddef>
#include <string>
#include <string_view>

namespace morvane::standin {

enum class LineStatus {
  kLine,      // a complete line was taken (its "\n" or "\r\n" removed)
  kNeedMore,  // no line end yet and the text so far is within the limit
  kTooLong,   // more than maxBytes arrived without a line end: the stream is out of step
};

class LineBuffer {
 public:
  void Append(const char* bytes, size_t count) { pending_.append(bytes, count); }
  void Append(std::string_view bytes) { pending_.append(bytes); }

  // Takes the next line when it is complete. A line longer than maxBytes (line end not counted)
  // is refused as kTooLong whether or not its end has arrived.
  LineStatus TakeLine(size_t maxBytes, std::string& line);

  // Takes up to maxBytes raw bytes (payload that follows a header line).
  size_t TakeBytes(char* out, size_t maxBytes);

  size_t Size() const { return pending_.size(); }
  bool Empty() const { return pending_.empty(); }
  void Clear() { pending_.clear(); }

 private:
  std::string pending_;
};

}  // namespace morvane::standin
