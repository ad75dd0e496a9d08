#pragma once
// A point in time that a wait must not pass. Waits in the component and the simulator are all
// bounded by one of these.
#include <algorithm>
#include <chrono>
#include <cstdint>

namespace morvane::standin::net {

class Deadline {
 public:
  using Clock = std::chrono::steady_clock;

  static Deadline AfterMs(int64_t milliseconds) {
    return Deadline(Clock::now() + std::chrono::milliseconds(std::max<int64_t>(0, milliseconds)));
  }

  static Deadline At(Clock::time_point at) { return Deadline(at); }

  bool Expired() const { return Clock::now() >= at_; }
  // Milliseconds left, 0 once expired, never more than capMs.
  int RemainingMs(int capMs = 1 << 30) const {
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(at_ - Clock::now());
    return static_cast<int>(std::clamp<int64_t>(left.count(), 0, capMs));
  }
  Deadline EarlierOf(const Deadline& other) const { return at_ < other.at_ ? *this : other; }

 private:
  explicit Deadline(Clock::time_point at) : at_(at) {}
  Clock::time_point at_;
};

}  // namespace morvane::standin::net
