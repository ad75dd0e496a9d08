#include "app/SingleInstance.h"

#include "res/resource.h"

namespace morvane {

namespace {

// The caption of the main window's template.
constexpr wchar_t kMainWindowTitle[] = L"Сервер обновления терминалов";

}  // namespace

bool CSingleInstance::Acquire() {
  const HANDLE mutex = ::CreateMutexW(nullptr, FALSE, kInstanceMutexName);
  const bool heldElsewhere = mutex && ::GetLastError() == ERROR_ALREADY_EXISTS;
  m_mutex.Reset(mutex);
  // Without a mutex the program cannot tell; it runs rather than refusing to start at all.
  return !heldElsewhere;
}

void ShowRunningCopy() {
  const HWND window = ::FindWindowW(L"#32770", kMainWindowTitle);
  if (!window) return;
  DWORD processId = 0;
  ::GetWindowThreadProcessId(window, &processId);
  ::AllowSetForegroundWindow(processId);  // so that the shown window may come to the front
  ::PostMessageW(window, WM_COMMAND, MAKEWPARAM(ID_SHOW, 0), 0);
}

}  // namespace morvane
