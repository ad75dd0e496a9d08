#pragma once
// Everything a terminal exchange reaches: the settings it reads and changes, the component (null
// while there is none: then no exchange call is made and no exchange line is logged), the log, the
// file system, the outside-program launcher and the clock.
#include "base/UtcTime.h"
#include "exchange/FileSystem.h"
#include "exchange/ProgramLauncher.h"
#include "log/EventLog.h"
#include "settings/ServerSettings.h"
#include "terminal/TerminalComponent.h"

namespace morvane {

struct ExchangeContext {
  ServerSettings& settings;
  ITerminalComponent* component;
  IEventLog& log;
  IFileSystem& fileSystem;
  IProgramLauncher& launcher;
  const IClock& clock;
};

}  // namespace morvane
