#include "log/LogView.h"

#include "exchange/Win32FileSystem.h"
#include "log/LogFile.h"
#include "log/LogLine.h"
#include "log/LogMenu.h"

namespace morvane {

UtcTime CSystemClock::NowUtc() const {
  SYSTEMTIME st{};
  ::GetSystemTime(&st);
  return UtcTime{st.wYear, st.wMonth, st.wDay, st.wHour, st.wMinute, st.wSecond, st.wMilliseconds};
}

void CLogView::Attach(HWND edit, const IClock* clock) {
  m_edit = edit;
  m_clock = clock ? clock : &m_systemClock;
  m_screen.Attach(edit);
  // The default limit (about 30,000 characters) is less than the shown lines may take; 0 lifts it
  // to the control's maximum.
  if (m_edit) ::SendMessageW(m_edit, EM_SETLIMITTEXT, 0, 0);
}

void CLogView::AddLogLine(const std::wstring& message) {
  if (!m_edit) return;
  const std::wstring line = FormatLogLine(m_clock->NowUtc(), message);
  m_text += line;
  m_modified = true;
  m_screen.Add(line);
}

void CLogView::AddLogLines(const std::wstring& message, size_t count) {
  if (!m_edit || count == 0) return;
  const std::wstring line = FormatLogLine(m_clock->NowUtc(), message);
  m_text.reserve(m_text.size() + line.size() * count);
  for (size_t i = 0; i < count; ++i)
    m_text += line;
  m_modified = true;
  m_screen.AddRepeated(line, count);
}

bool CLogView::IsModified() const {
  return m_modified;
}

std::wstring CLogView::Text() const {
  return m_text;
}

void CLogView::Clear() {
  if (!m_edit) return;
  std::wstring().swap(m_text);  // a log of months gives its memory back
  m_modified = false;
  m_screen.Clear();
}

void CLogView::SaveLog(LogSaveMode mode, ServerSettings& settings, HWND owner) {
  CWin32FileSystem fileSystem;
  CLogFiles files(owner);
  morvane::SaveLog(mode, settings, *this, files, fileSystem, *m_clock);
}

void CLogView::ShowLogMenu(HWND owner, HWND button) {
  morvane::ShowLogMenu(owner, button, IsModified());
}

}  // namespace morvane
