// The help as the user meets it in the running program: F1 in the main window and "Справка"
// (command 57670) open the help viewer on Morvane.CHM beside the program, and a copy of the
// program without its help file says where it looked. (Wine's viewer shows the help's title and
// contents but blank topics.)
#include <gtest/gtest.h>

#include "EndToEnd.h"
#include "res/resource.h"

namespace morvane::e2e {
namespace {

// The viewer's title is the help file's own.
const std::wstring kHelpTitle = L"Сервер обновления терминалов — справка";

bool WaitUntilGone(HWND window) {
  for (int i = 0; i < 500 && ::IsWindow(window); ++i)
    ::Sleep(20);
  return !::IsWindow(window);
}

using EndToEndHelp = EndToEnd;

TEST_F(EndToEndHelp, F1AndTheHelpCommandOpenTheHelpFileBesideTheProgram) {
  ASSERT_NO_FATAL_FAILURE(StartServer());

  ::PostMessageW(server.MainWindow(), WM_KEYDOWN, VK_F1, 0);
  HWND viewer = server.WaitForWindow(kHelpTitle);
  ASSERT_NE(viewer, nullptr) << "F1 opened no help";
  ::PostMessageW(viewer, WM_CLOSE, 0, 0);
  ASSERT_TRUE(WaitUntilGone(viewer));

  server.PostCommand(ID_HELP_INDEX);
  viewer = server.WaitForWindow(kHelpTitle);
  ASSERT_NE(viewer, nullptr) << "the help command opened no help";

  ASSERT_NO_FATAL_FAILURE(CloseServer());
}

TEST_F(EndToEndHelp, WithoutItsHelpFileTheProgramSaysWhereItLooked) {
  const std::wstring copy = folder / L"Morvane.exe";
  ASSERT_TRUE(::CopyFileW(WindowsPath(MORVANE_EXE).c_str(), copy.c_str(), TRUE));
  ASSERT_TRUE(settings.Write());
  ASSERT_TRUE(server.Start(folder.Path(), 30000, copy)) << server.Error();

  ::PostMessageW(server.MainWindow(), WM_KEYDOWN, VK_F1, 0);
  const HWND box = server.WaitForWindow(kMainWindowTitle);
  ASSERT_NE(box, nullptr) << "no message";
  wchar_t text[512] = {};
  ::GetDlgItemTextW(box, 0xFFFF, text, 512);
  EXPECT_EQ(std::wstring(text), L"Файл справки не найден:\r\n" + (folder / L"Morvane.CHM"));
  ::PostMessageW(box, WM_COMMAND, IDOK, 0);
  ASSERT_TRUE(WaitUntilGone(box));

  ASSERT_NO_FATAL_FAILURE(CloseServer());
}

}  // namespace
}  // namespace morvane::e2e
