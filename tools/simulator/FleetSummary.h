#pragma once
// What the fleet mode reports: successes and failures by kind, latency figures, bytes moved.
#include <cstdint>
#include <string>
#include <vector>

namespace morvane::simulator {

class FleetSummary {
 public:
  void Add(bool download, bool ok, double milliseconds, double connectMs, uint64_t bytes,
           const std::string& error);
  int Failures() const { return downloadsFailed_ + uploadsFailed_; }
  void Print(int terminals, int exchanges, double seconds) const;

 private:
  int downloadsOk_ = 0, downloadsFailed_ = 0, uploadsOk_ = 0, uploadsFailed_ = 0;
  uint64_t bytesDown_ = 0, bytesUp_ = 0;
  std::vector<double> latencies_;
  double slowestConnectMs_ = 0;  // a connection refused for a full backlog shows here
  std::string firstError_;
};

}  // namespace morvane::simulator
