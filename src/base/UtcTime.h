#pragma once
// The wall clock as the log and the generated file names use it: always UTC, never local time.

namespace morvane {

struct UtcTime {
  int year = 0;
  int month = 0;  // 1..12
  int day = 0;    // 1..31
  int hour = 0;
  int minute = 0;
  int second = 0;
  int milliseconds = 0;
};

class IClock {
 public:
  virtual ~IClock() = default;
  virtual UtcTime NowUtc() const = 0;
};

}  // namespace morvane
