// Appending lines to the log's real edit control: the cost per line of the first and of the last
// 10,000 lines of a long log.
//   bench_log_append [lines] [full|preload] [hidden]
// full: every line goes in through AddLogLine (under wine this takes hours for 100,000 lines:
// its edit control spends time in proportion to the text on every insertion).
// preload: the first 10,000 lines go in through AddLogLine from an empty log; then the log is
// filled with the lines before the last 10,000 in one go, and the last 10,000 go in through
// AddLogLine. The control holds the same text either way when the last 10,000 are timed.
#include <windows.h>

#include <cstdio>
#include <cwchar>
#include <string>

#include "BenchTimer.h"
#include "log/LogLine.h"
#include "log/LogView.h"

namespace {

using morvane::bench::Stopwatch;

void Pump() {
  MSG msg;
  while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    ::TranslateMessage(&msg);
    ::DispatchMessageW(&msg);
  }
}

// CPU time of this thread in microseconds: the edit control's own work, without the time that
// other programs on the machine take.
double ThreadCpuMicroseconds() {
  FILETIME created, exited, kernel, user;
  ::GetThreadTimes(::GetCurrentThread(), &created, &exited, &kernel, &user);
  auto us = [](const FILETIME& t) {
    return ((static_cast<unsigned long long>(t.dwHighDateTime) << 32) | t.dwLowDateTime) / 10.0;
  };
  return us(kernel) + us(user);
}

struct Block {
  double wallUs = 0;
  double cpuUs = 0;
};

const std::wstring kMessage =
    L"Файл \"D:\\Bases\\12345678_base1_1.txt\" успешно загружен в терминал - SN: 12345678 IP: "
    L"192.168.0.21";

// Adds count lines, reporting progress every 10,000 lines of the whole run.
Block AddLines(morvane::CLogView& log, int count, int alreadyThere, const Stopwatch& total) {
  const Stopwatch wall;
  const double cpu = ThreadCpuMicroseconds();
  for (int i = 0; i < count; ++i) {
    log.AddLogLine(kMessage);
    if (i % 100 == 0) Pump();  // the window stays responsive, as in the program
    const int done = alreadyThere + i + 1;
    if (done % 10000 == 0) {
      std::wprintf(L"  %d lines, %.1f s\n", done, total.Microseconds() / 1e6);
      std::fflush(stdout);
    }
  }
  return {wall.Microseconds(), ThreadCpuMicroseconds() - cpu};
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  const int lines = argc > 1 ? std::wcstol(argv[1], nullptr, 10) : 100000;
  const bool preload = argc > 2 && std::wstring(argv[2]) == L"preload";
  const bool hidden = argc > 3 && std::wstring(argv[3]) == L"hidden";
  const int window = lines < 20000 ? lines / 2 : 10000;

  const DWORD visible = hidden ? 0 : WS_VISIBLE;
  HWND owner = ::CreateWindowExW(0, L"STATIC", L"bench", WS_OVERLAPPEDWINDOW | visible, 100, 100,
                                 700, 500, nullptr, nullptr, nullptr, nullptr);
  HWND edit = ::CreateWindowExW(
      WS_EX_CLIENTEDGE, L"EDIT", L"",
      WS_CHILD | WS_VISIBLE | ES_MULTILINE | ES_READONLY | ES_NOHIDESEL | WS_VSCROLL, 10, 10, 660,
      440, owner, nullptr, nullptr, nullptr);
  if (!owner || !edit) {
    std::fwprintf(stderr, L"no window (is there a display?)\n");
    return 1;
  }
  morvane::CLogView log;
  log.Attach(edit);

  const Stopwatch total;
  const Block first = AddLines(log, window, 0, total);
  if (preload) {
    log.Clear();
    const std::wstring line = morvane::FormatLogLine(morvane::CSystemClock().NowUtc(), kMessage);
    std::wstring text;
    text.reserve(line.size() * static_cast<size_t>(lines - window));
    for (int i = 0; i < lines - window; ++i)
      text += line;
    const Stopwatch fill;
    ::SetWindowTextW(edit, text.c_str());
    std::wprintf(L"  filled with %d lines in one go, %.1f s\n", lines - window,
                 fill.Microseconds() / 1e6);
    std::fflush(stdout);
  } else {
    AddLines(log, lines - 2 * window, window, total);
  }
  const Block last = AddLines(log, window, lines - window, total);

  std::wprintf(L"%ls window, %ls, %d lines (%d characters):\n", hidden ? L"hidden" : L"visible",
               preload ? L"preloaded" : L"every line added", lines, ::GetWindowTextLengthW(edit));
  std::wprintf(L"  first %d lines: %.1f us/line wall, %.1f us/line CPU\n", window,
               first.wallUs / window, first.cpuUs / window);
  std::wprintf(L"  last %d lines:  %.1f us/line wall, %.1f us/line CPU\n", window,
               last.wallUs / window, last.cpuUs / window);
  std::wprintf(L"  total %.1f s\n", total.Microseconds() / 1e6);
  ::DestroyWindow(owner);
  return 0;
}
