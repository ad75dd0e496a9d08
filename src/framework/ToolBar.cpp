#include "framework/ToolBar.h"

#include <vector>

#include "framework/Dialog.h"

namespace morvane {

CToolBar::~CToolBar() {
  if (m_hWnd && ::IsWindow(m_hWnd)) ::SendMessageW(m_hWnd, TB_SETIMAGELIST, 0, 0);
  if (m_images) ::ImageList_Destroy(m_images);
}

bool CToolBar::Create(HWND parent, int id, int imageSize, std::span<const int> bitmapIds,
                      std::span<const ToolBarButton> buttons) {
  m_hWnd = ::CreateWindowExW(0, TOOLBARCLASSNAMEW, nullptr,
                             WS_CHILD | WS_VISIBLE | TBSTYLE_TOOLTIPS | CCS_TOP | CCS_NODIVIDER, 0,
                             0, 0, 0, parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                             ::GetModuleHandleW(nullptr), nullptr);
  if (!m_hWnd) return false;
  ::SendMessageW(m_hWnd, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);

  m_images = ::ImageList_Create(imageSize, imageSize, ILC_COLOR32 | ILC_MASK,
                                static_cast<int>(bitmapIds.size()), 6);
  for (int bitmapId : bitmapIds) {
    HBITMAP bitmap = static_cast<HBITMAP>(::LoadImageW(
        CDialog::ResourceInstance(), MAKEINTRESOURCEW(bitmapId), IMAGE_BITMAP, 0, 0, 0));
    if (!bitmap) continue;
    ::ImageList_AddMasked(m_images, bitmap, RGB(255, 255, 255));
    ::DeleteObject(bitmap);
  }
  ::SendMessageW(m_hWnd, TB_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(m_images));

  std::vector<TBBUTTON> items;
  for (const ToolBarButton& b : buttons) {
    TBBUTTON item{};
    item.iBitmap = b.image;
    item.idCommand = b.command;
    item.fsState = TBSTATE_ENABLED;
    item.fsStyle = BTNS_BUTTON;
    item.iString = reinterpret_cast<INT_PTR>(b.text);
    items.push_back(item);
  }
  ::SendMessageW(m_hWnd, TB_ADDBUTTONSW, items.size(), reinterpret_cast<LPARAM>(items.data()));
  ::SendMessageW(m_hWnd, TB_AUTOSIZE, 0, 0);
  ::RedrawWindow(m_hWnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
  return true;
}

void CToolBar::MakeRoomInParent() {
  if (!m_hWnd) return;
  HWND parent = ::GetParent(m_hWnd);
  RECT bar{};
  ::GetWindowRect(m_hWnd, &bar);
  const int height = bar.bottom - bar.top;

  for (HWND child = ::GetWindow(parent, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
    if (child == m_hWnd) continue;
    RECT r{};
    ::GetWindowRect(child, &r);
    ::MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&r), 2);
    ::SetWindowPos(child, nullptr, r.left, r.top + height, 0, 0,
                   SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOREDRAW);
  }
  RECT outer{};
  ::GetWindowRect(parent, &outer);
  ::SetWindowPos(parent, nullptr, 0, 0, outer.right - outer.left, outer.bottom - outer.top + height,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  ::SendMessageW(m_hWnd, TB_AUTOSIZE, 0, 0);
}

void CToolBar::EnableButton(int command, bool enable) {
  if (m_hWnd)
    ::SendMessageW(m_hWnd, TB_ENABLEBUTTON, command, MAKELPARAM(enable ? TRUE : FALSE, 0));
}

bool CToolBar::IsButtonEnabled(int command) const {
  return m_hWnd && ::SendMessageW(m_hWnd, TB_ISBUTTONENABLED, command, 0) != 0;
}

}  // namespace morvane
