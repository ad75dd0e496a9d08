#include "log/LogScreen.h"

namespace morvane {

namespace {

constexpr wchar_t kScreenProperty[] = L"Morvane.LogScreen";
constexpr UINT_PTR kTimerId = 1;
constexpr wchar_t kLineEnd[] = L"\r\n";

}  // namespace

std::wstring ScreenLogLine(const std::wstring& line) {
  const bool ended = line.size() >= 2 && line.compare(line.size() - 2, 2, kLineEnd) == 0;
  const size_t body = ended ? line.size() - 2 : line.size();
  if (body <= CLogScreen::kLineLength) return line;
  size_t kept = CLogScreen::kLineLength - 1;
  if (line[kept - 1] >= 0xD800 && line[kept - 1] <= 0xDBFF) --kept;  // never half a pair
  return line.substr(0, kept) + L'\x2026' + (ended ? kLineEnd : L"");
}

CLogScreen::~CLogScreen() {
  Attach(nullptr);
}

void CLogScreen::Attach(HWND edit) {
  if (m_edit && ::GetPropW(m_edit, kScreenProperty) == this) {
    ::KillTimer(m_edit, kTimerId);
    ::RemovePropW(m_edit, kScreenProperty);
  }
  m_edit = edit;
  m_timerArmed = false;
  m_pending.clear();
  m_pendingCut = false;
  m_shown.clear();
  if (m_edit) ::SetPropW(m_edit, kScreenProperty, this);
}

void CLogScreen::Queue(const std::wstring& line) {
  m_pending.push_back(ScreenLogLine(line));
  if (m_pending.size() > kLines) {
    m_pending.pop_front();
    m_pendingCut = true;
  }
}

void CLogScreen::Add(const std::wstring& line) {
  if (!m_edit) return;
  Queue(line);
  const ULONGLONG waited = ::GetTickCount64() - m_lastShown;
  if (waited >= kDelayMs) {
    ShowPending();
  } else {
    ArmTimer(kDelayMs - waited);
  }
}

void CLogScreen::AddRepeated(const std::wstring& line, size_t count) {
  if (!m_edit) return;
  for (size_t i = 0; i < count && i < kLines; ++i)
    Queue(line);
  ShowPending();
}

void CLogScreen::ArmTimer(ULONGLONG delayMs) {
  if (m_timerArmed) return;  // armed for an earlier line, which waits longest
  m_timerArmed =
      ::SetTimer(m_edit, kTimerId, static_cast<UINT>(delayMs), &CLogScreen::OnTimer) != 0;
}

void CALLBACK CLogScreen::OnTimer(HWND edit, UINT, UINT_PTR, DWORD) {
  if (auto* screen = static_cast<CLogScreen*>(::GetPropW(edit, kScreenProperty)))
    screen->ShowPending();
}

void CLogScreen::ShowPending() {
  if (!m_edit) return;
  if (m_timerArmed) {
    ::KillTimer(m_edit, kTimerId);
    m_timerArmed = false;
  }
  if (m_pending.empty()) return;
  std::deque<std::wstring> lines;
  lines.swap(m_pending);
  // Lines that never reached the screen leave no gap in it: what is shown goes as well.
  const bool gap = m_pendingCut;
  m_pendingCut = false;

  // The oldest lines make room first, so that the caret ends after the newest.
  size_t dropChars = 0;
  if (gap || m_shown.size() + lines.size() > kLines + kTrimBatch) {
    while (!m_shown.empty() && (gap || m_shown.size() + lines.size() > kLines)) {
      dropChars += m_shown.front();
      m_shown.pop_front();
    }
  }
  if (dropChars > 0) {
    ::SendMessageW(m_edit, EM_SETSEL, 0, static_cast<LPARAM>(dropChars));
    ::SendMessageW(m_edit, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(L""));
  }

  std::wstring text;
  for (const std::wstring& line : lines) {
    text += line;
    m_shown.push_back(line.size());
  }
  const LRESULT end = ::GetWindowTextLengthW(m_edit);
  ::SendMessageW(m_edit, EM_SETSEL, end, end);
  ::SendMessageW(m_edit, EM_SCROLLCARET, 0, 0);
  ::SendMessageW(m_edit, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(text.c_str()));
  m_lastShown = ::GetTickCount64();
}

void CLogScreen::Clear() {
  if (!m_edit) return;
  if (m_timerArmed) ::KillTimer(m_edit, kTimerId);
  m_timerArmed = false;
  m_pending.clear();
  m_pendingCut = false;
  m_shown.clear();
  ::SetWindowTextW(m_edit, L"");
}

}  // namespace morvane
