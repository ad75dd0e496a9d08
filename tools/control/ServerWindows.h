#pragma once
// The running server's windows as another process sees them: its main window (found by class
// and title, hidden or not), the other top-level windows of its process, and an open popup menu.
#include <windows.h>

#include <string>
#include <vector>

#include "framework/TopLevelWindows.h"

namespace morvane::control {

inline constexpr wchar_t kMainWindowTitle[] = L"Сервер обновления терминалов";

// The server's main window, or null when no server runs.
HWND FindMainWindow();
DWORD ProcessOf(HWND window);

// A visible top-level window of the process with exactly this title, or null.
HWND FindVisibleWindow(DWORD processId, const std::wstring& title);
// The visible popup menu (class "#32768"), or null. Menus belong to the desktop's class, so any
// process's menu counts: there is one open menu at a time.
HWND FindOpenMenu();

// Waits until found() gives a window, polling; null when the time runs out.
template <class Find>
HWND WaitForWindow(Find found, DWORD timeoutMs) {
  const ULONGLONG until = ::GetTickCount64() + timeoutMs;
  for (;;) {
    if (HWND window = found()) return window;
    if (::GetTickCount64() >= until) return nullptr;
    ::Sleep(50);
  }
}

}  // namespace morvane::control
