#pragma once
// One copy of the program per logon session. A second copy would fail to listen and, on exit,
// write its stale settings (the upload counter among them) over the running copy's; so a second
// start only brings the running copy's window up and ends before it touches the component or the
// registry.
#include <windows.h>

#include "framework/ScopedResource.h"

namespace morvane {

// Held by the running copy for its whole life.
inline constexpr wchar_t kInstanceMutexName[] = L"Local\\Morvane.ServerInstance";

class CSingleInstance {
 public:
  // Takes the session's instance mutex. False when another copy holds it.
  bool Acquire();

 private:
  ScopedHandle m_mutex;
};

// Asks the running copy to show its main window, as its "Развернуть..." command does. Posted, not
// sent: that copy may be busy waiting for an outside program. Nothing when its window is not there
// (yet): it then shows itself as configured.
void ShowRunningCopy();

}  // namespace morvane
