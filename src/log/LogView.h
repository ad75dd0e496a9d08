#pragma once
// The on-screen log: the main window's read-only multi-line edit control. Lines are inserted at
// the end of the text (EM_REPLACESEL); the existing text is never set anew, so adding a line never
// copies the whole log through the program.
#include <windows.h>

#include "base/UtcTime.h"
#include "log/EventLog.h"
#include "log/LogSave.h"

namespace morvane {

class CSystemClock : public IClock {
 public:
  UtcTime NowUtc() const override;
};

class CLogView : public IEventLog, public ILogDocument {
 public:
  CLogView() = default;
  // edit: the log control; clock: where time stamps come from (the system clock when null).
  // Lifts the control's text limit, so that a server running for weeks keeps every line.
  void Attach(HWND edit, const IClock* clock = nullptr);
  HWND Handle() const { return m_edit; }

  void AddLogLine(const std::wstring& message) override;
  // count lines of the one message at once (the benchmarks' preload of a long log).
  void AddLogLines(const std::wstring& message, size_t count);

  // Lines were added since the last Clear (the control's modified flag).
  bool IsModified() const override;
  std::wstring Text() const override;

  // The clear command (32788): empty log, modified flag reset.
  void Clear();
  // Save (32787), Save as (32786) and the save at program end. owner owns the Save dialog.
  // DirectoryLog may be written back into settings. Nothing is reported to the user.
  void SaveLog(LogSaveMode mode, ServerSettings& settings, HWND owner);
  // The log button (1034): its menu, opened upwards from the button, commands to owner.
  void ShowLogMenu(HWND owner, HWND button);

 private:
  HWND m_edit = nullptr;
  CSystemClock m_systemClock;
  const IClock* m_clock = &m_systemClock;
};

}  // namespace morvane
