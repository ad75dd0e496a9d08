#include "options/TacControlDlg.h"

#include "base/PrivateMessages.h"

namespace morvane {

INT_PTR WhiteBrushForColourMessage(UINT message, bool& handled) {
  handled = message >= WM_CTLCOLORMSGBOX && message <= WM_CTLCOLORSTATIC;
  return handled ? reinterpret_cast<INT_PTR>(::GetStockObject(WHITE_BRUSH)) : FALSE;
}

void MakeControlParent(HWND window) {
  const LONG_PTR exStyle = ::GetWindowLongPtrW(window, GWL_EXSTYLE);
  ::SetWindowLongPtrW(window, GWL_EXSTYLE, exStyle | WS_EX_CONTROLPARENT);
}

CTacControlDlg* CTacControlDlg::CreatePage(CTacControlDlg* page, HWND tab) {
  if (!page->Create(tab)) {
    delete page;
    return nullptr;
  }
  MakeControlParent(page->Handle());
  ::SetWindowPos(page->Handle(), nullptr, 5, 25, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_HIDEWINDOW);
  return page;
}

void CTacControlDlg::OnOK() {
  PostToOptionsDialog(WM_PAGE_OK);
}

void CTacControlDlg::OnCancel() {
  PostToOptionsDialog(WM_PAGE_CANCEL);
}

void CTacControlDlg::PostToOptionsDialog(UINT message) const {
  if (HWND tab = ::GetParent(m_hWnd)) ::PostMessageW(::GetParent(tab), message, 0, 0);
}

INT_PTR CTacControlDlg::RouteMessage(UINT message, WPARAM, LPARAM, bool& handled) {
  return WhiteBrushForColourMessage(message, handled);
}

}  // namespace morvane
