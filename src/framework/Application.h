#pragma once
// The application object: one per process. It gets the first look at every message of the modal
// loops (keyboard shortcuts that work in any window of the program).
#include <windows.h>

namespace morvane {

class CApplication {
 public:
  CApplication();
  virtual ~CApplication();
  CApplication(const CApplication&) = delete;
  CApplication& operator=(const CApplication&) = delete;

  static CApplication* Current() { return s_current; }

  // Runs the program; returns the process exit code.
  virtual int Run() = 0;
  // True when the message was consumed and must not be dispatched.
  virtual bool PreTranslateMessage(MSG*) { return false; }

 private:
  static CApplication* s_current;
};

}  // namespace morvane
