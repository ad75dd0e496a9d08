#pragma once
// The pace a transfer must keep, whatever size it announced: no pause of "Delay" or longer, and,
// once "Delay" has passed, on average at least kMinTransferBytesPerSecond since it began. A
// terminal that trickles bytes can thus hold the server for "Delay" and a little more, never for
// as long as it likes.
#include <chrono>
#include <cstdint>

#include "standin/net/Deadline.h"

namespace morvane::standin {

class TransferPace {
 public:
  using Clock = std::chrono::steady_clock;

  explicit TransferPace(int delayMs, Clock::time_point start = Clock::now());

  void Moved(uint64_t bytes, Clock::time_point now = Clock::now());

  // The transfer fails unless more bytes move before this.
  Clock::time_point Limit() const;
  net::Deadline Next() const { return net::Deadline::At(Limit()); }
  // The limit is the average's, not the pause's: the terminal kept going, but too slowly.
  bool TooSlow() const;

  uint64_t BytesMoved() const { return moved_; }
  Clock::time_point Start() const { return start_; }

 private:
  Clock::time_point AverageLimit() const;
  Clock::time_point PauseLimit() const { return last_ + delay_; }

  std::chrono::milliseconds delay_;
  Clock::time_point start_;
  Clock::time_point last_;
  uint64_t moved_ = 0;
};

}  // namespace morvane::standin
