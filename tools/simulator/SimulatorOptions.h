#pragma once
// The simulator's command line.
#include <cstdint>
#include <string>
#include <vector>

#include "standin/client/TerminalClient.h"

namespace morvane::simulator {

enum class Mode { kDownload, kUpload, kFleet, kTrickle };
// Which exchanges the fleet makes: alternating (the default), or all of one kind.
enum class FleetMix { kAlternate, kDownloads, kUploads };

struct Options {
  Mode mode = Mode::kDownload;
  standin::ClientOptions client;
  std::string serial = "SIM0001";
  int base = 1;
  int dataKind = 1;
  std::string extra;
  std::string outPath;  // download: where the file goes
  std::string inPath;   // upload: what is sent; fleet: what every upload sends
  std::string outDir;   // fleet: keeps each download as <serial>-<exchange>.bin here
  FleetMix mix = FleetMix::kAlternate;
  int terminals = 10;                          // fleet
  int exchanges = 10;                          // fleet: per terminal
  size_t uploadBytes = 4096;                   // fleet: size of each upload
  uint64_t declaredBytes = uint64_t{1} << 30;  // trickle: the size its DATA line announces
  int byteEveryMs = 2000;                      // trickle: one byte this often
};

// Fills options from argv; false with a message in error for anything it does not understand.
bool ParseOptions(const std::vector<std::string>& args, Options& options, std::string& error);

extern const char kUsage[];

}  // namespace morvane::simulator
