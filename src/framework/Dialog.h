#pragma once
// A small dialog base. One static dialog procedure (the thunk) finds the C++ object and routes
// every message, first through the class's message table (see MessageMap.h), then to the virtual
// OnCommand / OnNotify fallbacks. Nothing unwinds into Windows: the thunk is an exception barrier.
//
// Modal dialogs run our own message loop, so that the application object can look at every
// message first (PreTranslateMessage: the F1 key).
#include <windows.h>

#include <string>

namespace morvane {

class DataExchange;

class CDialog {
 public:
  explicit CDialog(UINT templateId) : m_templateId(templateId) {}
  virtual ~CDialog();

  CDialog(const CDialog&) = delete;
  CDialog& operator=(const CDialog&) = delete;

  // Creates the dialog, disables the parent and runs the message loop until EndDialog or until
  // the window is destroyed from outside (then IDCANCEL). A template without WS_VISIBLE is shown
  // once the initialisation's posted messages are handled, as the system's own modal run does.
  // Returns the EndDialog result, or -1 when the dialog could not be created.
  INT_PTR DoModal(HWND parent = nullptr);
  // Creates the dialog modeless (child pages, tests). The caller's loop must route messages.
  HWND Create(HWND parent);
  // Ends a modal dialog: its loop stops and the window is destroyed.
  void EndDialog(INT_PTR result);

  HWND Handle() const { return m_hWnd; }
  HWND Item(int id) const { return ::GetDlgItem(m_hWnd, id); }
  std::wstring ItemText(int id) const;
  void SetItemText(int id, const std::wstring& text) const;

  // Where dialog templates and other resources are loaded from (the executable by default).
  static void SetResourceInstance(HINSTANCE instance) { s_resources = instance; }
  static HINSTANCE ResourceInstance();

 protected:
  // WM_INITDIALOG after the window exists; return TRUE to let the system set the focus.
  virtual BOOL OnInit() { return TRUE; }
  // The message table; CDialogImpl<T> implements it over T's static table. Returns the dialog
  // procedure's result (TRUE: handled) and sets `handled`.
  virtual INT_PTR RouteMessage(UINT message, WPARAM wParam, LPARAM lParam, bool& handled);
  // Fallbacks for commands and notifications that the table does not handle.
  virtual bool OnCommand(WORD id, WORD code, HWND control);
  virtual bool OnNotify(int id, NMHDR* header, LRESULT& result);
  // IDOK: data exchange out of the controls, then EndDialog(IDOK). IDCANCEL: EndDialog(IDCANCEL).
  virtual void OnOK();
  virtual void OnCancel();
  // Moves values between controls and members; returns false when a value does not validate
  // (the failing control has the focus by then).
  virtual bool DoDataExchange(DataExchange& dx);
  bool UpdateData(bool save);
  // Sees every message of the modal loop before it is dispatched; true means consumed.
  virtual bool PreTranslateMessage(MSG* message);
  // Destroys the window; derived classes run their close sequence first, then call this.
  virtual void DestroyWindow();
  // Called once the window is gone (WM_NCDESTROY).
  virtual void OnDestroyed() {}

  // The result of a message whose dialog procedure result is not the message result.
  void SetMsgResult(LRESULT result) const;

  HWND m_hWnd = nullptr;

 private:
  static INT_PTR CALLBACK DialogProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
  INT_PTR HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);

  static HINSTANCE s_resources;
  UINT m_templateId;
  bool m_modalRunning = false;
  INT_PTR m_modalResult = 0;
};

}  // namespace morvane
