// The receive buffer fed in arbitrary pieces, taking lines and raw bytes in an arbitrary order:
// nothing is lost, duplicated or reordered, no line is longer than its limit or holds a line end.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "standin/protocol/LineBuffer.h"

using morvane::standin::LineBuffer;
using morvane::standin::LineStatus;

namespace {
void Require(bool condition) {
  if (!condition) std::abort();
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 2) return 0;
  const size_t limit = 1 + data[0] % 64;
  const uint8_t plan = data[1];
  const std::string input(reinterpret_cast<const char*>(data) + 2, size - 2);

  LineBuffer buffer;
  std::string consumed;  // what came out, line ends restored
  size_t fed = 0;
  unsigned step = plan;
  while (fed < input.size() || !buffer.Empty()) {
    step = step * 1103515245u + 12345u;
    if (fed < input.size() && (step >> 16) % 3 != 0) {
      const size_t piece = std::min<size_t>(input.size() - fed, 1 + (step >> 8) % 17);
      buffer.Append(input.data() + fed, piece);
      fed += piece;
      continue;
    }
    const size_t before = buffer.Size();
    if ((step >> 20) % 2 == 0) {
      std::string line;
      const LineStatus s = buffer.TakeLine(limit, line);
      if (s == LineStatus::kLine) {
        Require(line.size() <= limit);
        Require(line.find('\n') == std::string::npos);
        const size_t taken = before - buffer.Size();
        Require(taken == line.size() + 1 || taken == line.size() + 2);
        consumed += line;
        consumed += taken == line.size() + 2 ? "\r\n" : "\n";
      } else if (s == LineStatus::kTooLong) {
        Require(buffer.Size() == before);
        char raw[80];
        consumed.append(raw, buffer.TakeBytes(raw, sizeof raw));
      } else {
        Require(buffer.Size() == before);
        if (fed == input.size()) {  // nothing more will come: drain as raw bytes
          char raw[80];
          consumed.append(raw, buffer.TakeBytes(raw, sizeof raw));
        }
      }
    } else {
      char raw[32];
      const size_t want = (step >> 4) % sizeof raw;
      const size_t got = buffer.TakeBytes(raw, want);
      Require(got <= want && got == before - buffer.Size());
      consumed.append(raw, got);
    }
  }
  Require(consumed == input);
  return 0;
}
