// The main window as a user meets it, end to end: where the keyboard focus lands first; the about
// box from the toolbar, the notification-area menu and the system menu, and at log-off; the
// notification icon after Explorer has made the notification area anew.
#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>
#include <shellapi.h>

#include <functional>

#include "EndToEnd.h"
#include "base/PrivateMessages.h"
#include "framework/WindowText.h"
#include "res/resource.h"

namespace morvane::e2e {
namespace {

using EndToEndMainWindow = EndToEnd;

constexpr wchar_t kAboutTitle[] = L"О программе";

TEST_F(EndToEndMainWindow, LogIsNoTabStopSoTheFirstFocusIsOnTheLogButton) {
  ASSERT_NO_FATAL_FAILURE(StartServer());
  const HWND window = server.MainWindow();
  ASSERT_TRUE(WaitUntilShown(window));

  // Multi-line, read-only, selection always shown, border, vertical scroll bar; no tab stop. The
  // edit itself turns its border into a client edge when it is created.
  const HWND edit = ::GetDlgItem(window, IDC_LOG_EDIT);
  EXPECT_EQ(static_cast<DWORD>(::GetWindowLongW(edit, GWL_STYLE)) | WS_BORDER, 0x50A00904u);
  GUITHREADINFO thread{};
  thread.cbSize = sizeof thread;
  ASSERT_TRUE(::GetGUIThreadInfo(::GetWindowThreadProcessId(window, nullptr), &thread));
  EXPECT_EQ(thread.hwndFocus, ::GetDlgItem(window, IDC_LOG_BUTTON));
  ASSERT_NO_FATAL_FAILURE(CloseServer());
}

// Opens the about box the way `open` does, checks that the user sees it over a disabled main
// window, presses its OK and checks that the main window is usable again.
void OpenAndCloseAbout(const ServerProcess& server, const std::function<void()>& open) {
  const HWND window = server.MainWindow();
  open();
  const HWND about = server.WaitForDialog(kAboutTitle, 10000);
  ASSERT_NE(about, nullptr) << "no about box";
  EXPECT_TRUE(WaitUntilShown(about)) << "the about box is there but not shown";
  EXPECT_FALSE(::IsWindowEnabled(window)) << "the about box is not modal";
  EXPECT_NE(WindowText(::GetDlgItem(about, IDC_ABOUT_TEXT)).find(L"Версия программы: 1.0.0.1"),
            std::wstring::npos);
  ::PostMessageW(::GetDlgItem(about, IDOK), BM_CLICK, 0, 0);
  EXPECT_TRUE(PollUntil([&] { return !::IsWindow(about) && ::IsWindowEnabled(window); }))
      << "the main window did not come back";
}

TEST_F(EndToEndMainWindow, AboutBoxFromToolbarTrayMenuAndSystemMenuThenExit) {
  ASSERT_NO_FATAL_FAILURE(StartServer());
  const HWND window = server.MainWindow();
  ASSERT_TRUE(WaitUntilShown(window));

  ASSERT_NO_FATAL_FAILURE(OpenAndCloseAbout(server, [&] { server.PostCommand(ID_APP_ABOUT); }));
  ASSERT_NO_FATAL_FAILURE(OpenAndCloseAbout(server, [&] {
    // Right click on the icon, then the item's mnemonic, as the keyboard gives it to the menu.
    ::PostMessageW(window, WM_TRAY_NOTIFY, 0, WM_RBUTTONUP);
    ASSERT_TRUE(PollUntil([] {
      const HWND menu = ::FindWindowW(L"#32768", nullptr);
      return menu && ::IsWindowVisible(menu);
    })) << "no notification-area menu";
    ::PostMessageW(window, WM_CHAR, L'о', 0);
  }));
  ASSERT_NO_FATAL_FAILURE(
      OpenAndCloseAbout(server, [&] { ::PostMessageW(window, WM_SYSCOMMAND, IDM_ABOUTBOX, 0); }));
  ASSERT_NO_FATAL_FAILURE(CloseServer(ID_EXIT));
}

TEST_F(EndToEndMainWindow, LogOffWithTheAboutBoxOpenStillRunsTheCloseSequence) {
  ASSERT_NO_FATAL_FAILURE(StartServer());
  server.PostCommand(ID_APP_ABOUT);
  ASSERT_NE(server.WaitForDialog(kAboutTitle, 10000), nullptr) << "no about box";
  SettingsKey::Remove();  // the close sequence writes it again

  ::PostMessageW(server.MainWindow(), WM_ENDSESSION, TRUE, 0);
  DWORD exitCode = 0xFFFFFFFF;
  ASSERT_TRUE(server.WaitForExit(exitCode)) << server.Error();
  EXPECT_EQ(exitCode, 0u);
  EXPECT_EQ(SettingsKey::ReadNumber(L"Port"), static_cast<DWORD>(port));
}

// Balloons of the notification area that are up now.
int VisibleBalloons() {
  DWORD area = 0;
  ::GetWindowThreadProcessId(::FindWindowW(L"Shell_TrayWnd", nullptr), &area);
  int count = 0;
  for (HWND tip = ::FindWindowExW(nullptr, nullptr, TOOLTIPS_CLASSW, nullptr); tip;
       tip = ::FindWindowExW(nullptr, tip, TOOLTIPS_CLASSW, nullptr)) {
    DWORD owner = 0;
    ::GetWindowThreadProcessId(tip, &owner);
    if (owner == area && ::IsWindowVisible(tip)) ++count;
  }
  return count;
}

TEST_F(EndToEndMainWindow, IconComesBackWithoutBalloonWhenTheTaskbarIsMadeAnew) {
  ASSERT_NO_FATAL_FAILURE(StartServer());
  const HWND window = server.MainWindow();
  ASSERT_TRUE(TrayIconShown(window));

  // What a restart of Explorer does: the start-up balloon and the icon are gone.
  NOTIFYICONDATAW icon{};
  icon.cbSize = sizeof icon;
  icon.hWnd = window;
  icon.uID = 1;
  icon.uFlags = NIF_INFO;  // with an empty text: no balloon
  ASSERT_TRUE(::Shell_NotifyIconW(NIM_MODIFY, &icon));
  ASSERT_TRUE(::Shell_NotifyIconW(NIM_DELETE, &icon));
  ASSERT_FALSE(TrayIconShown(window));
  ASSERT_EQ(VisibleBalloons(), 0);

  ::PostMessageW(window, ::RegisterWindowMessageW(L"TaskbarCreated"), 0, 0);
  EXPECT_TRUE(PollUntil([&] { return TrayIconShown(window); })) << "the icon did not come back";
  // The area shows a new icon's balloon after a delay of its own (two seconds under wine).
  EXPECT_FALSE(PollUntil([] { return VisibleBalloons() > 0; }, 3000)) << "the balloon came again";
  ASSERT_NO_FATAL_FAILURE(CloseServer());
}

}  // namespace
}  // namespace morvane::e2e
