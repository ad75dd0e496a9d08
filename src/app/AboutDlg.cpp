#include "app/AboutDlg.h"

#include <windows.h>

#include <vector>

#include "res/resource.h"

namespace morvane {

std::wstring ProgramVersionText() {
  wchar_t path[MAX_PATH] = {};
  const DWORD length = ::GetModuleFileNameW(nullptr, path, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return std::wstring();
  DWORD handle = 0;
  const DWORD size = ::GetFileVersionInfoSizeW(path, &handle);
  if (size == 0) return std::wstring();
  std::vector<BYTE> block(size);
  if (!::GetFileVersionInfoW(path, 0, size, block.data())) return std::wstring();
  VS_FIXEDFILEINFO* info = nullptr;
  UINT infoSize = 0;
  if (!::VerQueryValueW(block.data(), L"\\", reinterpret_cast<void**>(&info), &infoSize) || !info ||
      infoSize < sizeof(VS_FIXEDFILEINFO)) {
    return std::wstring();
  }
  return std::to_wstring(HIWORD(info->dwProductVersionMS)) + L'.' +
         std::to_wstring(LOWORD(info->dwProductVersionMS)) + L'.' +
         std::to_wstring(HIWORD(info->dwProductVersionLS)) + L'.' +
         std::to_wstring(LOWORD(info->dwProductVersionLS));
}

CAboutDlg::CAboutDlg() : CDialogImpl<CAboutDlg>(IDD_ABOUTBOX) {}

std::span<const MessageEntry<CAboutDlg>> CAboutDlg::MessageMap() {
  static constexpr MessageEntry<CAboutDlg> kMap[] = {
      OnMessageEntry<CAboutDlg>(WM_MOUSEMOVE, &CAboutDlg::OnMouseMove),
  };
  return kMap;
}

BOOL CAboutDlg::OnInit() {
  const std::wstring text = L"\nВерсия программы: " + ProgramVersionText() +
                            L"\nТелефон поддержки указан в договоре поставки\n";
  SetItemText(IDC_ABOUT_TEXT, text);
  return TRUE;
}

INT_PTR CAboutDlg::OnMouseMove(WPARAM keys, LPARAM) {
  // Only a drag starts the move: a mere hover must not put the box into a move loop.
  if (!(keys & MK_LBUTTON)) return FALSE;
  ::ReleaseCapture();
  ::SendMessageW(m_hWnd, WM_SYSCOMMAND, SC_MOVE | HTCAPTION, 0);
  return FALSE;
}

}  // namespace morvane
