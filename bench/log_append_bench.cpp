// The log alone, on a real edit control: the cost per line of the first and of the last 10,000
// lines of a log of 100,000, and their ratio.
//   bench_log_append [lines] [first timed] [last timed] [hidden]
// The first 10,000 lines go in one by one through AddLogLine from an empty log; the lines up to
// the last 10,000 are then preloaded at once (as the fleet benchmark's server does), and the last
// 10,000 go in one by one again. Twice: as a burst, with messages handled every 100 lines as the
// program's loop would, so that the screen takes the lines in batches; and each line put on screen
// before the next comes, the worst case, as if every line came after a quiet spell.
#include <windows.h>

#include <cstdio>
#include <cwchar>
#include <string>

#include "BenchLogLine.h"
#include "BenchTimer.h"
#include "log/LogView.h"

namespace {

using morvane::bench::kLogMessage;
using morvane::bench::Stopwatch;
using morvane::bench::ThreadCpuMicroseconds;

void Pump() {
  MSG msg;
  while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    ::TranslateMessage(&msg);
    ::DispatchMessageW(&msg);
  }
}

struct Block {
  double wallUs = 0;
  double cpuUs = 0;
};

// Adds count lines, reporting progress every 10,000 lines of the whole run.
Block AddLines(morvane::CLogView& log, int count, int alreadyThere, bool eachShown,
               const Stopwatch& total) {
  const Stopwatch wall;
  const double cpu = ThreadCpuMicroseconds();
  for (int i = 0; i < count; ++i) {
    log.AddLogLine(kLogMessage);
    if (eachShown) log.ShowPendingLines();
    if (i % 100 == 99) Pump();
    const int done = alreadyThere + i + 1;
    if (done % 10000 == 0) {
      std::wprintf(L"    %d lines, %.1f s\n", done, total.Microseconds() / 1e6);
      std::fflush(stdout);
    }
  }
  Pump();
  return {wall.Microseconds(), ThreadCpuMicroseconds() - cpu};
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  const int lines = argc > 1 ? std::wcstol(argv[1], nullptr, 10) : 100000;
  auto timed = [&](int at) {
    const int count = argc > at ? std::wcstol(argv[at], nullptr, 10) : 10000;
    return count > 0 && count <= lines / 2 ? count : lines / 2;
  };
  const int firstCount = timed(2);
  const int lastCount = timed(3);
  const bool hidden = argc > 4 && std::wstring(argv[4]) == L"hidden";

  HWND owner =
      ::CreateWindowExW(0, L"STATIC", L"bench", WS_OVERLAPPEDWINDOW | (hidden ? 0 : WS_VISIBLE),
                        100, 100, 700, 500, nullptr, nullptr, nullptr, nullptr);
  HWND edit = ::CreateWindowExW(
      WS_EX_CLIENTEDGE, L"EDIT", L"",
      WS_CHILD | WS_VISIBLE | ES_MULTILINE | ES_READONLY | ES_NOHIDESEL | WS_VSCROLL, 10, 10, 660,
      440, owner, nullptr, nullptr, nullptr);
  if (!owner || !edit) {
    std::fwprintf(stderr, L"no window (is there a display?)\n");
    return 1;
  }
  std::wprintf(L"log alone, %ls window, %d lines:\n", hidden ? L"hidden" : L"visible", lines);
  for (const bool eachShown : {false, true}) {
    std::wprintf(L"  %ls\n", eachShown ? L"each line on screen before the next (the worst case):"
                                       : L"lines as they come (a burst, shown in batches):");
    std::fflush(stdout);
    morvane::CLogView log;
    log.Attach(edit);
    const Stopwatch total;
    const Block first = AddLines(log, firstCount, 0, eachShown, total);
    const Stopwatch fill;
    const int preload = lines - firstCount - lastCount;
    log.AddLogLines(kLogMessage, static_cast<size_t>(preload));
    Pump();
    std::wprintf(L"    %d lines preloaded at once in %.1f s\n", preload, fill.Microseconds() / 1e6);
    const Block last = AddLines(log, lastCount, lines - lastCount, eachShown, total);

    const double firstUs = first.wallUs / firstCount;
    const double lastUs = last.wallUs / lastCount;
    std::wprintf(L"    first %d lines: %9.1f us/line (CPU %.1f)\n", firstCount, firstUs,
                 first.cpuUs / firstCount);
    std::wprintf(
        L"    last %d lines:  %9.1f us/line (CPU %.1f); ratio last/first %.2f (target at "
        L"most 1.3)\n",
        lastCount, lastUs, last.cpuUs / lastCount, firstUs > 0 ? lastUs / firstUs : 0.0);
    std::wprintf(L"    %zu characters kept, %d on screen, %.1f s in all\n", log.Text().size(),
                 ::GetWindowTextLengthW(edit), total.Microseconds() / 1e6);
    std::fflush(stdout);
    log.Clear();
  }
  ::DestroyWindow(owner);
  return 0;
}
