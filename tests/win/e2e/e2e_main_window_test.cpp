// The main window as a user meets it, end to end: where the keyboard focus lands first.
#include <gtest/gtest.h>

#include "EndToEnd.h"
#include "res/resource.h"

namespace morvane::e2e {
namespace {

using EndToEndMainWindow = EndToEnd;

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

}  // namespace
}  // namespace morvane::e2e
