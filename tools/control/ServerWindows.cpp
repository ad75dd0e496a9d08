#include "ServerWindows.h"

#include "framework/WindowText.h"

namespace morvane::control {

namespace {

std::wstring ClassName(HWND window) {
  wchar_t name[64] = {};
  ::GetClassNameW(window, name, 64);
  return name;
}

}  // namespace

DWORD ProcessOf(HWND window) {
  DWORD process = 0;
  ::GetWindowThreadProcessId(window, &process);
  return process;
}

HWND FindMainWindow() {
  return ::FindWindowW(L"#32770", kMainWindowTitle);
}

HWND FindVisibleWindow(DWORD processId, const std::wstring& title) {
  for (HWND window : TopLevelWindowsOf(processId)) {
    if (::IsWindowVisible(window) && WindowText(window) == title) return window;
  }
  return nullptr;
}

HWND FindOpenMenu() {
  for (HWND window : TopLevelWindowsOf(0)) {
    if (::IsWindowVisible(window) && ClassName(window) == L"#32768") return window;
  }
  return nullptr;
}

}  // namespace morvane::control
