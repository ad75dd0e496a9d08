#pragma once
// What the options dialog and its pages work on: the settings record, the component (for "Port",
// "Delay" and "Delimiter") and the main window (whose transparency the General page previews).
#include <windows.h>

namespace morvane {

struct ServerSettings;
class ITerminalComponent;

struct OptionsContext {
  ServerSettings& settings;
  ITerminalComponent* component;  // null: no component; its values are then neither read nor set
  HWND mainWindow;
};

}  // namespace morvane
