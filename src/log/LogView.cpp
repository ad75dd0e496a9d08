#include "log/LogView.h"

#include "exchange/Win32FileSystem.h"
#include "framework/WindowText.h"
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
  // The default limit (about 30,000 characters) would silently drop lines after a few days;
  // 0 lifts it to the control's maximum.
  if (m_edit) ::SendMessageW(m_edit, EM_SETLIMITTEXT, 0, 0);
}

void CLogView::AddLogLine(const std::wstring& message) {
  if (!m_edit) return;
  const std::wstring line = FormatLogLine(m_clock->NowUtc(), message);
  const LRESULT lines = ::SendMessageW(m_edit, EM_GETLINECOUNT, 0, 0);
  const LRESULT lastLineStart = ::SendMessageW(m_edit, EM_LINEINDEX, lines > 0 ? lines - 1 : 0, 0);
  ::SendMessageW(m_edit, EM_SETSEL, lastLineStart, lastLineStart);
  ::SendMessageW(m_edit, EM_SCROLLCARET, 0, 0);
  ::SendMessageW(m_edit, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(line.c_str()));
  // The insertion marks the log as modified; said explicitly, since saving and the log menu
  // depend on it.
  ::SendMessageW(m_edit, EM_SETMODIFY, TRUE, 0);
}

void CLogView::AddLogLines(const std::wstring& message, size_t count) {
  if (!m_edit || count == 0) return;
  const std::wstring line = FormatLogLine(m_clock->NowUtc(), message);
  std::wstring text = Text();
  text.reserve(text.size() + line.size() * count);
  for (size_t i = 0; i < count; ++i)
    text += line;
  ::SetWindowTextW(m_edit, text.c_str());
  ::SendMessageW(m_edit, EM_SETMODIFY, TRUE, 0);
}

bool CLogView::IsModified() const {
  return m_edit && ::SendMessageW(m_edit, EM_GETMODIFY, 0, 0) != 0;
}

std::wstring CLogView::Text() const {
  return WindowText(m_edit);
}

void CLogView::Clear() {
  if (!m_edit) return;
  ::SetWindowTextW(m_edit, L"");
  ::SendMessageW(m_edit, EM_SETMODIFY, FALSE, 0);
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
