#include "FleetSummary.h"

#include <algorithm>
#include <cstdio>
#include <numeric>

namespace morvane::simulator {

namespace {

// The value below which the given share of the sorted samples lie.
double Percentile(const std::vector<double>& sorted, double share) {
  if (sorted.empty()) return 0;
  const size_t at = static_cast<size_t>(share * static_cast<double>(sorted.size() - 1) + 0.5);
  return sorted[std::min(at, sorted.size() - 1)];
}

}  // namespace

void FleetSummary::Add(bool download, bool ok, double milliseconds, double connectMs,
                       uint64_t bytes, const std::string& error) {
  latencies_.push_back(milliseconds);
  slowestConnectMs_ = std::max(slowestConnectMs_, connectMs);
  if (download) {
    ok ? ++downloadsOk_ : ++downloadsFailed_;
    if (ok) bytesDown_ += bytes;
  } else {
    ok ? ++uploadsOk_ : ++uploadsFailed_;
    if (ok) bytesUp_ += bytes;
  }
  if (!ok && firstError_.empty()) firstError_ = error;
}

void FleetSummary::Print(int terminals, int exchanges, double seconds) const {
  std::vector<double> sorted = latencies_;
  std::sort(sorted.begin(), sorted.end());
  const double mean =
      sorted.empty() ? 0 : std::accumulate(sorted.begin(), sorted.end(), 0.0) / sorted.size();
  std::printf("fleet: %d terminals x %d exchanges = %zu exchanges in %.2f s (%.1f per second)\n",
              terminals, exchanges, sorted.size(), seconds,
              seconds > 0 ? static_cast<double>(sorted.size()) / seconds : 0.0);
  std::printf("  downloads: %d ok, %d failed; uploads: %d ok, %d failed\n", downloadsOk_,
              downloadsFailed_, uploadsOk_, uploadsFailed_);
  std::printf("  latency ms: min %.1f, median %.1f, p95 %.1f, max %.1f, mean %.1f\n",
              sorted.empty() ? 0 : sorted.front(), Percentile(sorted, 0.5),
              Percentile(sorted, 0.95), sorted.empty() ? 0 : sorted.back(), mean);
  std::printf("  slowest connect: %.1f ms\n", slowestConnectMs_);
  std::printf("  bytes: %llu downloaded, %llu uploaded\n",
              static_cast<unsigned long long>(bytesDown_),
              static_cast<unsigned long long>(bytesUp_));
  if (Failures() == 0) {
    std::printf("fleet: all exchanges succeeded\n");
  } else {
    std::printf("fleet: %d exchanges failed (first: %s)\n", Failures(), firstError_.c_str());
  }
}

}  // namespace morvane::simulator
