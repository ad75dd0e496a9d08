#include "app/Transparency.h"

#include "settings/ServerSettings.h"

namespace morvane {

void SetWindowOpacity(HWND window, int opacity) {
  const LONG_PTR exStyle = ::GetWindowLongPtrW(window, GWL_EXSTYLE);
  ::SetWindowLongPtrW(window, GWL_EXSTYLE, exStyle | WS_EX_LAYERED);
  ::SetLayeredWindowAttributes(window, 0, static_cast<BYTE>(opacity & 0xFF), LWA_ALPHA);
}

void ClearWindowOpacity(HWND window) {
  const LONG_PTR exStyle = ::GetWindowLongPtrW(window, GWL_EXSTYLE);
  ::SetWindowLongPtrW(window, GWL_EXSTYLE, exStyle & ~static_cast<LONG_PTR>(WS_EX_LAYERED));
}

void ApplyStoredTransparency(HWND window, const ServerSettings& settings) {
  if (IsSet(settings.AlphaBlends) && settings.AlphaBlendsCount < 255) {
    SetWindowOpacity(window, settings.AlphaBlendsCount);
  } else {
    ClearWindowOpacity(window);
  }
}

}  // namespace morvane
