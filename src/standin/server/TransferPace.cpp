#include "standin/server/TransferPace.h"

#include <algorithm>

#include "standin/protocol/ProtocolLimits.h"

namespace morvane::standin {

TransferPace::TransferPace(int delayMs, Clock::time_point start)
    : delay_(delayMs), start_(start), last_(start) {}

void TransferPace::Moved(uint64_t bytes, Clock::time_point now) {
  if (bytes == 0) return;
  moved_ += bytes;
  last_ = now;
}

TransferPace::Clock::time_point TransferPace::AverageLimit() const {
  // moved / elapsed stays at or above the minimum until elapsed = moved / minimum.
  const std::chrono::microseconds earned(moved_ * 1000000 / kMinTransferBytesPerSecond);
  return start_ + std::max<std::chrono::microseconds>(delay_, earned);
}

TransferPace::Clock::time_point TransferPace::Limit() const {
  return std::min(PauseLimit(), AverageLimit());
}

bool TransferPace::TooSlow() const {
  return AverageLimit() < PauseLimit();
}

}  // namespace morvane::standin
