// The start watch: a WH_GETMESSAGE hook that the tests set on the program's main thread. When the
// thread takes the message that ends the start-up (the window posts it to itself, to hide or to
// show), the hook notes whether the window was already visible: it must not be.
#include <windows.h>

#include "StartWatchRecord.h"

namespace {

// The program's end-of-start-up messages, as the program's documentation gives them.
constexpr UINT kStartHidden = 0x0433;
constexpr UINT kStartShown = 0x0434;

void Note(const MSG& message) {
  HANDLE mapping = ::OpenFileMappingW(FILE_MAP_WRITE, FALSE, morvane::e2e::kStartWatchMapping);
  if (!mapping) return;
  auto* record = static_cast<morvane::e2e::StartWatchRecord*>(
      ::MapViewOfFile(mapping, FILE_MAP_WRITE, 0, 0, sizeof(morvane::e2e::StartWatchRecord)));
  if (record && record->startMessage == 0) {
    record->visibleAtStartEnd = ::IsWindowVisible(message.hwnd) ? 1 : 0;
    ::InterlockedExchange(&record->startMessage, static_cast<LONG>(message.message));
  }
  if (record) ::UnmapViewOfFile(record);
  ::CloseHandle(mapping);
}

}  // namespace

extern "C" __declspec(dllexport) LRESULT CALLBACK
    StartWatchGetMessage(int code, WPARAM removal, LPARAM message) {
  const MSG* msg = reinterpret_cast<const MSG*>(message);
  if (code == HC_ACTION && removal == PM_REMOVE &&
      (msg->message == kStartHidden || msg->message == kStartShown)) {
    Note(*msg);
  }
  return ::CallNextHookEx(nullptr, code, removal, message);
}
