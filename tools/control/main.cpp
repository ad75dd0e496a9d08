// morvane-control: drives the running server from another process, the way a user would, for
// the run, demo and screenshot scripts. Runs under wine beside the server.
//
//   morvane-control wait [MS]             until the server's main window is there
//   morvane-control wait-log TEXT [MS]    until a line of the on-screen log contains TEXT
//   morvane-control wait-window TITLE [MS]  until a window TITLE of the server's process shows
//   morvane-control command ID            a toolbar or menu command, as a click sends it
//   morvane-control tray-menu X Y         the notification-area menu, as a right click at X, Y
//   morvane-control rect TARGET...        prints the geometry (WxH+X+Y) around the visible
//                                         targets: "main", "menu" (the open popup menu) or a
//                                         window title of the server's process
//   morvane-control dismiss TARGET        closes the open menu (Escape) or a dialog (Cancel),
//                                         also one that failed to show
//   morvane-control tab TITLE N           selects tab N of the tab control in dialog TITLE
//   morvane-control close [MS]            ends the server through its own close sequence
//                                         ("Выход", after cancelling any dialog it shows) and
//                                         waits for its process to end
//
// Exit code: 0 done; 1 no server, or the target did not appear in time; 2 the server did not
// end in time; 3 bad command line. Waits default to 10 s.
#include <windows.h>

#include <commctrl.h>

#include <cwchar>
#include <string>
#include <vector>

#include "ServerWindows.h"
#include "base/NumberText.h"
#include "base/PrivateMessages.h"
#include "framework/ScopedResource.h"
#include "framework/WindowText.h"
#include "res/resource.h"

namespace morvane::control {
namespace {

constexpr DWORD kDefaultWaitMs = 10000;

enum ExitCode { kDone = 0, kNotFound = 1, kStillRunning = 2, kUsage = 3 };

void Print(const std::wstring& text) {
  const int size = ::WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()),
                                         nullptr, 0, nullptr, nullptr);
  std::string bytes(static_cast<size_t>(size), '\0');
  ::WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), bytes.data(), size,
                        nullptr, nullptr);
  DWORD written = 0;
  ::WriteFile(::GetStdHandle(STD_OUTPUT_HANDLE), bytes.data(), static_cast<DWORD>(bytes.size()),
              &written, nullptr);
}

int Fail(const std::wstring& text, int code) {
  Print(L"morvane-control: " + text + L"\n");
  return code;
}

DWORD WaitArgument(const std::vector<std::wstring>& args, size_t index) {
  return index < args.size() ? static_cast<DWORD>(StrToIntRule(args[index])) : kDefaultWaitMs;
}

HWND WaitForMainWindow(DWORD timeoutMs) {
  return WaitForWindow([] { return FindMainWindow(); }, timeoutMs);
}

std::wstring LogText(HWND main) {
  const HWND edit = ::GetDlgItem(main, IDC_LOG_EDIT);
  DWORD_PTR length = 0;
  if (!edit || !::SendMessageTimeoutW(edit, WM_GETTEXTLENGTH, 0, 0, SMTO_NORMAL, 5000, &length))
    return std::wstring();
  std::wstring text(length + 1, L'\0');
  DWORD_PTR copied = 0;
  ::SendMessageTimeoutW(edit, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()),
                        SMTO_NORMAL, 5000, &copied);
  text.resize(copied);
  return text;
}

HWND FindTarget(HWND main, const std::wstring& target) {
  if (target == L"main") return ::IsWindowVisible(main) ? main : nullptr;
  if (target == L"menu") return FindOpenMenu();
  return FindVisibleWindow(ProcessOf(main), target);
}

int Rect(HWND main, const std::vector<std::wstring>& targets) {
  RECT all{};
  for (const std::wstring& target : targets) {
    const HWND window = WaitForWindow([&] { return FindTarget(main, target); }, kDefaultWaitMs);
    if (!window) return Fail(L"no visible window \"" + target + L"\"", kNotFound);
    RECT r{};
    ::GetWindowRect(window, &r);
    if (::IsRectEmpty(&all)) {
      all = r;
    } else {
      ::UnionRect(&all, &all, &r);
    }
  }
  Print(std::to_wstring(all.right - all.left) + L"x" + std::to_wstring(all.bottom - all.top) +
        L"+" + std::to_wstring(all.left) + L"+" + std::to_wstring(all.top) + L"\n");
  return kDone;
}

int Dismiss(HWND main, const std::wstring& target) {
  if (target == L"menu") {
    const HWND menu = FindOpenMenu();
    if (!menu) return Fail(L"no open menu", kNotFound);
    // The menu's own loop takes keys from its thread's queue, whichever window they are for.
    ::PostMessageW(menu, WM_KEYDOWN, VK_ESCAPE, 0);
    return kDone;
  }
  bool found = false;
  for (HWND window : TopLevelWindowsOf(ProcessOf(main))) {
    if (WindowText(window) != target) continue;
    ::PostMessageW(window, WM_COMMAND, MAKEWPARAM(IDCANCEL, 0), 0);
    found = true;
  }
  return found ? kDone : Fail(L"no window \"" + target + L"\"", kNotFound);
}

int SelectTab(HWND main, const std::wstring& title, int index) {
  const HWND dialog = FindVisibleWindow(ProcessOf(main), title);
  const HWND tabs = dialog ? ::FindWindowExW(dialog, nullptr, WC_TABCONTROLW, nullptr) : nullptr;
  if (!tabs) return Fail(L"no tab control in \"" + title + L"\"", kNotFound);
  // Setting the focus item, unlike setting the selection, tells the dialog through the usual
  // selection notifications, so it switches the page as a click does.
  DWORD_PTR result = 0;
  ::SendMessageTimeoutW(tabs, TCM_SETCURFOCUS, static_cast<WPARAM>(index), 0, SMTO_NORMAL, 5000,
                        &result);
  return kDone;
}

int Close(HWND main, DWORD timeoutMs) {
  const DWORD processId = ProcessOf(main);
  const ScopedHandle process(::OpenProcess(SYNCHRONIZE, FALSE, processId));
  // A dialog open over the main window would hold the program in its own loop.
  for (HWND window : TopLevelWindowsOf(processId)) {
    wchar_t className[16] = {};
    ::GetClassNameW(window, className, 16);
    if (window != main && std::wstring(className) == L"#32770")
      ::PostMessageW(window, WM_COMMAND, MAKEWPARAM(IDCANCEL, 0), 0);
  }
  if (HWND menu = FindOpenMenu()) ::PostMessageW(menu, WM_KEYDOWN, VK_ESCAPE, 0);
  ::PostMessageW(main, WM_COMMAND, MAKEWPARAM(ID_EXIT, 0), 0);
  if (!process) {
    const bool gone =
        WaitForWindow([] { return FindMainWindow() ? nullptr : HWND(1); }, timeoutMs) != nullptr;
    return gone ? kDone : Fail(L"the server did not end in time", kStillRunning);
  }
  if (::WaitForSingleObject(process.Get(), timeoutMs) != WAIT_OBJECT_0)
    return Fail(L"the server did not end in time", kStillRunning);
  return kDone;
}

int Run(const std::vector<std::wstring>& args) {
  if (args.empty()) return Fail(L"no command given", kUsage);
  const std::wstring& command = args[0];
  const size_t count = args.size();

  if (command == L"wait") {
    return WaitForMainWindow(WaitArgument(args, 1)) ? kDone : Fail(L"no server window", kNotFound);
  }
  const HWND main = WaitForMainWindow(command == L"wait-log" ? WaitArgument(args, 2) : 2000);
  if (!main) return Fail(L"no server is running", kNotFound);

  if (command == L"wait-log" && count >= 2) {
    const bool seen = WaitForWindow(
        [&] { return LogText(main).find(args[1]) != std::wstring::npos ? main : nullptr; },
        WaitArgument(args, 2));
    return seen ? kDone : Fail(L"the log never showed \"" + args[1] + L"\"", kNotFound);
  }
  if (command == L"wait-window" && count >= 2) {
    const DWORD processId = ProcessOf(main);
    return WaitForWindow([&] { return FindVisibleWindow(processId, args[1]); },
                         WaitArgument(args, 2))
               ? kDone
               : Fail(L"no visible window \"" + args[1] + L"\"", kNotFound);
  }
  if (command == L"command" && count == 2) {
    ::PostMessageW(main, WM_COMMAND, MAKEWPARAM(StrToIntRule(args[1]), 0), 0);
    return kDone;
  }
  if (command == L"tray-menu" && count == 3) {
    ::SetCursorPos(StrToIntRule(args[1]), StrToIntRule(args[2]));
    ::PostMessageW(main, WM_TRAY_NOTIFY, 1, WM_RBUTTONUP);
    return kDone;
  }
  if (command == L"rect" && count >= 2) return Rect(main, {args.begin() + 1, args.end()});
  if (command == L"dismiss" && count == 2) return Dismiss(main, args[1]);
  if (command == L"tab" && count == 3) return SelectTab(main, args[1], StrToIntRule(args[2]));
  if (command == L"close") return Close(main, WaitArgument(args, 1));
  return Fail(L"unknown command or wrong arguments: " + command, kUsage);
}

}  // namespace
}  // namespace morvane::control

int wmain(int argc, wchar_t** argv) {
  return morvane::control::Run(std::vector<std::wstring>(argv + 1, argv + argc));
}
