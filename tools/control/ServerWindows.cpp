#include "ServerWindows.h"

#include "framework/WindowText.h"

namespace morvane::control {

namespace {

std::wstring ClassName(HWND window) {
  wchar_t name[64] = {};
  ::GetClassNameW(window, name, 64);
  return name;
}

struct Search {
  DWORD processId;
  std::vector<HWND> found;
};

BOOL CALLBACK CollectWindowOf(HWND window, LPARAM param) {
  auto* search = reinterpret_cast<Search*>(param);
  if (search->processId == 0 || ProcessOf(window) == search->processId)
    search->found.push_back(window);
  return TRUE;
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

std::vector<HWND> TopLevelWindowsOf(DWORD processId) {
  Search search{processId, {}};
  ::EnumWindows(CollectWindowOf, reinterpret_cast<LPARAM>(&search));
  return search.found;
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
