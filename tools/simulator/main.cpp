// terminal-sim: the terminal simulator. See SimulatorOptions.cpp for its command line.
#include <cstdio>
#include <string>
#include <vector>

#include "Exchanges.h"
#include "SimulatorOptions.h"

int main(int argc, char** argv) {
  using namespace morvane::simulator;
  std::setvbuf(stdout, nullptr, _IONBF, 0);
  const std::vector<std::string> args(argv + 1, argv + argc);
  Options options;
  std::string error;
  if (!ParseOptions(args, options, error)) {
    std::fprintf(stderr, "terminal-sim: %s\n\n%s", error.c_str(), kUsage);
    return kExitUsage;
  }
  switch (options.mode) {
    case Mode::kDownload:
      return RunDownload(options);
    case Mode::kUpload:
      return RunUpload(options);
    case Mode::kFleet:
      return RunFleet(options);
    case Mode::kTrickle:
      return RunTrickle(options);
  }
  return kExitUsage;
}
