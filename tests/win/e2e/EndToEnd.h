#pragma once
// The fixture of the end-to-end tests: a working folder of the test's own (with "logs" for the
// saved log), the settings key written from scratch, the program started and, at the end, the
// key removed again. The program listens on a port picked free for the test.
#include <gtest/gtest.h>

#include <string>

#include "E2eSupport.h"
#include "ServerProcess.h"
#include "SettingsKey.h"
#include "win/exchange/TempFolder.h"

namespace morvane::e2e {

// The lines the server writes, as the tests expect them after the time stamp.
inline const std::wstring kServerStarted = L"Сервер запущен!";
inline const std::wstring kServerStartFailed = L"Ошибка запуска сервера!";
inline const std::wstring kServerStopped = L"Сервер остановлен!";
inline const std::wstring kTerminalIp = L"127.0.0.1";  // the simulator comes over loopback

inline std::wstring SentLine(const std::wstring& path, const std::wstring& serial,
                             const std::wstring& ip = kTerminalIp) {
  return L"Файл \"" + path + L"\" успешно загружен в терминал - SN: " + serial + L" IP: " + ip;
}

inline std::wstring FetchedLine(const std::wstring& path, const std::wstring& serial,
                                const std::wstring& ip = kTerminalIp) {
  return L"Данные выгружены из терминала - SN: " + serial + L" IP: " + ip + L" в: " + path;
}

class EndToEnd : public ::testing::Test {
 protected:
  void SetUp() override {
    // A second copy would only show the first one's window and end: each test needs its own.
    ASSERT_TRUE(ServerProcess::WaitUntilNoCopyRuns()) << "a program of an earlier test still runs";
    SettingsKey::Remove();
    port = FreePort();
    ASSERT_NE(port, 0);
    ASSERT_TRUE(::CreateDirectoryW(logs().c_str(), nullptr));
    settings.Set(L"Port", static_cast<DWORD>(port))
        .Set(L"Delay", 5000)
        .Set(L"AutoConnect", 1)
        .Set(L"DirectoryLog", logs());
  }
  void TearDown() override { SettingsKey::Remove(); }

  std::wstring logs() const { return folder / L"logs"; }

  // Writes the settings and starts the program; with AutoConnect, waits until it listens.
  void StartServer(bool waitUntilListening = true) {
    ASSERT_TRUE(settings.Write());
    ASSERT_TRUE(server.Start(folder.Path())) << server.Error();
    if (waitUntilListening) {
      ASSERT_TRUE(server.WaitForLog(kServerStarted)) << Describe(server.LogMessages());
    }
  }

  // Closes the program as a user does and checks that it ended normally.
  void CloseServer(WORD command = IDOK) {
    DWORD exitCode = 0xFFFFFFFF;
    ASSERT_TRUE(server.Close(command, exitCode)) << server.Error();
    EXPECT_EQ(exitCode, 0u);
  }

  // Simulator options every run needs.
  std::wstring Common() const {
    return L" --port " + std::to_wstring(port) + L" --delimiter " + std::to_wstring(delimiter);
  }

  morvane::testing::TempFolder folder;
  SettingsKey settings;
  int port = 0;
  int delimiter = 59;
  ServerProcess server;  // last: a program left running goes before its folder does
};

}  // namespace morvane::e2e
