#pragma once
// The event log: every line whole, kept for saving until the log is cleared, and on screen, in the
// main window's read-only multi-line edit control, its newest lines (CLogScreen). Adding a line
// costs the same however long the log has grown.
#include <windows.h>

#include <string>

#include "base/UtcTime.h"
#include "log/EventLog.h"
#include "log/LogSave.h"
#include "log/LogScreen.h"

namespace morvane {

class CSystemClock : public IClock {
 public:
  UtcTime NowUtc() const override;
};

class CLogView : public IEventLog, public ILogDocument {
 public:
  CLogView() = default;
  // edit: the log control; clock: where time stamps come from (the system clock when null).
  // Lifts the control's text limit, which the shown lines would pass.
  void Attach(HWND edit, const IClock* clock = nullptr);
  HWND Handle() const { return m_edit; }

  void AddLogLine(const std::wstring& message) override;
  // count lines of the one message at once (the benchmarks' preload of a long log).
  void AddLogLines(const std::wstring& message, size_t count);

  // Lines were added since the last Clear.
  bool IsModified() const override;
  // The whole log since the last Clear, every line whole: what a save writes.
  std::wstring Text() const override;
  // Lines that wait for the screen go there now.
  void ShowPendingLines() { m_screen.ShowPending(); }

  // The clear command (32788): empty log, modified flag reset.
  void Clear();
  // Save (32787), Save as (32786) and the save at program end. owner owns the Save dialog.
  // DirectoryLog may be written back into settings. Nothing is reported to the user.
  void SaveLog(LogSaveMode mode, ServerSettings& settings, HWND owner);
  // The log button (1034): its menu, opened upwards from the button, commands to owner.
  void ShowLogMenu(HWND owner, HWND button);

 private:
  HWND m_edit = nullptr;
  std::wstring m_text;  // the whole log
  bool m_modified = false;
  CLogScreen m_screen;
  CSystemClock m_systemClock;
  const IClock* m_clock = &m_systemClock;
};

}  // namespace morvane
