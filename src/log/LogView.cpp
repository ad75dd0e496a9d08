#include "log/LogView.h"

#include "log/LogLine.h"

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
}

}  // namespace morvane
