#pragma once
// Everything a terminal exchange reaches: the settings it reads and changes, the component (null
// while there is none: then no exchange call is made and no exchange line is logged), the log, the
// file system, the outside-program launcher, the clock, and the settings store (null where
// nothing is kept) for the values that must reach it at once.
#include "base/UtcTime.h"
#include "exchange/FileSystem.h"
#include "exchange/ProgramLauncher.h"
#include "log/EventLog.h"
#include "settings/ServerSettings.h"
#include "settings/SettingsStore.h"
#include "terminal/TerminalComponent.h"

namespace morvane {

struct ExchangeContext {
  ServerSettings& settings;
  ITerminalComponent* component;
  IEventLog& log;
  IFileSystem& fileSystem;
  IProgramLauncher& launcher;
  const IClock& clock;
  ISettingsStore* settingsStore = nullptr;
};

}  // namespace morvane
