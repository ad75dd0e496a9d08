// The General page: what it shows on opening, what Apply takes from it, the delimiter's three
// views, the transparency preview on the main window and the folder picker.
#include <windows.h>

#include <commctrl.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include "OptionsUser.h"
#include "framework/WindowText.h"
#include "res/resource.h"
#include "win/exchange/TempFolder.h"

namespace morvane::testing {
namespace {

constexpr int kDelay = IDC_GENERAL_DELAY;
constexpr int kPort = IDC_GENERAL_PORT;
constexpr int kDec = IDC_GENERAL_DELIMITER_DEC;
constexpr int kHex = IDC_GENERAL_DELIMITER_HEX;
constexpr int kChar = IDC_GENERAL_DELIMITER_CHAR;

TEST(GeneralPage, OpensWithTheComponentsValuesAndTheSettings) {
  OptionsRun run;
  run.component.port = 5000;
  run.component.delay = 2500;
  run.component.delimiter = 0;
  run.settings.AutoRun = 1;
  run.settings.MinimizeToTray = 0;
  run.settings.SaveLogOneFile = 0;
  run.settings.SaveLogWhenQuite = 7;  // only 1 counts as set
  run.settings.DirectoryLog = L"C:\\журналы";
  run.settings.AlphaBlends = 1;
  run.settings.AlphaBlendsCount = 100;
  const INT_PTR result = run.Run([](OptionsUser& user) {
    EXPECT_EQ(user.Text(kPort), L"5000");
    EXPECT_EQ(user.Text(kDelay), L"2") << "2500 ms in whole seconds";
    EXPECT_EQ(user.Text(kDec), L"9") << "a stored 0 shows the tab character";
    EXPECT_EQ(user.Text(kHex), L"9");
    EXPECT_EQ(user.Text(kChar), L"\t");
    EXPECT_EQ(user.Text(IDC_GENERAL_LOG_FOLDER), L"C:\\журналы");
    EXPECT_TRUE(user.Checked(IDC_GENERAL_AUTORUN));
    EXPECT_FALSE(user.Checked(IDC_GENERAL_MINIMIZE_TO_TRAY));
    EXPECT_FALSE(user.Checked(IDC_GENERAL_SAVE_LOG_ON_EXIT));
    EXPECT_TRUE(user.Checked(IDC_GENERAL_LOG_EACH_FILE));
    EXPECT_FALSE(user.Checked(IDC_GENERAL_LOG_ONE_FILE));
    EXPECT_TRUE(user.Checked(IDC_GENERAL_TRANSPARENCY));
    EXPECT_TRUE(::IsWindowEnabled(user.Item(IDC_GENERAL_OPACITY)));
    EXPECT_EQ(::SendMessageW(user.Item(IDC_GENERAL_OPACITY), TBM_GETPOS, 0, 0), 100);
    EXPECT_EQ(::SendMessageW(user.Item(IDC_GENERAL_OPACITY), TBM_GETRANGEMAX, 0, 0), 255);
    // Typing is limited; the first edit keeps 3 characters of "12345".
    user.Focus(user.Item(kDelay));
    EXPECT_EQ(::SendMessageW(user.Item(kDelay), EM_GETLIMITTEXT, 0, 0), 3);
    EXPECT_EQ(::SendMessageW(user.Item(kPort), EM_GETLIMITTEXT, 0, 0), 5);
    EXPECT_EQ(::SendMessageW(user.Item(kHex), EM_GETLIMITTEXT, 0, 0), 2);
    user.Click(::GetDlgItem(user.Dialog(), IDCANCEL));
  });
  EXPECT_EQ(result, IDCANCEL);
  EXPECT_EQ(run.saves, 0);
  EXPECT_EQ(run.settings.AutoRun, 1);
  EXPECT_EQ(run.settings.SaveLogWhenQuite, 7) << "Cancel applies nothing";
}

TEST(GeneralPage, WithoutAComponentShowsZerosAndAppliesTheSettingsOnly) {
  OptionsRun run;
  run.component.port = 5000;
  run.withComponent = false;
  EXPECT_EQ(run.Run([](OptionsUser& user) {
    EXPECT_EQ(user.Text(kPort), L"0");
    EXPECT_EQ(user.Text(kDelay), L"0");
    EXPECT_EQ(user.Text(kDec), L"9");
    user.Type(kPort, L"6000");
    user.Click(user.Item(IDC_GENERAL_AUTORUN));
    user.Click(::GetDlgItem(user.Dialog(), IDOK));
  }),
            IDOK);
  EXPECT_EQ(run.component.port, 5000);
  EXPECT_EQ(run.settings.AutoRun, 1);
}

TEST(GeneralPage, ApplyCopiesTheControlsAndStoresAtOnceAndCancelKeepsIt) {
  OptionsRun run;
  run.component.delimiter = 59;
  const INT_PTR result = run.Run([&run](OptionsUser& user) {
    user.Type(kDelay, L"5");
    user.Type(kPort, L" +6001x");  // blanks and a sign, digits up to the first other character
    user.Type(kDec, L"300");
    user.Focus(user.Item(IDC_GENERAL_LOG_FOLDER));  // the decimal view loses the focus
    ::SendMessageW(user.Item(IDC_GENERAL_LOG_FOLDER), WM_SETTEXT, 0,
                   reinterpret_cast<LPARAM>(L"D:\\logs"));
    user.Click(user.Item(IDC_GENERAL_AUTORUN));
    user.Click(user.Item(IDC_GENERAL_AUTOCONNECT));
    user.Click(user.Item(IDC_GENERAL_START_IN_TRAY));
    user.Click(user.Item(IDC_GENERAL_MINIMIZE_TO_TRAY));
    user.Click(user.Item(IDC_GENERAL_SAVE_LOG_ON_EXIT));
    user.Click(user.Item(IDC_GENERAL_LOG_EACH_FILE));
    user.Click(::GetDlgItem(user.Dialog(), IDC_OPTIONS_APPLY));
    EXPECT_EQ(run.saves, 1) << "Apply stores the options";
    EXPECT_EQ(run.savedPort, 6001) << "after the component got the new port";
    user.Type(kPort, L"abc");
    user.Click(::GetDlgItem(user.Dialog(), IDCANCEL));
  });
  EXPECT_EQ(result, IDCANCEL);
  EXPECT_EQ(run.component.port, 6001) << "Cancel keeps what Apply copied";
  EXPECT_EQ(run.component.delay, 5000);
  EXPECT_EQ(run.component.delimiter, 44);
  const ServerSettings& s = run.settings;
  EXPECT_EQ(s.DirectoryLog, L"D:\\logs");
  EXPECT_EQ(s.AutoRun, 1);
  EXPECT_EQ(s.AutoConnect, 1);
  EXPECT_EQ(s.MinimizeToTaryWhenStart, 1);
  EXPECT_EQ(s.MinimizeToTray, 0);
  EXPECT_EQ(s.SaveLogWhenQuite, 0);
  EXPECT_EQ(s.SaveLogOneFile, 0);
  EXPECT_EQ(s.AlphaBlends, 0);
  EXPECT_EQ(s.AlphaBlendsCount, 255);
  EXPECT_EQ(run.saves, 1);

  // OK applies once more; a port without digits becomes 0.
  run.Run([](OptionsUser& user) {
    user.Type(kPort, L"abc");
    user.Click(::GetDlgItem(user.Dialog(), IDOK));
  });
  EXPECT_EQ(run.component.port, 0);
  EXPECT_EQ(run.saves, 2);
}

TEST(GeneralPage, DelimiterViewsFollowTheOneThatLostTheFocus) {
  struct Case {
    int from;
    std::wstring typed, decimal, hex, character;
  };
  const Case cases[] = {
      {kDec, L"65", L"65", L"41", L"A"},  {kHex, L"7c", L"124", L"7C", L"|"},
      {kDec, L"300", L"44", L"2C", L","}, {kDec, L"-1", L"255", L"FF", L"я"},
      {kDec, L"0", L"9", L"9", L"\t"},    {kDec, L"256", L"9", L"9", L"\t"},
      {kDec, L"", L"9", L"9", L"\t"},     {kHex, L"3b", L"59", L"3B", L";"},
      {kHex, L"zz", L"9", L"9", L"\t"},   {kChar, L"Ж", L"198", L"C6", L"Ж"},
      {kChar, L"", L"9", L"9", L"\t"},    {kDec, L" 12x", L"12", L"C", L"\x0C"},
  };
  OptionsRun run;
  run.Run([&](OptionsUser& user) {
    for (const Case& c : cases) {
      user.Type(c.from, c.typed);
      user.Focus(user.Item(kDelay));
      EXPECT_EQ(user.Text(kDec), c.decimal) << "typed " << c.typed;
      EXPECT_EQ(user.Text(kHex), c.hex) << "decimal " << c.decimal;
      EXPECT_EQ(user.Text(kChar), c.character) << "decimal " << c.decimal;
    }
    user.Click(::GetDlgItem(user.Dialog(), IDCANCEL));
  });
}

// Enter applies before any focus change: the view being edited still counts.
TEST(GeneralPage, DelimiterConfirmedWithEnterInTheHexOrCharacterViewIsApplied) {
  OptionsRun run;
  run.component.delimiter = 59;
  HWND dialog = nullptr;
  EXPECT_EQ(run.Run([&](OptionsUser& user) {
    dialog = user.Dialog();
    user.Type(kHex, L"7c");
    user.Press(VK_RETURN, [&] { return !::IsWindow(dialog); });
  }),
            IDOK);
  EXPECT_EQ(run.component.delimiter, 124);

  EXPECT_EQ(run.Run([&](OptionsUser& user) {
    dialog = user.Dialog();
    user.Type(kChar, L"#");
    user.Press(VK_RETURN, [&] { return !::IsWindow(dialog); });
  }),
            IDOK);
  EXPECT_EQ(run.component.delimiter, 35);
}

TEST(GeneralPage, TransparencyPreviewIsUndoneOnCancelAndKeptAfterApply) {
  OptionsRun run;
  run.settings.AlphaBlends = 0;
  run.settings.AlphaBlendsCount = 255;
  ASSERT_EQ(run.MainOpacity(), -1);
  run.Run([&](OptionsUser& user) {
    HWND slider = user.Item(IDC_GENERAL_OPACITY);
    EXPECT_FALSE(::IsWindowEnabled(slider));
    user.Click(user.Item(IDC_GENERAL_TRANSPARENCY));
    EXPECT_TRUE(::IsWindowEnabled(slider));
    // The slider, now enabled, repaints: the preview takes its position, also at 255.
    EXPECT_TRUE(WaitFor([&] { return run.MainOpacity() == 255; })) << run.MainOpacity();
    user.Focus(slider);
    EXPECT_TRUE(user.Press(VK_HOME, [&] { return run.MainOpacity() == 0; })) << run.MainOpacity();
    EXPECT_TRUE(user.Press(VK_RIGHT, [&] { return run.MainOpacity() == 1; })) << run.MainOpacity();
    user.Click(::GetDlgItem(user.Dialog(), IDCANCEL));
  });
  EXPECT_EQ(run.MainOpacity(), -1) << "the preview is undone";

  run.Run([&](OptionsUser& user) {
    user.Click(user.Item(IDC_GENERAL_TRANSPARENCY));
    user.Focus(user.Item(IDC_GENERAL_OPACITY));
    EXPECT_TRUE(user.Press(VK_HOME, [&] { return run.MainOpacity() == 0; })) << run.MainOpacity();
    EXPECT_TRUE(user.Press(VK_RIGHT, [&] { return run.MainOpacity() == 1; }));
    user.Click(::GetDlgItem(user.Dialog(), IDC_OPTIONS_APPLY));
    user.Click(::GetDlgItem(user.Dialog(), IDCANCEL));
  });
  EXPECT_EQ(run.MainOpacity(), 1) << "an applied opacity stays";
  EXPECT_EQ(run.settings.AlphaBlends, 1);
  EXPECT_EQ(run.settings.AlphaBlendsCount, 1);

  // Unchecking: opaque at once, the slider disabled; the stored state comes back on Cancel.
  run.Run([&](OptionsUser& user) {
    user.Click(user.Item(IDC_GENERAL_TRANSPARENCY));
    EXPECT_EQ(run.MainOpacity(), -1);
    EXPECT_FALSE(::IsWindowEnabled(user.Item(IDC_GENERAL_OPACITY)));
    user.Click(::GetDlgItem(user.Dialog(), IDCANCEL));
  });
  EXPECT_EQ(run.MainOpacity(), 1);
}

TEST(GeneralPage, FolderPickerCancelledKeepsTheTextAndConfirmedTakesTheFolder) {
  TempFolder folder;
  OptionsRun run;
  run.settings.DirectoryLog = L"нет такой папки";
  const DWORD ui = ::GetCurrentThreadId();
  std::wstring caption;
  run.Run([&](OptionsUser& user) {
    HWND browse = nullptr;
    const auto openPicker = [&] {
      user.PostClick(user.Item(IDC_GENERAL_BROWSE_LOG));
      return WaitFor(
          [&] { return (browse = FindThreadDialog(ui, L"", user.Dialog())) != nullptr; });
    };
    // Enter on the focused "..." button presses it, as in any dialog.
    user.Focus(user.Item(IDC_GENERAL_BROWSE_LOG));
    ASSERT_TRUE(user.Press(
        VK_RETURN, [&] { return (browse = FindThreadDialog(ui, L"", user.Dialog())) != nullptr; }));
    ::PostMessageW(browse, WM_COMMAND, IDCANCEL, 0);
    ASSERT_TRUE(WaitFor([&] { return !::IsWindow(browse); }));
    EXPECT_EQ(user.Text(IDC_GENERAL_LOG_FOLDER), L"нет такой папки");

    // The user moves to a folder: the caption follows with its full path, and OK puts it into the
    // edit. (Under wine the selection of a path sometimes lags while the tree is being built.)
    ASSERT_TRUE(openPicker());
    for (int attempt = 0; attempt < 5 && caption != folder.Path(); ++attempt) {
      ::SendMessageW(browse, BFFM_SETSELECTIONW, TRUE,
                     reinterpret_cast<LPARAM>(folder.Path().c_str()));
      WaitFor([&] { return (caption = WindowText(browse)) == folder.Path(); }, 1000);
    }
    ::PostMessageW(browse, WM_COMMAND, IDOK, 0);
    ASSERT_TRUE(WaitFor([&] { return !::IsWindow(browse); }));
    EXPECT_EQ(user.Text(IDC_GENERAL_LOG_FOLDER), folder.Path());
    user.Click(::GetDlgItem(user.Dialog(), IDCANCEL));
  });
  EXPECT_EQ(caption, folder.Path());
}

}  // namespace
}  // namespace morvane::testing
