// Stays on wine's desktop for a whole test session (scripts/wine-ctest.sh starts it and ends it):
//   desktop_keeper <ready-file>   creates the file once it is on the desktop
// Wine closes its desktop process (explorer.exe) once no program uses the desktop, and the next
// test with a window starts a new one. That one inherits the test's output pipe, and ctest then
// waits for the test until the desktop closes again: a one-second test took up to 86 s.
#include <windows.h>

#include <string>

#include "framework/ScopedResource.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR commandLine, int) {
  // A message-only window: on the desktop, never shown, never active.
  if (!::CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, instance,
                         nullptr)) {
    return 1;
  }
  std::wstring ready = commandLine;
  if (ready.size() >= 2 && ready.front() == L'"' && ready.back() == L'"')
    ready = ready.substr(1, ready.size() - 2);
  if (!ready.empty()) {
    const morvane::ScopedFileHandle file(::CreateFileW(
        ready.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  }
  MSG message;
  while (::GetMessageW(&message, nullptr, 0, 0) > 0)
    ::DispatchMessageW(&message);
  return 0;
}
