#include "SimulatorOptions.h"

#include <cstdint>

#include "standin/protocol/Messages.h"

namespace morvane::simulator {

const char kUsage[] =
    "terminal-sim: plays CipherLab 9x00 terminals against the communication component\n"
    "\n"
    "  terminal-sim download --serial SN --base N --out FILE   [common]\n"
    "  terminal-sim upload   --serial SN --base N --kind 1|2 --file FILE [--extra X] [common]\n"
    "  terminal-sim fleet    --terminals N --exchanges M [--base N] [--upload-bytes B] [common]\n"
    "                        [--only download|upload] [--file FILE] [--out-dir DIR]\n"
    "      --only: every exchange of that kind (default: alternating)\n"
    "      --file: every upload sends this file; --out-dir: keeps each download there\n"
    "  terminal-sim trickle  --serial SN --base N --kind 1|2 [--declare B] [--every MS] [common]\n"
    "      (a hostile upload: announces B bytes (1 GiB), then sends one byte every MS (2000)\n"
    "       until the component drops it)\n"
    "\n"
    "common: --host H (127.0.0.1)  --port P (5000)  --delimiter CODE (59, ';')\n"
    "        --timeout MS (10000: longest pause inside a transfer)\n"
    "        --wait MS (120000: how long to wait for the server to act on a request)\n"
    "\n"
    "Exit code: 0 done, 1 failed, 2 the server had no file (download), 3 bad command line.\n";

namespace {

bool ToNumber(const std::string& text, uint64_t max, uint64_t& value) {
  return standin::ParseDecimal(text, max, value);
}

}  // namespace

bool ParseOptions(const std::vector<std::string>& args, Options& o, std::string& error) {
  if (args.empty()) {
    error = "no mode given";
    return false;
  }
  if (args[0] == "download") {
    o.mode = Mode::kDownload;
  } else if (args[0] == "upload") {
    o.mode = Mode::kUpload;
  } else if (args[0] == "fleet") {
    o.mode = Mode::kFleet;
  } else if (args[0] == "trickle") {
    o.mode = Mode::kTrickle;
  } else {
    error = "unknown mode " + args[0];
    return false;
  }
  for (size_t i = 1; i < args.size(); ++i) {
    const std::string& name = args[i];
    if (i + 1 >= args.size()) {
      error = name + " needs a value";
      return false;
    }
    const std::string& value = args[++i];
    uint64_t n = 0;
    auto number = [&](uint64_t max) {
      if (ToNumber(value, max, n)) return true;
      error = name + ": not a number up to " + std::to_string(max) + ": " + value;
      return false;
    };
    if (name == "--host") {
      o.client.host = value;
    } else if (name == "--port") {
      if (!number(65535)) return false;
      o.client.port = static_cast<int>(n);
    } else if (name == "--delimiter") {
      if (!number(255)) return false;
      o.client.delimiter = standin::EffectiveDelimiter(static_cast<int>(n));
    } else if (name == "--timeout") {
      if (!number(3600000)) return false;
      o.client.stepTimeoutMs = static_cast<int>(n);
    } else if (name == "--wait") {
      if (!number(3600000)) return false;
      o.client.answerTimeoutMs = static_cast<int>(n);
    } else if (name == "--serial") {
      o.serial = value;
    } else if (name == "--base") {
      if (!number(99999)) return false;
      o.base = static_cast<int>(n);
    } else if (name == "--kind") {
      if (!number(2)) return false;
      o.dataKind = static_cast<int>(n);
    } else if (name == "--extra") {
      o.extra = value;
    } else if (name == "--out") {
      o.outPath = value;
    } else if (name == "--file") {
      o.inPath = value;
    } else if (name == "--out-dir") {
      o.outDir = value;
    } else if (name == "--only") {
      if (value != "download" && value != "upload") {
        error = "--only takes download or upload";
        return false;
      }
      o.mix = value == "download" ? FleetMix::kDownloads : FleetMix::kUploads;
    } else if (name == "--terminals") {
      if (!number(1000)) return false;
      o.terminals = static_cast<int>(n);
    } else if (name == "--exchanges") {
      if (!number(100000)) return false;
      o.exchanges = static_cast<int>(n);
    } else if (name == "--declare") {
      if (!number(UINT64_MAX)) return false;
      o.declaredBytes = n;
    } else if (name == "--every") {
      if (!number(3600000)) return false;
      o.byteEveryMs = static_cast<int>(n);
    } else if (name == "--upload-bytes") {
      if (!number(uint64_t{1} << 30)) return false;
      o.uploadBytes = static_cast<size_t>(n);
    } else {
      error = "unknown option " + name;
      return false;
    }
  }
  if (o.mode == Mode::kDownload && o.outPath.empty()) error = "download needs --out";
  if (o.mode == Mode::kUpload && o.inPath.empty()) error = "upload needs --file";
  if (o.mode == Mode::kFleet && (o.terminals < 1 || o.exchanges < 1)) {
    error = "fleet needs at least one terminal and one exchange";
  }
  return error.empty();
}

}  // namespace morvane::simulator
