#pragma once
// The common base of the option pages: a child dialog inside the options dialog's tab control.
// - Enter (IDOK) and Escape (IDCANCEL) reaching a page become the options dialog's OK and Cancel
//   (WM_PAGE_OK, WM_PAGE_CANCEL, posted to the parent of the tab control).
// - The page and every control on it are painted on white.
// - The page object deletes itself once its window is gone: create it with new, and never delete
//   it after its window exists.
// A page binds its own message table on top: class CPage : public CDialogImpl<CPage,
// CTacControlDlg>.
#include <windows.h>

#include <span>

#include "framework/MessageMap.h"
#include "options/OptionsContext.h"

namespace morvane {

// The white stock brush for any WM_CTLCOLOR* message; handled stays false for other messages.
// Pages and their embedded dialogs answer colour requests with it.
INT_PTR WhiteBrushForColourMessage(UINT message, bool& handled);

// Lets the keyboard's Tab walk into a window's children (the tab control, the pages).
void MakeControlParent(HWND window);

class CTacControlDlg : public CDialog {
 public:
  // Creates the page's window as a hidden child of the tab control at (5, 25) pixels inside it.
  // On failure the object deletes itself and nullptr is returned: the page is absent.
  static CTacControlDlg* CreatePage(CTacControlDlg* page, HWND tab);

  // Copies the page's controls into the settings and the component (its rows of the Apply table).
  virtual void Apply() = 0;

 protected:
  CTacControlDlg(UINT templateId, const OptionsContext& context)
      : CDialog(templateId), m_context(context) {}

  void OnOK() override;
  void OnCancel() override;
  void OnDestroyed() override { delete this; }
  INT_PTR RouteMessage(UINT message, WPARAM wParam, LPARAM lParam, bool& handled) override;

  OptionsContext m_context;

 private:
  void PostToOptionsDialog(UINT message) const;
};

}  // namespace morvane
