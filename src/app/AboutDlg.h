#pragma once
// The about box: name, version from the program's own version resource, contact line.
#include <span>
#include <string>

#include "framework/MessageMap.h"

namespace morvane {

// The product version of the running program, "a.b.c.d"; empty when it cannot be read.
std::wstring ProgramVersionText();

class CAboutDlg : public CDialogImpl<CAboutDlg> {
 public:
  CAboutDlg();
  static std::span<const MessageEntry<CAboutDlg>> MessageMap();

 protected:
  BOOL OnInit() override;

 private:
  // Dragging anywhere in the box moves it, as dragging its caption does.
  INT_PTR OnMouseMove(WPARAM, LPARAM);
};

}  // namespace morvane
