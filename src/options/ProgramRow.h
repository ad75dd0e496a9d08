#pragma once
// A row for an outside program on the Download and Upload pages: a check box, the program's path
// and a "..." button. The path and the button are enabled exactly when the box is ticked; a
// disabled row keeps its path, and Apply still reads it.
#include <windows.h>

#include <string>

#include "framework/Controls.h"

namespace morvane {

class CProgramRow {
 public:
  void Attach(HWND dialog, int checkId, int pathId, int browseId);
  // Shows a setting's flag and path, then enables the row by the box.
  void Fill(int flag, const std::wstring& path) const;
  void UpdateEnabled() const;
  // The executable picker, owned by the dialog; a confirmed path replaces the field's text.
  void Browse() const;

  int Check() const { return m_check.Check(); }
  std::wstring Path() const { return m_path.Text(); }

 private:
  HWND m_dialog = nullptr;
  CButton m_check;
  CEdit m_path;
  CControl m_browse;
};

}  // namespace morvane
