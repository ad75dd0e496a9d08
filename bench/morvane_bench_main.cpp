// Morvane-bench.exe: the server program with the benchmarks' one hook. With
// MORVANE_BENCH_PRELOAD_LINES=N in its environment it starts with N lines already in its log, so
// that a fleet can be timed against a log of months without filling it line by line first.
// Morvane.exe has no such hook.
#include <windows.h>

#include <cwchar>

#include "BenchLogLine.h"
#include "app/MorvaneApp.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  wchar_t value[32] = {};
  const DWORD length = ::GetEnvironmentVariableW(L"MORVANE_BENCH_PRELOAD_LINES", value, 32);
  const long lines = length > 0 && length < 32 ? std::wcstol(value, nullptr, 10) : 0;
  morvane::CMorvaneApp app([lines](morvane::CLogView& log) {
    if (lines > 0) log.AddLogLines(morvane::bench::kLogMessage, static_cast<size_t>(lines));
  });
  return app.Run();
}
