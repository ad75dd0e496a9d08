#pragma once
// Starting and stopping the server: the component listens for terminals ("Attach") or stops
// ("Detach"), and the window's connected flag mirrors that. Connect and Disconnect, on the toolbar
// and in the notification-area menu, are enabled by the same rule.
#include "log/EventLog.h"
#include "terminal/TerminalComponent.h"

namespace morvane {

// component is null while the process has no component object: then nothing happens, no line
// is logged and the flag stays as it was. bConnected is the window's m_bConnected (1 or 0).
void StartServer(ITerminalComponent* component, IEventLog& log, int& bConnected);
void StopServer(ITerminalComponent* component, IEventLog& log, int& bConnected);

struct ConnectCommandStates {
  bool connectEnabled;     // command 1065, "Подключить"
  bool disconnectEnabled;  // command 1064, "Отключить"
};
// While connected (exactly 1) only Disconnect is enabled; otherwise only Connect.
ConnectCommandStates ConnectCommandStatesFor(int bConnected);

}  // namespace morvane
