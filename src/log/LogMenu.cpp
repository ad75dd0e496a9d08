#include "log/LogMenu.h"

#include "framework/Dialog.h"
#include "framework/ScopedResource.h"
#include "res/resource.h"

namespace morvane {

void ApplyLogMenuState(HMENU popup, bool modified) {
  const UINT state = MF_BYCOMMAND | (modified ? MF_ENABLED : MF_GRAYED);
  for (UINT command : {ID_LOG_CLEAR, ID_LOG_SAVE_AS, ID_LOG_SAVE})
    ::EnableMenuItem(popup, command, state);
}

void ShowLogMenu(HWND owner, HWND button, bool modified) {
  const ScopedMenu menu(::LoadMenuW(CDialog::ResourceInstance(), MAKEINTRESOURCEW(IDR_LOG_MENU)));
  if (!menu) return;
  const HMENU popup = ::GetSubMenu(menu.Get(), 0);
  if (!popup) return;
  ApplyLogMenuState(popup, modified);
  ::SetForegroundWindow(owner);
  RECT buttonRect{};
  ::GetWindowRect(button, &buttonRect);
  ::TrackPopupMenu(popup, TPM_BOTTOMALIGN | TPM_RECURSE, buttonRect.left, buttonRect.top, 0, owner,
                   nullptr);
}

}  // namespace morvane
