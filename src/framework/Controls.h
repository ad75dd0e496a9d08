#pragma once
// Thin control objects over a child window handle: each hides the SendMessage plumbing of one
// kind of control. They do not own the window (the dialog does) and are bound once the dialog's
// window exists.
#include <windows.h>

#include <commctrl.h>

#include <string>

#include "framework/WindowText.h"

namespace morvane {

class CControl {
 public:
  void Attach(HWND window) { m_hWnd = window; }
  void Attach(HWND dialog, int id) { m_hWnd = ::GetDlgItem(dialog, id); }
  HWND Handle() const { return m_hWnd; }
  explicit operator bool() const { return m_hWnd != nullptr; }

  std::wstring Text() const { return WindowText(m_hWnd); }
  void SetText(const std::wstring& text) const { ::SetWindowTextW(m_hWnd, text.c_str()); }
  void Enable(bool enable) const { ::EnableWindow(m_hWnd, enable ? TRUE : FALSE); }
  bool HasFocus() const { return m_hWnd && ::GetFocus() == m_hWnd; }

 protected:
  LRESULT Send(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const {
    return ::SendMessageW(m_hWnd, message, wParam, lParam);
  }

  HWND m_hWnd = nullptr;
};

class CEdit : public CControl {
 public:
  // Limits what the user can type or paste; WM_SETTEXT is not limited.
  void LimitText(int chars) const { Send(EM_LIMITTEXT, static_cast<WPARAM>(chars)); }
};

// Check boxes and radio buttons.
class CButton : public CControl {
 public:
  // 1 when checked, 0 otherwise (BM_GETCHECK's answer for a two-state button).
  int Check() const { return Send(BM_GETCHECK) == BST_CHECKED ? 1 : 0; }
  void SetCheck(bool checked) const { Send(BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED); }
};

class CTrackBar : public CControl {
 public:
  void SetRange(int low, int high) const { Send(TBM_SETRANGE, TRUE, MAKELPARAM(low, high)); }
  int Pos() const { return static_cast<int>(Send(TBM_GETPOS)); }
  void SetPos(int pos) const { Send(TBM_SETPOS, TRUE, pos); }
};

class CTabCtrl : public CControl {
 public:
  int ItemCount() const { return static_cast<int>(Send(TCM_GETITEMCOUNT)); }
  int CurSel() const { return static_cast<int>(Send(TCM_GETCURSEL)); }
  void SetCurSel(int index) const { Send(TCM_SETCURSEL, static_cast<WPARAM>(index)); }
  bool InsertItem(int index, const wchar_t* text, LPARAM data) const {
    TCITEMW item{};
    item.mask = TCIF_TEXT | TCIF_PARAM;
    item.pszText = const_cast<wchar_t*>(text);
    item.lParam = data;
    return Send(TCM_INSERTITEMW, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item)) >= 0;
  }
  LPARAM ItemData(int index) const {
    TCITEMW item{};
    item.mask = TCIF_PARAM;
    if (!Send(TCM_GETITEMW, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item))) return 0;
    return item.lParam;
  }
  void DeleteItem(int index) const { Send(TCM_DELETEITEM, static_cast<WPARAM>(index)); }
};

// A drop-down list.
class CComboBox : public CControl {
 public:
  void AddString(const std::wstring& text) const {
    Send(CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
  }
  // The selected item's index, -1 when none is selected.
  int CurSel() const { return static_cast<int>(Send(CB_GETCURSEL)); }
  // An index outside the list clears the selection.
  void SetCurSel(int index) const { Send(CB_SETCURSEL, static_cast<WPARAM>(index)); }
};

class CUpDownCtrl : public CControl {
 public:
  void SetRange32(int low, int high) const {
    Send(UDM_SETRANGE32, static_cast<WPARAM>(low), static_cast<LPARAM>(high));
  }
};

}  // namespace morvane
