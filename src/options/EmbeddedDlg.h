#pragma once
// A dialog embedded in an option page (the Download page's two kinds): white like the page, and
// Enter and Esc handed on to the page, so that they reach the options dialog as from the page.
#include <windows.h>

#include "framework/MessageMap.h"
#include "options/TacControlDlg.h"

namespace morvane {

template <class T>
class CEmbeddedDlg : public CDialogImpl<T> {
 public:
  using CDialogImpl<T>::CDialogImpl;

 protected:
  INT_PTR RouteMessage(UINT message, WPARAM wParam, LPARAM lParam, bool& handled) override {
    const INT_PTR brush = WhiteBrushForColourMessage(message, handled);
    if (handled) return brush;
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
