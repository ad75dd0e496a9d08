#pragma once
// What the log control shows: the newest lines of the log, each cut to a length that the control
// lays out quickly. Wine's edit control spends time in proportion to its whole text on every
// insertion, so the shown text is kept bounded, and lines that come in a burst are inserted
// together: the first line after a quiet spell at once, later ones at most kDelayMs after it.
// Lines are inserted at the end (EM_REPLACESEL) and the oldest removed from the front; the text
// is never set anew. Removing lines from the front costs as much as an insertion, so the oldest
// go in batches: the control shows between kLines and kLines + kTrimBatch lines.
#include <windows.h>

#include <deque>
#include <string>

namespace morvane {

class CLogScreen {
 public:
  static constexpr size_t kLines = 1000;       // at least the newest this many lines are shown
  static constexpr size_t kTrimBatch = 100;    // the oldest leave this many at a time
  static constexpr size_t kLineLength = 1000;  // characters of one line shown, line end aside
  static constexpr ULONGLONG kDelayMs = 50;    // longest wait of a line for the screen

  CLogScreen() = default;
  ~CLogScreen();
  CLogScreen(const CLogScreen&) = delete;
  CLogScreen& operator=(const CLogScreen&) = delete;

  void Attach(HWND edit);
  // One whole log line, line end included. It goes on screen now or within kDelayMs.
  void Add(const std::wstring& line);
  // The same line count times: the shown part at once.
  void AddRepeated(const std::wstring& line, size_t count);
  // Puts the lines still waiting on screen now.
  void ShowPending();
  // An empty control, nothing waiting.
  void Clear();

 private:
  void Queue(const std::wstring& line);
  void ArmTimer(ULONGLONG delayMs);
  static void CALLBACK OnTimer(HWND edit, UINT, UINT_PTR, DWORD);

  HWND m_edit = nullptr;
  std::deque<std::wstring> m_pending;  // cut lines not on screen yet, at most kLines
  bool m_pendingCut = false;           // lines were dropped from m_pending unshown
  std::deque<size_t> m_shown;          // the length of each line on screen, oldest first
  ULONGLONG m_lastShown = 0;           // tick count of the last insertion
  bool m_timerArmed = false;
};

// The line as the screen shows it: at most kLineLength characters before its line end, the last
// of them an ellipsis when it was cut.
std::wstring ScreenLogLine(const std::wstring& line);

}  // namespace morvane
