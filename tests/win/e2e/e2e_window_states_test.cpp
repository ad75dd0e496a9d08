// The main window's states as another process sees them, against the real program: started in
// the tray or shown, minimised to the tray or to the task bar, brought up by a click on the icon;
// its transparency; the toolbar and the notification-area menu following the server's state; the
// system menu's about item; and what the close sequence leaves: the autorun value and the
// settings, saved before the log that the exit writes.
#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include "EndToEnd.h"
#include "StartWatch.h"
#include "base/PrivateMessages.h"
#include "framework/WindowText.h"
#include "res/resource.h"
#include "standin/net/Socket.h"

namespace morvane::e2e {
namespace {

// The messages that end the start-up: stay in the tray, or show the window.
constexpr UINT kStartHidden = 0x0433;
constexpr UINT kStartShown = 0x0434;

// Another program's autorun value, which the close sequence must leave alone.
constexpr wchar_t kNeighbourAutorun[] = L"MorvaneTestNeighbour";

class EndToEndWindowStates : public EndToEnd {
 protected:
  void SetUp() override {
    EndToEnd::SetUp();
    RemoveAutorunValue();
    RemoveAutorunValue(kNeighbourAutorun);
  }
  void TearDown() override {
    RemoveAutorunValue();
    RemoveAutorunValue(kNeighbourAutorun);
    EndToEnd::TearDown();
  }

  // Starts the program (the build's own, or the given copy) with the start watch on its main
  // thread, waits until it listens and checks how its start-up ended: with `startMessage`, and
  // the window never visible before.
  void StartWatched(UINT startMessage, const std::wstring& program = std::wstring()) {
    ASSERT_TRUE(settings.Write());
    ASSERT_TRUE(server.LaunchSuspended(folder.Path(), program)) << server.Error();
    StartWatch watch(server.MainThreadId());
    ASSERT_TRUE(watch.Hooked()) << watch.Error();
    ASSERT_TRUE(server.Resume());
    ASSERT_TRUE(server.WaitForMainWindow()) << server.Error();
    ASSERT_TRUE(server.WaitForLog(kServerStarted)) << Describe(server.LogMessages());
    EXPECT_EQ(watch.WaitForStartEnd(), startMessage);
    EXPECT_FALSE(watch.VisibleAtStartEnd()) << "the window showed before its start-up ended";
  }

  bool Layered() const {
    return (::GetWindowLongW(server.MainWindow(), GWL_EXSTYLE) & WS_EX_LAYERED) != 0;
  }

  // Posted after everything the start-up posted, so once the log is empty those are handled.
  bool ClearLogAsBarrier() const {
    server.PostCommand(ID_LOG_CLEAR);
    return PollUntil([&] { return server.LogText().empty(); });
  }

  HWND Toolbar() const { return ::GetDlgItem(server.MainWindow(), IDW_TOOLBAR); }
  bool ButtonEnabled(int command) const {
    return ::SendMessageW(Toolbar(), TB_ISBUTTONENABLED, command, 0) != 0;
  }

  // Opens a popup menu of the program (the notification-area menu after a right click on the
  // icon, or the system menu), moves down (or up) `steps` items with the keyboard and presses
  // Enter, as a user does; returns once the menu is gone. An item that is grayed closes the menu
  // without a command.
  void ChooseFromMenu(UINT openMessage, WPARAM wParam, LPARAM lParam, WORD arrow, int steps) {
    const HWND window = server.MainWindow();
    ::PostMessageW(window, openMessage, wParam, lParam);
    const auto menuOpen = [] {
      const HWND menu = ::FindWindowW(L"#32768", nullptr);
      return menu && ::IsWindowVisible(menu);
    };
    ASSERT_TRUE(PollUntil(menuOpen)) << "no menu";
    for (int i = 0; i < steps; ++i)
      ::PostMessageW(window, WM_KEYDOWN, arrow, 0);
    ::PostMessageW(window, WM_KEYDOWN, VK_RETURN, 0);
    ASSERT_TRUE(PollUntil([&] { return !menuOpen(); })) << "the menu stayed open";
  }
  void ChooseFromTrayMenu(int item) {
    ChooseFromMenu(WM_TRAY_NOTIFY, 0, WM_RBUTTONUP, VK_DOWN, item + 1);
  }
};

TEST_F(EndToEndWindowStates, StartsInTheTrayShowsOnAClickOnItsIconAndMinimisesBackToTheTray) {
  settings.Set(L"MinimizeToTaryWhenStart", 1)
      .Set(L"MinimizeToTray", 1)
      .Set(L"AlphaBlends", 1)
      .Set(L"AlphaBlendsCount", 255)
      .Set(L"AutoRun", 0);
  ASSERT_TRUE(SetAutorunValue(kAutorunName, L"C:\\old\\Morvane.exe"));
  ASSERT_TRUE(SetAutorunValue(kNeighbourAutorun, L"C:\\other\\program.exe"));
  ASSERT_NO_FATAL_FAILURE(StartWatched(kStartHidden));
  const HWND window = server.MainWindow();

  ASSERT_TRUE(ClearLogAsBarrier());
  EXPECT_FALSE(::IsWindowVisible(window)) << "it should have started in the tray";
  EXPECT_TRUE(TrayIconShown(window));
  EXPECT_FALSE(Layered()) << "an opacity of 255 is no transparency";

  ::PostMessageW(window, WM_TRAY_NOTIFY, 0, WM_LBUTTONDOWN);
  ASSERT_TRUE(WaitUntilShown(window)) << "a click on the icon did not show the window";

  ::PostMessageW(window, WM_SYSCOMMAND, SC_MINIMIZE, 0);
  EXPECT_TRUE(PollUntil([&] { return !::IsWindowVisible(window); }))
      << "minimising did not hide the window";
  EXPECT_FALSE(::IsIconic(window)) << "hidden to the tray, not minimised to the task bar";
  EXPECT_TRUE(TrayIconShown(window));

  ASSERT_NO_FATAL_FAILURE(CloseServer());
  EXPECT_FALSE(AutorunValue().has_value()) << "AutoRun 0 left the autorun value";
  EXPECT_EQ(AutorunValue(kNeighbourAutorun), L"C:\\other\\program.exe");
}

TEST_F(EndToEndWindowStates, ShownTransparentMinimisesToTheTaskBarAndSavesSettingsBeforeTheLog) {
  // A copy of its own, so that the log folder that the exit makes beside it is the test's.
  const std::wstring copy = folder / L"Morvane.exe";
  ASSERT_TRUE(::CopyFileW(WindowsPath(MORVANE_EXE).c_str(), copy.c_str(), TRUE));
  settings.Set(L"MinimizeToTaryWhenStart", 0)
      .Set(L"MinimizeToTray", 0)
      .Set(L"AlphaBlends", 1)
      .Set(L"AlphaBlendsCount", 0)
      .Set(L"AutoRun", 0)
      .Set(L"SaveLogWhenQuite", 1)
      .Set(L"SaveLogOneFile", 1)
      .Set(L"DirectoryLog", L"");
  ASSERT_NO_FATAL_FAILURE(StartWatched(kStartShown, copy));
  const HWND window = server.MainWindow();
  ASSERT_TRUE(WaitUntilShown(window));

  ASSERT_TRUE(Layered()) << "an opacity of 0 must make the window layered";
  BYTE alpha = 0xFF;
  DWORD flags = 0;
  ASSERT_TRUE(::GetLayeredWindowAttributes(window, nullptr, &alpha, &flags));
  EXPECT_EQ(alpha, 0);
  EXPECT_EQ(flags, static_cast<DWORD>(LWA_ALPHA));

  // The system menu's last item, after a separator, is the about box's.
  ASSERT_NO_FATAL_FAILURE(ChooseFromMenu(WM_SYSCOMMAND, SC_KEYMENU, VK_SPACE, VK_UP, 1));
  const HWND about = server.WaitForDialog(L"О программе", 10000);
  ASSERT_NE(about, nullptr) << "the system menu's last item opened no about box";
  EXPECT_TRUE(WaitUntilShown(about));
  EXPECT_NE(WindowText(::GetDlgItem(about, IDC_ABOUT_TEXT)).find(L"Версия программы: 1.0.0.1"),
            std::wstring::npos);
  ::PostMessageW(::GetDlgItem(about, IDOK), BM_CLICK, 0, 0);
  ASSERT_TRUE(PollUntil([&] { return !::IsWindow(about) && ::IsWindowEnabled(window); }));

  ::PostMessageW(window, WM_SYSCOMMAND, SC_MINIMIZE, 0);
  EXPECT_TRUE(PollUntil([&] { return ::IsIconic(window) != FALSE; }))
      << "MinimizeToTray 0: the window should minimise to the task bar";
  EXPECT_TRUE(::IsWindowVisible(window));

  ASSERT_NO_FATAL_FAILURE(CloseServer());
  EXPECT_FALSE(AutorunValue().has_value());
  // The exit saved the settings first, then the log: the log went into the folder "Log" beside
  // the program, which the settings do not know of yet.
  EXPECT_EQ(SettingsKey::ReadText(L"DirectoryLog"), L"");
  EXPECT_EQ(CountStartingWith(LogFileMessages(folder / L"Log\\Log.log"), kServerStarted), 1u);
}

TEST_F(EndToEndWindowStates, ToolbarAndTrayMenuFollowAFailedAutomaticStartAndConnect) {
  settings.Set(L"AlphaBlends", 1).Set(L"AlphaBlendsCount", 300);
  std::string error;
  standin::net::Socket squatter = standin::net::ListenTcp(port, 1, error);
  ASSERT_TRUE(squatter.Valid()) << error;
  ASSERT_NO_FATAL_FAILURE(StartServer(false));
  ASSERT_TRUE(server.WaitForLog(kServerStartFailed)) << Describe(server.LogMessages());
  squatter.Close();
  EXPECT_FALSE(Layered()) << "an opacity above 255 is no transparency";

  // The six buttons in order, all usable but the one that does not fit the server's state.
  ASSERT_EQ(::SendMessageW(Toolbar(), TB_BUTTONCOUNT, 0, 0), 6);
  const int commands[] = {1065, 1064, 1000, 57670, 32774, 1};
  for (int i = 0; i < 6; ++i) {
    EXPECT_EQ(::SendMessageW(Toolbar(), TB_COMMANDTOINDEX, commands[i], 0), i);
    EXPECT_EQ(ButtonEnabled(commands[i]), commands[i] != 1064) << "button " << commands[i];
  }

  // Not connected: "Отключить" is grayed, "Подключить" connects.
  ASSERT_NO_FATAL_FAILURE(ChooseFromTrayMenu(1));
  ASSERT_NO_FATAL_FAILURE(ChooseFromTrayMenu(0));
  ASSERT_TRUE(server.WaitForLog(kServerStarted)) << Describe(server.LogMessages());
  EXPECT_FALSE(ButtonEnabled(1065));
  EXPECT_TRUE(ButtonEnabled(1064));

  // Connected: "Подключить" is grayed, "Отключить" disconnects.
  ASSERT_NO_FATAL_FAILURE(ChooseFromTrayMenu(0));
  ASSERT_NO_FATAL_FAILURE(ChooseFromTrayMenu(1));
  ASSERT_TRUE(server.WaitForLog(kServerStopped)) << Describe(server.LogMessages());
  const std::vector<std::wstring> expected = {kServerStartFailed, kServerStarted, kServerStopped};
  EXPECT_EQ(server.LogMessages(), expected) << "a grayed item ran its command";
  EXPECT_TRUE(ButtonEnabled(1065));
  EXPECT_FALSE(ButtonEnabled(1064));
  ASSERT_NO_FATAL_FAILURE(CloseServer());
}

}  // namespace
}  // namespace morvane::e2e
