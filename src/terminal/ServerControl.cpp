#include "terminal/ServerControl.h"

namespace morvane {

void StartServer(ITerminalComponent* component, IEventLog& log, int& bConnected) {
  if (!component) return;
  if (component->Attach() != 0) {
    bConnected = 1;
    log.AddLogLine(L"Сервер запущен!");
  } else {
    bConnected = 0;
    log.AddLogLine(L"Ошибка запуска сервера!");
  }
}

void StopServer(ITerminalComponent* component, IEventLog& log, int& bConnected) {
  if (!component) return;
  // The wrapper calls nothing when its component is not loaded; the result is not examined.
  component->Detach();
  bConnected = 0;
  log.AddLogLine(L"Сервер остановлен!");
}

ConnectCommandStates ConnectCommandStatesFor(int bConnected) {
  const bool connected = bConnected == 1;
  return {!connected, connected};
}

}  // namespace morvane
