#pragma once
// Per-class static message tables. Typed entries name a handler whose arguments are already
// taken apart, in the manner of WTL's message crackers:
//
//   class CMyDlg : public CDialogImpl<CMyDlg> {
//    public:
//     static std::span<const MessageEntry<CMyDlg>> MessageMap();
//    private:
//     void OnSave();                         // a command
//     void OnNameChanged(WORD code);         // a command, with its notification code
//     LRESULT OnTabChanging(NMHDR* header);  // a notification; its result is the message result
//     void OnPageOk();                       // a message whose parameters say nothing
//     INT_PTR OnCopyData(WPARAM, LPARAM);    // a message taken raw
//   };
//
//   // in the .cpp, where the handlers are:
//   std::span<const MessageEntry<CMyDlg>> CMyDlg::MessageMap() {
//     using D = CMyDlg;
//     static constexpr MessageEntry<D> kMap[] = {
//         CommandHandler<&D::OnSave>(ID_SAVE),
//         CommandHandler<&D::OnNameChanged>(IDC_NAME, EN_KILLFOCUS),
//         NotifyHandler<&D::OnTabChanging>(IDC_TAB, TCN_SELCHANGING),
//         MessageHandler<&D::OnPageOk>(WM_PAGE_OK),
//         MessageHandler<&D::OnCopyData>(WM_COPYDATA),
//         RegisteredMessageHandler<&D::OnTaskbarCreated>(&TaskbarCreatedMessage),
//     };
//     return kMap;
//   }
//
// A raw handler returns what a dialog procedure returns: TRUE when it handled the message, FALSE
// to let the dialog's default processing run; its message result goes through SetMsgResult,
// except for the messages whose result is the dialog procedure's own (WM_CTLCOLOR*,
// WM_QUERYDRAGICON...). Typed command, notification and void message handlers always count as
// handled. The older OnMessageEntry / OnCommandEntry helpers take raw handlers only.
#include <windows.h>

#include <span>
#include <type_traits>

#include "framework/Dialog.h"

namespace morvane {

inline constexpr UINT kAnyCode = 0xFFFFFFFFu;

template <class T>
struct MessageEntry {
  using Handler = INT_PTR (T::*)(WPARAM, LPARAM);
  using Cracker = INT_PTR (*)(T& self, WPARAM, LPARAM);
  UINT message;                   // WM_xxx; WM_COMMAND for commands, WM_NOTIFY for notifications
  UINT id;                        // command or control id (WM_COMMAND, WM_NOTIFY); 0 otherwise
  UINT code;                      // notification code, or kAnyCode
  Handler handler;                // a raw handler, or null when `cracker` calls a typed one
  Cracker cracker = nullptr;      // takes the parameters apart and calls the typed handler
  UINT (*messageId)() = nullptr;  // the message number when it is known only at run time
};

namespace message_map_detail {

template <class Method>
struct MemberOf;
template <class C, class R, class... Args>
struct MemberOf<R (C::*)(Args...)> {
  using Class = C;
  using Result = R;
};
template <class C, class R, class... Args>
struct MemberOf<R (C::*)(Args...) const> : MemberOf<R (C::*)(Args...)> {};

template <auto Method>
using OwnerOf = typename MemberOf<decltype(Method)>::Class;
template <auto Method>
using ResultOf = typename MemberOf<decltype(Method)>::Result;

template <auto Method>
INT_PTR CrackCommand(OwnerOf<Method>& self, WPARAM wParam, LPARAM) {
  using T = OwnerOf<Method>;
  if constexpr (std::is_invocable_v<decltype(Method), T&, WORD>) {
    (self.*Method)(HIWORD(wParam));
  } else {
    static_assert(std::is_invocable_v<decltype(Method), T&>,
                  "a command handler takes nothing or the notification code");
    (self.*Method)();
  }
  return TRUE;
}

template <auto Method>
INT_PTR CrackNotify(OwnerOf<Method>& self, WPARAM, LPARAM lParam) {
  NMHDR* header = reinterpret_cast<NMHDR*>(lParam);
  LRESULT result = 0;
  if constexpr (std::is_void_v<ResultOf<Method>>) {
    (self.*Method)(header);
  } else {
    result = static_cast<LRESULT>((self.*Method)(header));
  }
  // The one place where a notification's answer reaches the control.
  ::SetWindowLongPtrW(self.Handle(), DWLP_MSGRESULT, result);
  return TRUE;
}

template <auto Method>
INT_PTR CrackMessage(OwnerOf<Method>& self, WPARAM wParam, LPARAM lParam) {
  using T = OwnerOf<Method>;
  if constexpr (std::is_invocable_v<decltype(Method), T&, WPARAM, LPARAM>) {
    return (self.*Method)(wParam, lParam);
  } else {
    static_assert(std::is_invocable_v<decltype(Method), T&>,
                  "a message handler takes nothing, or WPARAM and LPARAM");
    (self.*Method)();
    return TRUE;
  }
}

}  // namespace message_map_detail

template <auto Method>
constexpr auto CommandHandler(UINT id, UINT code = kAnyCode) {
  using T = message_map_detail::OwnerOf<Method>;
  return MessageEntry<T>{WM_COMMAND, id, code, nullptr, &message_map_detail::CrackCommand<Method>};
}
template <auto Method>
constexpr auto NotifyHandler(UINT id, UINT code) {
  using T = message_map_detail::OwnerOf<Method>;
  return MessageEntry<T>{WM_NOTIFY, id, code, nullptr, &message_map_detail::CrackNotify<Method>};
}
template <auto Method>
constexpr auto MessageHandler(UINT message) {
  using T = message_map_detail::OwnerOf<Method>;
  return MessageEntry<T>{message, 0, kAnyCode, nullptr, &message_map_detail::CrackMessage<Method>};
}
// For a message registered with RegisterWindowMessageW: `messageId` returns its number (0 while
// it is unknown, which matches nothing).
template <auto Method>
constexpr auto RegisteredMessageHandler(UINT (*messageId)()) {
  using T = message_map_detail::OwnerOf<Method>;
  return MessageEntry<T>{0,        0, kAnyCode, nullptr, &message_map_detail::CrackMessage<Method>,
                         messageId};
}

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
    if (entry.messageId) {
      const UINT registered = entry.messageId();
      if (registered == 0 || registered != message) continue;
    } else if (entry.message != message) {
      continue;
    }
    if ((message == WM_COMMAND || message == WM_NOTIFY) &&
        (entry.id != id || (entry.code != kAnyCode && entry.code != code))) {
      continue;
    }
    handled = true;
    return entry.cracker ? entry.cracker(*self, wParam, lParam)
                         : (self->*entry.handler)(wParam, lParam);
  }
  handled = false;
  return FALSE;
}

// Binds a dialog class to its static table, T::MessageMap(). Messages the table leaves alone go
// on to Base's routing (a base class with behaviour of its own, such as the option pages' base,
// chains its handling this way).
template <class T, class Base = CDialog>
class CDialogImpl : public Base {
 public:
  using Base::Base;

 protected:
  INT_PTR RouteMessage(UINT message, WPARAM wParam, LPARAM lParam, bool& handled) override {
    const INT_PTR result =
        DispatchTable<T>(static_cast<T*>(this), T::MessageMap(), message, wParam, lParam, handled);
    if (handled) return result;
    return Base::RouteMessage(message, wParam, lParam, handled);
  }
};

}  // namespace morvane
