// Starting the program, end to end: a second start in the same session brings the running copy's
// window up and ends at once with exit code 0; a start that fails half-way tells the user, takes
// its notification icon and its server away, writes no settings and ends with exit code -1.
#include <gtest/gtest.h>

#include "EndToEnd.h"

namespace morvane::e2e {
namespace {

using EndToEndStart = EndToEnd;

TEST_F(EndToEndStart, SecondCopyShowsTheRunningCopyAndEndsAtOnce) {
  settings.Set(L"MinimizeToTaryWhenStart", 1);
  ASSERT_NO_FATAL_FAILURE(StartServer());
  EXPECT_FALSE(::IsWindowVisible(server.MainWindow())) << "it should have started in the tray";

  ServerProcess second;
  ASSERT_TRUE(second.Launch(folder.Path())) << second.Error();
  DWORD exitCode = 0xFFFFFFFF;
  ASSERT_TRUE(second.WaitForExit(exitCode)) << second.Error();
  EXPECT_EQ(exitCode, 0u);

  EXPECT_TRUE(WaitUntilShown(server.MainWindow())) << "the running copy was not shown";
  // The second copy never got as far as the component: the first one still serves alone.
  EXPECT_EQ(CountStartingWith(server.LogMessages(), kServerStarted), 1u);
  EXPECT_TRUE(Listened(port));
  ASSERT_NO_FATAL_FAILURE(CloseServer());
}

TEST_F(EndToEndStart, FailedStartTellsTheUserTakesItsIconAndServerAwayAndSavesNothing) {
  ASSERT_TRUE(settings.Write());
  ASSERT_TRUE(server.Launch(folder.Path(), WindowsPath(START_FAULT_PROGRAM_EXE))) << server.Error();
  const HWND box = server.WaitForDialog(L"Ошибка");
  ASSERT_NE(box, nullptr) << "no message box";
  EXPECT_EQ(MessageBoxText(box), L"Не удалось запустить программу.");

  // The start had gone past the icon and the server's start when it failed.
  ASSERT_TRUE(server.WaitForMainWindow(0)) << server.Error();
  EXPECT_EQ(CountStartingWith(server.LogMessages(), kServerStarted), 1u)
      << Describe(server.LogMessages());
  EXPECT_FALSE(::IsWindowVisible(server.MainWindow()));
  EXPECT_FALSE(TrayIconShown(server.MainWindow())) << "the icon outlives the program";
  EXPECT_FALSE(Listened(port)) << "the component still listens";

  // The exit must not write the defaults of a start that never loaded everything.
  SettingsKey::Remove();
  ::PostMessageW(box, WM_COMMAND, IDOK, 0);
  DWORD exitCode = 0;
  ASSERT_TRUE(server.WaitForExit(exitCode)) << server.Error();
  EXPECT_EQ(exitCode, 0xFFFFFFFFu);
  EXPECT_FALSE(SettingsKey::ReadNumber(L"Port").has_value()) << "the settings were saved";
}

}  // namespace
}  // namespace morvane::e2e
