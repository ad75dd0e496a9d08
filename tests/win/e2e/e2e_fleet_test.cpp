// A fleet of terminals at once, end to end: downloads and uploads interleave while the window
// serves one request at a time. Every upload must land in a file of its own, under the name of
// the terminal that sent it, with its own bytes; the counter numbers them without a gap. And a
// program closed in the middle of such traffic ends normally, with the counter it saves in step
// with the files that landed.
#include <gtest/gtest.h>

#include <cstdio>
#include <map>
#include <set>

#include "EndToEnd.h"

namespace morvane::e2e {
namespace {

using morvane::testing::ReadFileBytes;
using morvane::testing::WriteFileBytes;

constexpr int kTerminals = 8;
constexpr int kExchanges = 8;
constexpr size_t kUploadBytes = 3000;

class EndToEndFleet : public EndToEnd {
 protected:
  void SetUp() override {
    EndToEnd::SetUp();
    ASSERT_TRUE(WriteFileBytes(base1, RandomBytes(30000, 51)));
    ASSERT_TRUE(::CreateDirectoryW(uploads.c_str(), nullptr));
    settings.Set(L"OneFileForAll_TSD", 1)
        .Set(L"BaseFile1PathEdit", base1)
        .Set(L"OneFileForAllTSD", 0)
        .Set(L"DirectoryForUpload", uploads)
        .Set(L"SNFileName", 1)
        .Set(L"AddNumberBD", 1)
        .Set(L"SuffiksRadio", 1)
        .Set(L"ColNumberIndex", 4)
        .Set(L"SuffiksIndex", 1);
  }

  std::wstring FleetArguments(int terminals, int exchanges) const {
    return L"fleet --terminals " + std::to_wstring(terminals) + L" --exchanges " +
           std::to_wstring(exchanges) + L" --upload-bytes " + std::to_wstring(kUploadBytes) +
           Common();
  }

  // Checks that each file in the upload folder holds one upload of the terminal it is named
  // after; returns the uploads found per serial and the counter numbers of the names.
  void CheckUploadFiles(std::map<std::string, std::set<int>>& landed, std::set<int>& numbers) {
    for (const std::wstring& name : FileNames(uploads)) {
      char serial[16] = {};
      int number = 0;
      if (std::sscanf(Narrow(name).c_str(), "%7s_Base1_%5d.txt", serial, &number) != 2) {
        ADD_FAILURE() << "unexpected file " << Narrow(name);
        continue;
      }
      numbers.insert(number);
      const std::string bytes = ReadFileBytes(uploads + L"\\" + name);
      int exchange = 0;
      const std::string prefix = std::string(serial) + ";";
      if (bytes.compare(0, prefix.size(), prefix) != 0 ||
          std::sscanf(bytes.c_str() + prefix.size(), "%d;", &exchange) != 1 ||
          bytes != FleetUploadText(serial, exchange, kUploadBytes)) {
        ADD_FAILURE() << Narrow(name) << " does not hold an upload of " << serial;
        continue;
      }
      landed[serial].insert(exchange);
    }
  }

  // "...SN: SIM0003 IP: 127.0.0.1 в: <uploads>\SIM0003_Base1_00007.txt": each fetched line names
  // a file of the terminal it speaks of.
  void CheckFetchedLines(const std::vector<std::wstring>& messages) {
    for (const std::wstring& m : messages) {
      if (m.compare(0, kFetched.size(), kFetched) != 0) continue;
      const std::wstring serial = m.substr(kFetched.size(), 7);
      const std::wstring ownName = FetchedLine(uploads + L"\\" + serial + L"_Base1_", serial);
      EXPECT_EQ(m.compare(0, ownName.size(), ownName), 0) << Describe({m});
    }
  }

  const std::wstring kFetched = L"Данные выгружены из терминала - SN: ";
  const std::wstring base1 = folder / L"base1.txt";
  const std::wstring uploads = folder / L"up";
};

TEST_F(EndToEndFleet, FleetOfTerminalsLosesNoUpload) {
  ASSERT_NO_FATAL_FAILURE(StartServer());

  // The fleet alternates: terminal t's exchange e is an upload when t + e is odd.
  std::map<std::string, std::set<int>> expectedUploads;
  for (int t = 0; t < kTerminals; ++t) {
    char serial[16];
    std::snprintf(serial, sizeof serial, "SIM%04d", t + 1);
    for (int e = 0; e < kExchanges; ++e) {
      if ((t + e) % 2 == 1) expectedUploads[serial].insert(e + 1);
    }
  }
  const size_t uploadCount = kTerminals * kExchanges / 2;

  const SimulatorRun run = RunSimulator(FleetArguments(kTerminals, kExchanges));
  EXPECT_EQ(run.exitCode, 0u) << run.output;
  std::printf("%s", run.output.c_str());  // the fleet's figures
  ASSERT_TRUE(server.WaitForLog(kFetched, uploadCount)) << Describe(server.LogMessages());

  ASSERT_NO_FATAL_FAILURE(CloseServer(IDOK));

  std::map<std::string, std::set<int>> landed;
  std::set<int> numbers;
  CheckUploadFiles(landed, numbers);
  EXPECT_EQ(landed, expectedUploads);
  EXPECT_EQ(numbers.size(), uploadCount);
  EXPECT_EQ(numbers.empty() ? 0 : *numbers.rbegin(), static_cast<int>(uploadCount));

  // The saved log: the start, one line per exchange, no failure; the counter saved at close.
  const std::vector<std::wstring> saved = LogFileMessages(logs() + L"\\Log.log");
  EXPECT_EQ(saved.size(), 1u + kTerminals * kExchanges) << Describe(saved);
  EXPECT_EQ(CountStartingWith(saved, kServerStarted), 1u);
  const std::wstring sentStart = L"Файл \"" + base1 + L"\" успешно загружен в терминал - SN: SIM";
  EXPECT_EQ(CountStartingWith(saved, sentStart), uploadCount);
  EXPECT_EQ(CountStartingWith(saved, kFetched), uploadCount);
  CheckFetchedLines(saved);
  EXPECT_EQ(SettingsKey::ReadNumber(L"SuffiksIndex"), static_cast<DWORD>(uploadCount + 1));
}

TEST_F(EndToEndFleet, ClosingDuringTrafficKeepsCounterLogAndFilesInStep) {
  ASSERT_NO_FATAL_FAILURE(StartServer());
  // More exchanges than will happen: the program is closed while terminals keep coming.
  Simulator fleet(FleetArguments(6, 200) + L" --wait 10000");
  ASSERT_TRUE(server.WaitForLog(kFetched, 10)) << Describe(server.LogMessages());

  ASSERT_NO_FATAL_FAILURE(CloseServer(IDOK));
  const SimulatorRun run = fleet.Wait(60000);
  EXPECT_EQ(run.exitCode, 1u) << "the fleet cannot have finished against a closed server\n"
                              << run.output;

  // Whatever landed before the close is whole, numbered 1..n without a gap, logged once each,
  // and the saved counter is the next number.
  std::map<std::string, std::set<int>> landed;
  std::set<int> numbers;
  CheckUploadFiles(landed, numbers);
  const size_t files = FileNames(uploads).size();
  EXPECT_GE(files, 10u);
  EXPECT_EQ(numbers.size(), files);
  EXPECT_EQ(numbers.empty() ? 0 : *numbers.rbegin(), static_cast<int>(files));
  const std::vector<std::wstring> saved = LogFileMessages(logs() + L"\\Log.log");
  EXPECT_EQ(CountStartingWith(saved, kFetched), files) << Describe(saved);
  CheckFetchedLines(saved);
  EXPECT_EQ(SettingsKey::ReadNumber(L"SuffiksIndex"), static_cast<DWORD>(files + 1));
}

}  // namespace
}  // namespace morvane::e2e
