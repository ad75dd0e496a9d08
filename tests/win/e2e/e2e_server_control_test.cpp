// Starting and stopping the server, end to end: an automatic start on a port that is taken fails
// and says so; Connect and Disconnect from the toolbar start and stop listening; the log saved by
// hand goes into a file of its own, and with SaveLogWhenQuite off nothing is saved on exit. The
// close through Cancel still runs the whole close sequence (settings, autorun entry).
#include <gtest/gtest.h>

#include <optional>

#include "EndToEnd.h"
#include "res/resource.h"
#include "standin/net/Socket.h"

namespace morvane::e2e {
namespace {

using morvane::testing::ReadFileBytes;
using morvane::testing::WriteFileBytes;

class EndToEndServerControl : public EndToEnd {
 protected:
  void SetUp() override {
    EndToEnd::SetUp();
    RemoveAutorunValue();
  }
  void TearDown() override {
    RemoveAutorunValue();
    EndToEnd::TearDown();
  }
};

TEST_F(EndToEndServerControl, FailedAutoStartThenConnectAndDisconnectAndLogSavedByHand) {
  const std::wstring base1 = folder / L"base1.txt";
  const std::string base1Bytes = RandomBytes(20000, 41);
  ASSERT_TRUE(WriteFileBytes(base1, base1Bytes));
  settings.Set(L"OneFileForAll_TSD", 1)
      .Set(L"BaseFile1PathEdit", base1)
      .Set(L"SaveLogOneFile", 0)
      .Set(L"SaveLogWhenQuite", 0)
      .Set(L"AutoRun", 1);

  std::string error;
  standin::net::Socket squatter = standin::net::ListenTcp(port, 1, error);
  ASSERT_TRUE(squatter.Valid()) << error;
  ASSERT_NO_FATAL_FAILURE(StartServer(false));
  ASSERT_TRUE(server.WaitForLog(kServerStartFailed)) << Describe(server.LogMessages());
  squatter.Close();

  server.PostCommand(ID_CONNECT);
  ASSERT_TRUE(server.WaitForLog(kServerStarted)) << Describe(server.LogMessages());
  const std::wstring got = folder / L"got.txt";
  const std::wstring fetchBase1 = L"download --serial A1B2C3 --base 1 --out \"" + got + L"\"";
  SimulatorRun run = RunSimulator(fetchBase1 + Common());
  EXPECT_EQ(run.exitCode, 0u) << run.output;
  EXPECT_TRUE(ReadFileBytes(got) == base1Bytes) << "the terminal's copy differs";

  server.PostCommand(ID_DISCONNECT);
  ASSERT_TRUE(server.WaitForLog(kServerStopped)) << Describe(server.LogMessages());
  run = RunSimulator(fetchBase1 + L" --wait 3000" + Common());
  EXPECT_EQ(run.exitCode, 1u) << "a stopped server still served a terminal\n" << run.output;

  // Save by hand, then start again: once the start line is there, the save is done.
  server.PostCommand(ID_LOG_SAVE);
  server.PostCommand(ID_CONNECT);
  ASSERT_TRUE(server.WaitForLog(kServerStarted, 2)) << Describe(server.LogMessages());
  const std::vector<std::wstring> savedFiles = FileNames(logs());
  ASSERT_EQ(savedFiles.size(), 1u);
  // "Log_d.m.yyyy_h-m-s_ms.log": the stamp's pieces, without leading zeros.
  int day = 0, month = 0, year = 0, hour = 0, minute = 0, second = 0, ms = 0;
  wchar_t tail[8] = {};
  EXPECT_EQ(::swscanf(savedFiles[0].c_str(), L"Log_%d.%d.%d_%d-%d-%d_%d.%3ls", &day, &month, &year,
                      &hour, &minute, &second, &ms, tail),
            8)
      << Narrow(savedFiles[0]);
  EXPECT_EQ(std::wstring(tail), L"log");
  EXPECT_EQ(savedFiles[0], L"Log_" + std::to_wstring(day) + L"." + std::to_wstring(month) + L"." +
                               std::to_wstring(year) + L"_" + std::to_wstring(hour) + L"-" +
                               std::to_wstring(minute) + L"-" + std::to_wstring(second) + L"_" +
                               std::to_wstring(ms) + L".log");
  const std::wstring savedByHand[] = {kServerStartFailed, kServerStarted,
                                      SentLine(base1, L"A1B2C3"), kServerStopped};
  const std::wstring savedPath = logs() + L"\\" + savedFiles[0];
  EXPECT_EQ(LogFileMessages(savedPath),
            std::vector<std::wstring>(std::begin(savedByHand), std::end(savedByHand)))
      << Describe(LogFileMessages(savedPath));

  ASSERT_NO_FATAL_FAILURE(CloseServer(IDCANCEL));

  // SaveLogWhenQuite is off: the exit added no file and left the saved one alone.
  EXPECT_EQ(FileNames(logs()), savedFiles);
  EXPECT_EQ(LogFileMessages(savedPath).size(), 4u);
  // The close sequence ran: settings saved, the autorun entry names the program.
  EXPECT_EQ(SettingsKey::ReadNumber(L"AutoRun"), 1u);
  EXPECT_EQ(SettingsKey::ReadNumber(L"Port"), static_cast<DWORD>(port));
  const std::optional<std::wstring> autorun = AutorunValue();
  ASSERT_TRUE(autorun.has_value());
  EXPECT_EQ(::lstrcmpiW(autorun->c_str(), WindowsPath(MORVANE_EXE).c_str()), 0) << Narrow(*autorun);
}

}  // namespace
}  // namespace morvane::e2e
