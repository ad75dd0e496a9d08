#pragma once
// One terminal's exchanges, as the command line asks for them, with what they print.
#include <string>

#include "SimulatorOptions.h"

namespace morvane::simulator {

// Exit codes of the simulator.
inline constexpr int kExitOk = 0;
inline constexpr int kExitFailed = 1;
inline constexpr int kExitNoFile = 2;
inline constexpr int kExitUsage = 3;

int RunDownload(const Options& options);
int RunUpload(const Options& options);
int RunFleet(const Options& options);
// An upload that announces its size and then trickles, to see how long the component bears it.
int RunTrickle(const Options& options);

}  // namespace morvane::simulator
