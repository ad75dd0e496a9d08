#include "settings/PageControls.h"

#include <string>

#include "settings/FilePickers.h"

namespace morvane {

void BrowseExecutableInto(HWND dialog, int edit) {
  std::wstring path;
  if (PickExecutable(dialog, path)) ::SetDlgItemTextW(dialog, edit, path.c_str());
}

void PlaceChildDialog(HWND child, int x, int y, bool show) {
  ::SetWindowPos(child, nullptr, x, y, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | (show ? SWP_SHOWWINDOW : SWP_HIDEWINDOW));
}

}  // namespace morvane
