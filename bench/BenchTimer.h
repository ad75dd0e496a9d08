#pragma once
// Timing for the benchmarks: wall clock, and the CPU time of the calling thread.
#include <windows.h>

#include <chrono>

namespace morvane::bench {

class Stopwatch {
 public:
  Stopwatch() : start_(std::chrono::steady_clock::now()) {}
  double Microseconds() const {
    return std::chrono::duration<double, std::micro>(std::chrono::steady_clock::now() - start_)
        .count();
  }

 private:
  std::chrono::steady_clock::time_point start_;
};

// CPU time of this thread in microseconds: its own work, without what other programs on the
// machine take.
inline double ThreadCpuMicroseconds() {
  FILETIME created, exited, kernel, user;
  ::GetThreadTimes(::GetCurrentThread(), &created, &exited, &kernel, &user);
  auto us = [](const FILETIME& t) {
    return static_cast<double>((static_cast<unsigned long long>(t.dwHighDateTime) << 32) |
                               t.dwLowDateTime) /
           10.0;
  };
  return us(kernel) + us(user);
}

}  // namespace morvane::bench
