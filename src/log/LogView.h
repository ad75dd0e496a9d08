#pragma once
// The on-screen log: the main window's read-only multi-line edit control. Lines are inserted at
// the end of the text (EM_REPLACESEL); the existing text is never set anew, so adding a line costs
// the same after weeks of running as on the first day.
#include <windows.h>

#include "base/UtcTime.h"
#include "log/EventLog.h"

namespace morvane {

class CSystemClock : public IClock {
 public:
  UtcTime NowUtc() const override;
};

class CLogView : public IEventLog {
 public:
  CLogView() = default;
  // edit: the log control; clock: where time stamps come from (the system clock when null).
  void Attach(HWND edit, const IClock* clock = nullptr);
  HWND Handle() const { return m_edit; }

  void AddLogLine(const std::wstring& message) override;

 private:
  HWND m_edit = nullptr;
  CSystemClock m_systemClock;
  const IClock* m_clock = &m_systemClock;
};

}  // namespace morvane
