#pragma once
// TEMPORARY profiling aid (not committed).
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <mutex>
#include <string>
#include <vector>
namespace morvane::standin::trace {
inline double Now() {
  return std::chrono::duration<double, std::micro>(
             std::chrono::steady_clock::now().time_since_epoch())
      .count();
}
struct Acc {
  double sum = 0, max = 0;
  int n = 0;
  std::vector<double> v;
};
inline std::mutex& M() {
  static std::mutex m;
  return m;
}
inline std::map<std::string, Acc>& Table() {
  static std::map<std::string, Acc> t;
  return t;
}
inline void Add(const char* phase, double from, double to) {
  if (from <= 0 || to <= 0) return;
  std::lock_guard l(M());
  auto& a = Table()[phase];
  a.sum += to - from;
  a.max = std::max(a.max, to - from);
  ++a.n;
  a.v.push_back(to - from);
}
inline void Dump() {
  const char* path = std::getenv("STANDIN_TRACE");
  if (!path) return;
  std::lock_guard l(M());
  FILE* f = std::fopen(path, "a");
  if (!f) return;
  for (auto& [k, a] : Table()) {
    std::sort(a.v.begin(), a.v.end());
    std::fprintf(f, "%-30s n=%5d median %8.1f us  mean %8.1f us  max %9.1f us\n", k.c_str(), a.n,
                 a.v[a.v.size() / 2], a.sum / a.n, a.max);
  }
  std::fprintf(f, "--\n");
  std::fclose(f);
  Table().clear();
}
}  // namespace morvane::standin::trace
