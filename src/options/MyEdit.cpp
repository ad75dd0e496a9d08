#include "options/MyEdit.h"

#include <commctrl.h>

#include "options/UploadPageRules.h"

namespace morvane {
namespace {

constexpr UINT_PTR kSubclassId = 0x4D79;  // "My"

}  // namespace

CMyEdit::~CMyEdit() {
  Detach();
}

bool CMyEdit::Attach(HWND dialog, int id) {
  Detach();
  HWND edit = ::GetDlgItem(dialog, id);
  if (!edit ||
      !::SetWindowSubclass(edit, &CMyEdit::Proc, kSubclassId, reinterpret_cast<DWORD_PTR>(this))) {
    return false;
  }
  CEdit::Attach(edit);
  return true;
}

void CMyEdit::Detach() {
  if (m_hWnd) ::RemoveWindowSubclass(m_hWnd, &CMyEdit::Proc, kSubclassId);
  m_hWnd = nullptr;
}

LRESULT CALLBACK CMyEdit::Proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                               DWORD_PTR data) {
  if (message == WM_CHAR && wParam <= 0xFFFF &&
      IsForbiddenInFileName(static_cast<wchar_t>(wParam))) {
    EDITBALLOONTIP tip{};
    tip.cbStruct = sizeof(tip);
    tip.pszTitle = L"";
    tip.pszText = kFileNameBalloonText;
    tip.ttiIcon = TTI_NONE;
    ::SendMessageW(hwnd, EM_SHOWBALLOONTIP, 0, reinterpret_cast<LPARAM>(&tip));
    return 0;
  }
  if (message == WM_NCDESTROY) reinterpret_cast<CMyEdit*>(data)->Detach();
  return ::DefSubclassProc(hwnd, message, wParam, lParam);
}

}  // namespace morvane
