// Appending lines to the log's real edit control: the cost per line of the first and of the last
// 10,000 lines of a long run.
//   bench_log_append [lines] [hidden]
#include <windows.h>

#include <cstdio>
#include <cwchar>
#include <string>

#include "BenchTimer.h"
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

}  // namespace

int wmain(int argc, wchar_t** argv) {
  const int lines = argc > 1 ? std::wcstol(argv[1], nullptr, 10) : 100000;
  const bool hidden = argc > 2 && std::wstring(argv[2]) == L"hidden";
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
  const std::wstring message =
      L"Файл \"D:\\Bases\\12345678_base1_1.txt\" успешно загружен в терминал - SN: 12345678 "
      L"IP: 192.168.0.21";

  double firstUs = 0;
  double lastUs = 0;
  Stopwatch total;
  Stopwatch block;
  for (int i = 0; i < lines; ++i) {
    if (i == lines - window) block = Stopwatch();
    log.AddLogLine(message);
    if (i == window - 1) firstUs = block.Microseconds();
    if (i % 100 == 0) Pump();  // the window stays responsive, as in the program
    if (i % 10000 == 9999) {
      std::wprintf(L"  %d lines, %.1f s\n", i + 1, total.Microseconds() / 1e6);
      std::fflush(stdout);
    }
  }
  lastUs = block.Microseconds();
  const int length = ::GetWindowTextLengthW(edit);
  std::wprintf(
      L"%ls window, %d lines (%d characters): first %d lines %.1f us/line, last %d lines "
      L"%.1f us/line, total %.1f s\n",
      hidden ? L"hidden" : L"visible", lines, length, window, firstUs / window, window,
      lastUs / window, total.Microseconds() / 1e6);
  ::DestroyWindow(owner);
  return 0;
}
