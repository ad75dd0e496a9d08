#include "app/TrayIcon.h"

#include <cwchar>

namespace morvane {

void CTrayIcon::Add(HWND window, UINT callbackMessage, HICON icon) {
  m_data = NOTIFYICONDATAW{};
  m_data.cbSize = sizeof(m_data);
  m_data.hWnd = window;
  m_data.uID = 1;
  m_data.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP | NIF_INFO;
  m_data.uCallbackMessage = callbackMessage;
  m_data.hIcon = icon;
  std::wcsncpy(m_data.szTip, L"Morvane", ARRAYSIZE(m_data.szTip) - 1);
  std::wcsncpy(m_data.szInfo, L"Halcyra", ARRAYSIZE(m_data.szInfo) - 1);
  m_data.uTimeout = 200;
  std::wcsncpy(m_data.szInfoTitle, L"Morvane", ARRAYSIZE(m_data.szInfoTitle) - 1);
  m_data.dwInfoFlags = NIIF_INFO;
  ::Shell_NotifyIconW(NIM_ADD, &m_data);  // a missing notification area is not an error
  m_added = true;
}

void CTrayIcon::Restore() {
  if (!m_added) return;
  NOTIFYICONDATAW again = m_data;
  again.uFlags &= ~static_cast<UINT>(NIF_INFO);
  ::Shell_NotifyIconW(NIM_ADD, &again);
}

void CTrayIcon::Remove() {
  if (!m_added) return;
  ::Shell_NotifyIconW(NIM_DELETE, &m_data);
  m_added = false;
}

}  // namespace morvane
