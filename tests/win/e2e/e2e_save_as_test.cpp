// "Сохранить как..." of the log menu is modal to the main window: while the Save dialog is open
// the main window takes no clicks, so "Выход" cannot close the program under it.
#include <gtest/gtest.h>

#include "EndToEnd.h"
#include "framework/TopLevelWindows.h"
#include "res/resource.h"

namespace morvane::e2e {
namespace {

// A shown dialog of the program other than its main window.
HWND OtherShownDialog(HWND mainWindow) {
  DWORD process = 0;
  ::GetWindowThreadProcessId(mainWindow, &process);
  for (HWND window : TopLevelWindowsOf(process)) {
    wchar_t className[64] = {};
    ::GetClassNameW(window, className, 64);
    if (window != mainWindow && ::IsWindowVisible(window) && std::wstring(className) == L"#32770") {
      return window;
    }
  }
  return nullptr;
}

TEST_F(EndToEnd, SaveAsDialogDisablesTheMainWindowUntilItCloses) {
  ASSERT_NO_FATAL_FAILURE(StartServer());
  const HWND window = server.MainWindow();
  ASSERT_TRUE(WaitUntilShown(window));

  server.PostCommand(ID_LOG_SAVE_AS);
  HWND dialog = nullptr;
  ASSERT_TRUE(PollUntil([&] { return (dialog = OtherShownDialog(window)) != nullptr; }))
      << "no Save dialog";
  EXPECT_EQ(::GetWindow(dialog, GW_OWNER), window);
  EXPECT_FALSE(::IsWindowEnabled(window)) << "the main window stays usable under the dialog";

  ::PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
  EXPECT_TRUE(PollUntil([&] { return !::IsWindow(dialog) && ::IsWindowEnabled(window); }))
      << "the main window did not come back";
  ASSERT_NO_FATAL_FAILURE(CloseServer());
}

}  // namespace
}  // namespace morvane::e2e
