// The fleet against the real server: Morvane-bench.exe (Morvane.exe with the preload hook) with
// the stand-in component, played by terminal-sim's fleet. Exchanges per second with an empty log
// and with a preloaded long log, and their ratio. Every run is checked: no failed exchange, every
// upload's file byte for byte, every exchange in the log saved at exit.
//   bench_fleet [--terminals N] [--exchanges M] [--preload LINES] [--rounds R]
// Each round runs the empty log and then the preloaded one; the best rate of each is compared.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cwchar>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "BenchLogLine.h"
#include "E2eSupport.h"
#include "ServerProcess.h"
#include "SettingsKey.h"
#include "win/exchange/TempFolder.h"

namespace morvane::bench {
namespace {

using e2e::Narrow;

constexpr size_t kUploadBytes = 3000;
constexpr int kMinutes = 60000;

struct Config {
  int terminals = 48;
  int exchanges = 20;
  size_t preload = 100000;
  int rounds = 1;
};

struct FleetRun {
  std::string problem;  // empty when every check passed
  double perSecond = 0;
  double seconds = 0;
  int failed = -1;
  size_t uploadsExpected = 0;
  size_t uploadsIdentical = 0;
  size_t exchangesLogged = 0;
  size_t preloadSaved = 0;
};

std::string Serial(int terminal) {
  char serial[16];
  std::snprintf(serial, sizeof serial, "SIM%04d", terminal + 1);
  return serial;
}

// The fleet alternates: terminal t's exchange e (from 0) is an upload when t + e is odd.
bool IsUpload(int terminal, int exchange) {
  return (terminal + exchange) % 2 == 1;
}

// The upload files, each named "<serial>_Base1_<counter>.txt": how many hold exactly an upload
// that the fleet sent, each counted once.
size_t IdenticalUploads(const Config& c, const std::wstring& folder) {
  std::set<std::pair<std::string, int>> expected;
  for (int t = 0; t < c.terminals; ++t)
    for (int e = 0; e < c.exchanges; ++e)
      if (IsUpload(t, e)) expected.insert({Serial(t), e + 1});
  size_t identical = 0;
  for (const std::wstring& name : e2e::FileNames(folder)) {
    char serial[16] = {};
    int counter = 0;
    int exchange = 0;
    if (std::sscanf(Narrow(name).c_str(), "%7s_Base1_%d.txt", serial, &counter) != 2) continue;
    const std::string bytes = testing::ReadFileBytes(folder + L"\\" + name);
    const std::string prefix = std::string(serial) + ";";
    if (bytes.compare(0, prefix.size(), prefix) != 0 ||
        std::sscanf(bytes.c_str() + prefix.size(), "%d;", &exchange) != 1 ||
        bytes != e2e::FleetUploadText(serial, exchange, kUploadBytes)) {
      continue;
    }
    identical += expected.erase({serial, exchange});
  }
  return identical;
}

// The saved log: the preloaded lines, the server's start, then one line per exchange and nothing
// else. Counts the exchanges whose line is there (per terminal, as many as it made of each kind).
void CheckSavedLog(const Config& c, const std::wstring& path, const std::wstring& base,
                   const std::wstring& uploads, FleetRun& run) {
  const std::vector<std::wstring> saved = e2e::LogFileMessages(path);
  size_t at = 0;
  while (at < saved.size() && at < run.preloadSaved + 1 && saved[at] == kLogMessage)
    ++at;
  run.preloadSaved = at;
  if (at < saved.size() && saved[at] == L"Сервер запущен!") ++at;
  std::map<std::wstring, std::pair<int, int>> perSerial;  // downloads, uploads logged
  size_t other = 0;
  for (; at < saved.size(); ++at) {
    const std::wstring& m = saved[at];
    const size_t sn = m.find(L" - SN: ");
    const std::wstring serial = sn == std::wstring::npos ? L"" : m.substr(sn + 7, 7);
    const std::wstring sent =
        L"Файл \"" + base + L"\" успешно загружен в терминал - SN: " + serial + L" IP: 127.0.0.1";
    const std::wstring fetched = L"Данные выгружены из терминала - SN: " + serial +
                                 L" IP: 127.0.0.1 в: " + uploads + L"\\" + serial + L"_Base1_";
    if (m == sent) {
      ++perSerial[serial].first;
    } else if (m.compare(0, fetched.size(), fetched) == 0) {
      ++perSerial[serial].second;
    } else {
      ++other;
    }
  }
  for (int t = 0; t < c.terminals; ++t) {
    int downloads = 0;
    for (int e = 0; e < c.exchanges; ++e)
      downloads += IsUpload(t, e) ? 0 : 1;
    const auto logged = perSerial[e2e::Widen(Serial(t))];
    run.exchangesLogged += static_cast<size_t>(std::min(logged.first, downloads)) +
                           static_cast<size_t>(std::min(logged.second, c.exchanges - downloads));
  }
  if (other > 0 && run.problem.empty())
    run.problem = std::to_string(other) + " unexpected lines in the saved log";
}

FleetRun RunFleet(const Config& c, size_t preload) {
  FleetRun run;
  testing::TempFolder folder;
  const std::wstring logs = folder / L"logs";
  const std::wstring uploads = folder / L"up";
  const std::wstring base = folder / L"base1.txt";
  ::CreateDirectoryW(logs.c_str(), nullptr);
  ::CreateDirectoryW(uploads.c_str(), nullptr);
  testing::WriteFileBytes(base, e2e::RandomBytes(30000, 51));
  const int port = e2e::FreePort();

  // The benchmark profile: the shared set for downloads, a file of its own per upload, the log
  // appended to "Log.log" at exit.
  e2e::SettingsKey::Remove();
  e2e::SettingsKey settings;
  settings.Set(L"Port", static_cast<DWORD>(port))
      .Set(L"AutoConnect", 1)
      .Set(L"DirectoryLog", logs)
      .Set(L"SaveLogWhenQuite", 1)
      .Set(L"SaveLogOneFile", 1)
      .Set(L"OneFileForAll_TSD", 1)
      .Set(L"BaseFile1PathEdit", base)
      .Set(L"OneFileForAllTSD", 0)
      .Set(L"DirectoryForUpload", uploads)
      .Set(L"SNFileName", 1)
      .Set(L"AddNumberBD", 1)
      .Set(L"SuffiksRadio", 1)
      .Set(L"ColNumberIndex", 5)
      .Set(L"SuffiksIndex", 1);
  if (!settings.Write()) {
    run.problem = "cannot write the settings key";
    return run;
  }
  ::SetEnvironmentVariableW(L"MORVANE_BENCH_PRELOAD_LINES", std::to_wstring(preload).c_str());

  e2e::ServerProcess server;
  if (!server.Start(folder.Path(), 10 * kMinutes)) {
    run.problem = server.Error();
    return run;
  }
  if (!server.WaitForLog(L"Сервер запущен!", 1, 30 * kMinutes)) {
    run.problem = "the server did not start listening";
    return run;
  }

  const std::wstring arguments = L"fleet --terminals " + std::to_wstring(c.terminals) +
                                 L" --exchanges " + std::to_wstring(c.exchanges) +
                                 L" --upload-bytes " + std::to_wstring(kUploadBytes) + L" --port " +
                                 std::to_wstring(port) + L" --delimiter 59";
  const e2e::SimulatorRun fleet = e2e::RunSimulator(arguments, 60 * kMinutes);
  int terminals = 0, exchanges = 0, downloadsOk = 0, downloadsFailed = 0, uploadsOk = 0,
      uploadsFailed = 0;
  size_t total = 0;
  const size_t figures = fleet.output.find("fleet: ");
  if (figures == std::string::npos ||
      std::sscanf(fleet.output.c_str() + figures,
                  "fleet: %d terminals x %d exchanges = %zu exchanges in %lf s (%lf per second)\n"
                  "  downloads: %d ok, %d failed; uploads: %d ok, %d failed",
                  &terminals, &exchanges, &total, &run.seconds, &run.perSecond, &downloadsOk,
                  &downloadsFailed, &uploadsOk, &uploadsFailed) != 9) {
    run.problem = "no figures from the simulator: " + fleet.output;
    return run;
  }
  run.failed = downloadsFailed + uploadsFailed;

  DWORD exitCode = 0xFFFFFFFF;
  if (!server.Close(IDOK, exitCode, 30 * kMinutes) || exitCode != 0) {
    run.problem = "the server did not close normally";
    return run;
  }
  run.uploadsExpected = static_cast<size_t>(c.terminals * c.exchanges) / 2;
  run.uploadsIdentical = IdenticalUploads(c, uploads);
  run.preloadSaved = preload;
  CheckSavedLog(c, logs + L"\\Log.log", base, uploads, run);
  e2e::SettingsKey::Remove();

  const size_t all = static_cast<size_t>(c.terminals * c.exchanges);
  if (run.problem.empty() && (run.failed != 0 || fleet.exitCode != 0))
    run.problem = "failed exchanges";
  if (run.problem.empty() && run.uploadsIdentical != run.uploadsExpected)
    run.problem = "uploads missing or not byte-identical";
  if (run.problem.empty() && run.exchangesLogged != all)
    run.problem = "exchanges missing in the saved log";
  if (run.problem.empty() && run.preloadSaved != preload)
    run.problem = "preloaded lines missing in the saved log";
  return run;
}

void Print(const Config& c, const char* what, const FleetRun& run) {
  const size_t all = static_cast<size_t>(c.terminals * c.exchanges);
  std::printf(
      "  %-22s %6.1f exchanges/s (%zu in %.1f s); %d failed; %zu of %zu uploads byte-identical; "
      "%zu of %zu exchanges in the saved log%s%s\n",
      what, run.perSecond, all, run.seconds, run.failed, run.uploadsIdentical, run.uploadsExpected,
      run.exchangesLogged, all, run.problem.empty() ? "" : "  PROBLEM: ", run.problem.c_str());
  std::fflush(stdout);
}

int ReadNumber(const wchar_t* text) {
  return static_cast<int>(std::wcstol(text, nullptr, 10));
}

}  // namespace
}  // namespace morvane::bench

int wmain(int argc, wchar_t** argv) {
  using namespace morvane::bench;
  Config c;
  for (int i = 1; i + 1 < argc; i += 2) {
    const std::wstring name = argv[i];
    const int value = ReadNumber(argv[i + 1]);
    if (name == L"--terminals") c.terminals = value;
    if (name == L"--exchanges") c.exchanges = value;
    if (name == L"--preload") c.preload = static_cast<size_t>(value);
    if (name == L"--rounds") c.rounds = value;
  }
  std::printf("fleet: %d terminals x %d mixed exchanges, window shown, %d round(s)\n", c.terminals,
              c.exchanges, c.rounds);
  std::fflush(stdout);
  const std::string preloaded = std::to_string(c.preload) + " lines preloaded:";
  double bestEmpty = 0;
  double bestPreloaded = 0;
  bool allSound = true;
  for (int round = 0; round < c.rounds; ++round) {
    const FleetRun empty = RunFleet(c, 0);
    Print(c, "empty log:", empty);
    const FleetRun full = RunFleet(c, c.preload);
    Print(c, preloaded.c_str(), full);
    allSound = allSound && empty.problem.empty() && full.problem.empty();
    bestEmpty = std::max(bestEmpty, empty.perSecond);
    bestPreloaded = std::max(bestPreloaded, full.perSecond);
  }
  std::printf(
      "fleet: %.1f exchanges/s with an empty log, %.1f with %zu lines; ratio %.2f "
      "(target at most 1.3)%s\n",
      bestEmpty, bestPreloaded, c.preload, bestPreloaded > 0 ? bestEmpty / bestPreloaded : 0.0,
      allSound ? "" : "; SOME RUNS FAILED THEIR CHECKS");
  return allSound ? 0 : 1;
}
