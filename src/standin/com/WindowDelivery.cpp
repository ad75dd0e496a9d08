#include "standin/com/WindowDelivery.h"

#include "terminal/TerminalRequest.h"

namespace morvane::standin {

bool WindowDelivery::Deliver(const char* event, const std::string& data) {
  const HWND window = window_;
  if (!window || !::IsWindow(window)) return false;
  TerminalRequest record{kRequestSource, event, data.c_str()};
  COPYDATASTRUCT copy{0, sizeof record, &record};
  // The window's answer means nothing (a served request also answers FALSE).
  ::SendMessageW(window, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&copy));
  return true;
}

}  // namespace morvane::standin
