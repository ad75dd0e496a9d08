#pragma once
// Per-class static message tables: {message or command, control id, handler}.
//
//   class CMyDlg : public CDialogImpl<CMyDlg> {
//    public:
//     static std::span<const MessageEntry<CMyDlg>> MessageMap();
//    private:
//     INT_PTR OnCopyData(WPARAM, LPARAM);
//     INT_PTR OnSave(WPARAM, LPARAM);
//   };
//
//   // in the .cpp, where the handlers are:
//   std::span<const MessageEntry<CMyDlg>> CMyDlg::MessageMap() {
//     static constexpr MessageEntry<CMyDlg> kMap[] = {
//         OnMessageEntry<CMyDlg>(WM_COPYDATA, &CMyDlg::OnCopyData),
//         OnCommandEntry<CMyDlg>(ID_SAVE, &CMyDlg::OnSave),
//     };
//     return kMap;
//   }
//
// A handler returns what a dialog procedure returns: TRUE when it handled the message, FALSE to
// let the dialog's default processing run. The message result goes through SetMsgResult, except
// for the messages whose result is the dialog procedure's own (WM_CTLCOLOR*, WM_QUERYDRAGICON...).
#include <windows.h>

#include <span>

#include "framework/Dialog.h"

namespace morvane {

inline constexpr UINT kAnyCode = 0xFFFFFFFFu;

template <class T>
struct MessageEntry {
  using Handler = INT_PTR (T::*)(WPARAM, LPARAM);
  UINT message;  // WM_xxx; WM_COMMAND for commands, WM_NOTIFY for notifications
  UINT id;       // command or control id (WM_COMMAND, WM_NOTIFY); 0 otherwise
  UINT code;     // notification code, or kAnyCode
  Handler handler;
};

template <class T>
constexpr MessageEntry<T> OnMessageEntry(UINT message, typename MessageEntry<T>::Handler h) {
  return {message, 0, kAnyCode, h};
}
template <class T>
constexpr MessageEntry<T> OnCommandEntry(UINT id, typename MessageEntry<T>::Handler h) {
  return {WM_COMMAND, id, kAnyCode, h};
}
template <class T>
constexpr MessageEntry<T> OnCommandCodeEntry(UINT id, UINT code,
                                             typename MessageEntry<T>::Handler h) {
  return {WM_COMMAND, id, code, h};
}
template <class T>
constexpr MessageEntry<T> OnNotifyEntry(UINT id, UINT code, typename MessageEntry<T>::Handler h) {
  return {WM_NOTIFY, id, code, h};
}

// Finds the first entry that matches the message and calls its handler.
template <class T>
INT_PTR DispatchTable(T* self, std::span<const MessageEntry<T>> table, UINT message, WPARAM wParam,
                      LPARAM lParam, bool& handled) {
  UINT id = 0;
  UINT code = 0;
  if (message == WM_COMMAND) {
    id = LOWORD(wParam);
    code = HIWORD(wParam);
  } else if (message == WM_NOTIFY && lParam) {
    const NMHDR* header = reinterpret_cast<const NMHDR*>(lParam);
    id = static_cast<UINT>(header->idFrom);
    code = header->code;
  }
  for (const MessageEntry<T>& entry : table) {
    if (entry.message != message) continue;
    if ((message == WM_COMMAND || message == WM_NOTIFY) &&
        (entry.id != id || (entry.code != kAnyCode && entry.code != code))) {
      continue;
    }
    handled = true;
    return (self->*entry.handler)(wParam, lParam);
  }
  handled = false;
  return FALSE;
}

// Binds a dialog class to its static table, T::MessageMap().
template <class T>
class CDialogImpl : public CDialog {
 public:
  using CDialog::CDialog;

 protected:
  INT_PTR RouteMessage(UINT message, WPARAM wParam, LPARAM lParam, bool& handled) override {
    return DispatchTable<T>(static_cast<T*>(this), T::MessageMap(), message, wParam, lParam,
                            handled);
  }
};

}  // namespace morvane
