// The Download and Upload pages inside the running options dialog, used with real key presses:
// Tab goes on from the Download page into its embedded dialog, and Enter there is OK.
#include <windows.h>

#include <commctrl.h>

#include <gtest/gtest.h>

#include "OptionsUser.h"
#include "res/resource.h"

namespace morvane::testing {
namespace {

// Ctrl+Tab from "Общие" to "Загрузка".
void ShowDownloadPage(OptionsUser& user) {
  EXPECT_TRUE(user.Press(
      VK_TAB, [&] { return ::SendMessageW(user.Tab(), TCM_GETCURSEL, 0, 0) == 1; }, true));
}

// The embedded dialog that shows one kind of download.
HWND ShownKind(OptionsUser& user) {
  for (HWND child = ::GetWindow(user.Page(), GW_CHILD); child;
       child = ::GetWindow(child, GW_HWNDNEXT)) {
    wchar_t name[16] = {};
    ::GetClassNameW(child, name, 16);
    if (std::wstring(name) == L"#32770" && ::IsWindowVisible(child)) return child;
  }
  return nullptr;
}

TEST(PagesInOptionsDialog, EnterInAnEmbeddedDialogsEditIsOk) {
  OptionsRun run;
  EXPECT_EQ(run.Run([](OptionsUser& user) {
    ShowDownloadPage(user);
    HWND edit = ::GetDlgItem(ShownKind(user), IDC_BASE3_PATH);
    ASSERT_NE(edit, nullptr);
    user.Focus(edit);
    ::SendMessageW(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"E:\\typed.txt"));
    user.Press(VK_RETURN, [&] { return !::IsWindow(user.Dialog()); });
  }),
            IDOK);
  EXPECT_EQ(run.settings.BaseFile3PathEdit, L"E:\\typed.txt");
  EXPECT_EQ(run.saves, 1);
}

TEST(PagesInOptionsDialog, TabGoesOnFromTheDownloadPageIntoTheShownKind) {
  OptionsRun run;
  run.settings.OneFileForAll_TSD = 0;
  HWND folder = nullptr;
  HWND reached = nullptr;
  run.Run([&](OptionsUser& user) {
    ShowDownloadPage(user);
    folder = ::GetDlgItem(ShownKind(user), IDC_OWN_FOLDER);
    HWND own = user.Item(IDC_DL_KIND_OWN);
    user.Focus(own);
    user.Press(VK_TAB, [&] { return user.Focused() != own; });
    reached = user.Focused();
    user.Press(VK_ESCAPE, [&] { return !::IsWindow(user.Dialog()); });
  });
  ASSERT_NE(folder, nullptr);
  EXPECT_EQ(reached, folder) << "the per-terminal folder, first tab stop of the shown kind";
}

}  // namespace
}  // namespace morvane::testing
