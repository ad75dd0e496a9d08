#pragma once
// The options dialog run modally on the test's thread while a second thread uses it as a person
// would: key presses through SendInput, clicks on buttons, text put into edits, the focus moved.
// The main window is a plain top-level window whose transparency the tests read back.
#include <windows.h>

#include <functional>
#include <string>

#include "core/exchange_fakes.h"
#include "settings/ServerSettings.h"

namespace morvane::testing {

class OptionsUser {
 public:
  OptionsUser(HWND dialog, DWORD uiThread);

  HWND Dialog() const { return dialog_; }
  HWND Tab() const;
  // The page shown in the tab (the General page at first).
  HWND Page() const;
  HWND Item(int id) const { return ::GetDlgItem(Page(), id); }
  std::wstring Text(int id) const;
  bool Checked(int id) const;

  // Moves the keyboard focus as a click into the control would (the old one loses it first).
  void Focus(HWND control) const;
  HWND Focused() const;
  // Focuses the edit and replaces its text.
  void Type(int id, const std::wstring& text) const;
  // A real key press, with Ctrl and Shift held when asked; returns once pred holds (or after 5 s).
  bool Press(WORD key, const std::function<bool()>& pred, bool ctrl = false,
             bool shift = false) const;
  // A mouse click on a button, waiting for its handler; PostClick does not wait (for buttons that
  // open a modal window).
  void Click(HWND button) const;
  void PostClick(HWND button) const;

 private:
  HWND dialog_;
  DWORD uiThread_;
};

// Waits up to timeoutMs for pred.
bool WaitFor(const std::function<bool()>& pred, int timeoutMs = 5000);

// The first visible dialog of the thread, other than `except`, with the caption (any when empty).
HWND FindThreadDialog(DWORD thread, const std::wstring& caption, HWND except = nullptr);

class OptionsRun {
 public:
  OptionsRun();
  ~OptionsRun();
  OptionsRun(const OptionsRun&) = delete;
  OptionsRun& operator=(const OptionsRun&) = delete;

  // Runs the dialog modally; script runs on a second thread once the dialog is on screen. A
  // dialog still open after the script is cancelled. Returns the dialog's result.
  INT_PTR Run(const std::function<void(OptionsUser&)>& script);

  HWND MainWindow() const { return main_; }
  // The main window's opacity: -1 when it is not layered.
  int MainOpacity() const;

  ServerSettings settings;
  Journal journal;
  FakeComponent component{journal};
  bool withComponent = true;  // false: the dialog runs without a component
  int saves = 0;
  // What the component held at the last save.
  int savedPort = -1;

 private:
  HWND main_ = nullptr;
};

}  // namespace morvane::testing
