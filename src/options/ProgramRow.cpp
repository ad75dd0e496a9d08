#include "options/ProgramRow.h"

#include "options/FilePickers.h"

namespace morvane {

void CProgramRow::Attach(HWND dialog, int checkId, int pathId, int browseId) {
  m_dialog = dialog;
  m_check.Attach(dialog, checkId);
  m_path.Attach(dialog, pathId);
  m_browse.Attach(dialog, browseId);
}

void CProgramRow::Fill(int flag, const std::wstring& path) const {
  m_check.SetCheck(flag == 1);
  m_path.SetText(path);
  UpdateEnabled();
}

void CProgramRow::UpdateEnabled() const {
  const bool ticked = m_check.Check() == 1;
  m_path.Enable(ticked);
  m_browse.Enable(ticked);
}

void CProgramRow::Browse() const {
  std::wstring path;
  if (PickExecutable(m_dialog, path)) m_path.SetText(path);
}

}  // namespace morvane
