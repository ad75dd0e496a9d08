// The options dialog's frame: tabs and pages, the keyboard across the nested page (Tab, Enter,
// Escape, Ctrl+Tab), the pages' own OK and Cancel, their colours and their closing.
#include <windows.h>

#include <commctrl.h>

#include <gtest/gtest.h>

#include <vector>

#include "OptionsUser.h"
#include "base/PrivateMessages.h"
#include "framework/WindowText.h"
#include "res/resource.h"

namespace morvane::testing {
namespace {

TEST(OptionsDialog, ThreeTabsThePageInsideTheFirstAndTabSwitching) {
  OptionsRun run;
  HWND page = nullptr;
  run.Run([&](OptionsUser& user) {
    EXPECT_EQ(::SendMessageW(user.Tab(), TCM_GETITEMCOUNT, 0, 0), 3);
    wchar_t text[32] = {};
    TCITEMW item{};
    item.mask = TCIF_TEXT;
    item.pszText = text;
    item.cchTextMax = 32;
    std::vector<std::wstring> texts;
    for (int i = 0; i < 3; ++i) {
      ::SendMessageW(user.Tab(), TCM_GETITEMW, i, reinterpret_cast<LPARAM>(&item));
      texts.push_back(text);
    }
    EXPECT_EQ(texts, (std::vector<std::wstring>{L"Общие", L"Загрузка", L"Выгрузка"}));
    page = user.Page();
    ASSERT_NE(page, nullptr);
    EXPECT_EQ(::GetParent(page), user.Tab());
    RECT rect{};
    ::GetWindowRect(page, &rect);
    ::MapWindowPoints(nullptr, user.Tab(), reinterpret_cast<POINT*>(&rect), 2);
    EXPECT_EQ(rect.left, 5);
    EXPECT_EQ(rect.top, 25);
    EXPECT_EQ(user.Focused(), ::GetDlgItem(user.Dialog(), IDOK));

    // Every page answers colour requests with white, for itself and its controls.
    const LRESULT brush = ::SendMessageW(page, WM_CTLCOLORSTATIC, 0,
                                         reinterpret_cast<LPARAM>(user.Item(IDC_GENERAL_AUTORUN)));
    EXPECT_EQ(brush, reinterpret_cast<LRESULT>(::GetStockObject(WHITE_BRUSH)));

    // Ctrl+Tab goes to "Загрузка" and its page; Ctrl+Shift+Tab comes back.
    EXPECT_TRUE(user.Press(
        VK_TAB, [&] { return !::IsWindowVisible(page); }, true));
    EXPECT_EQ(::SendMessageW(user.Tab(), TCM_GETCURSEL, 0, 0), 1);
    EXPECT_NE(user.Item(IDC_DL_KIND_SHARED), nullptr);
    EXPECT_TRUE(user.Press(
        VK_TAB, [&] { return ::IsWindowVisible(page); }, true, true));
    EXPECT_EQ(::SendMessageW(user.Tab(), TCM_GETCURSEL, 0, 0), 0);
    user.Press(VK_ESCAPE, [&] { return !::IsWindow(user.Dialog()); });
  });
  EXPECT_FALSE(::IsWindow(page)) << "closing destroys the pages";
}

TEST(OptionsDialog, TabWalksThroughThePageAndBack) {
  OptionsRun run;
  std::vector<int> walk;
  run.Run([&](OptionsUser& user) {
    // The focus starts on OK once the dialog is shown; Tab goes on until it is back there.
    ASSERT_TRUE(WaitFor([&] { return ::GetDlgCtrlID(user.Focused()) == IDOK; }));
    for (int step = 0; step < 30; ++step) {
      HWND before = user.Focused();
      user.Press(VK_TAB, [&] { return user.Focused() != before; });
      const int id = ::GetDlgCtrlID(user.Focused());
      walk.push_back(id);
      if (id == IDOK) break;
    }
    user.Press(VK_ESCAPE, [&] { return !::IsWindow(user.Dialog()); });
  });
  // The slider is disabled (transparency off); the radio pair is entered at its checked button.
  EXPECT_EQ(walk, (std::vector<int>{IDCANCEL, 1015, 1016, 1019, 1020, 1021, 1022, 1023, 1026, 1027,
                                    1033, 1028, 1029, 1030, 1041, 1032, IDOK}));
}

TEST(OptionsDialog, EnterInAPageIsOkAndEscapeIsCancel) {
  OptionsRun run;
  run.component.port = 5000;
  EXPECT_EQ(run.Run([](OptionsUser& user) {
    user.Type(IDC_GENERAL_PORT, L"5100");
    user.Press(VK_ESCAPE, [&] { return !::IsWindow(user.Dialog()); });
  }),
            IDCANCEL);
  EXPECT_EQ(run.component.port, 5000);
  EXPECT_EQ(run.saves, 0);

  EXPECT_EQ(run.Run([](OptionsUser& user) {
    user.Type(IDC_GENERAL_PORT, L"5200");
    user.Press(VK_RETURN, [&] { return !::IsWindow(user.Dialog()); });
  }),
            IDOK);
  EXPECT_EQ(run.component.port, 5200);
  EXPECT_EQ(run.saves, 1);

  // A page that gets OK or Cancel itself hands it to the dialog.
  EXPECT_EQ(run.Run([](OptionsUser& user) {
    user.Type(IDC_GENERAL_PORT, L"5300");
    ::SendMessageW(user.Page(), WM_COMMAND, IDCANCEL, 0);
  }),
            IDCANCEL);
  EXPECT_EQ(run.component.port, 5200);
  EXPECT_EQ(run.Run([](OptionsUser& user) {
    user.Type(IDC_GENERAL_PORT, L"5400");
    ::SendMessageW(user.Page(), WM_COMMAND, IDOK, 0);
  }),
            IDOK);
  EXPECT_EQ(run.component.port, 5400);
}

}  // namespace
}  // namespace morvane::testing
