#pragma once
// A dialog embedded in an option page (the Download page's two kinds): white like the page, and
// Enter and Esc handed on to the page, so that they reach the options dialog as from the page.
#include <windows.h>

#include "framework/MessageMap.h"

namespace morvane {

// The white stock brush for every control-colour message, or nullptr for any other message.
inline HBRUSH PageBrushFor(UINT message) {
  if (message < WM_CTLCOLORMSGBOX || message > WM_CTLCOLORSTATIC) return nullptr;
  return static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH));
}

template <class T>
class CEmbeddedDlg : public CDialogImpl<T> {
 public:
  using CDialogImpl<T>::CDialogImpl;

 protected:
  INT_PTR RouteMessage(UINT message, WPARAM wParam, LPARAM lParam, bool& handled) override {
    if (HBRUSH brush = PageBrushFor(message)) {
      handled = true;
      return reinterpret_cast<INT_PTR>(brush);
    }
    return CDialogImpl<T>::RouteMessage(message, wParam, lParam, handled);
  }
  void OnOK() override { ForwardToPage(IDOK); }
  void OnCancel() override { ForwardToPage(IDCANCEL); }

 private:
  void ForwardToPage(WORD command) {
    ::SendMessageW(::GetParent(this->Handle()), WM_COMMAND, MAKEWPARAM(command, BN_CLICKED), 0);
  }
};

}  // namespace morvane
