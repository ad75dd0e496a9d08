// The Upload page on its real template: what it shows, what Apply takes from it, the start
// number's messages, the file-name field, and the running counter left alone by an unchanged page.
#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>

#include "PageTestSupport.h"
#include "core/exchange_fakes.h"
#include "exchange/Upload.h"
#include "options/MyEdit.h"
#include "options/UploadPage.h"
#include "res/resource.h"
#include "settings/ServerSettings.h"

namespace morvane {
namespace {

using namespace testing;

class UploadPageTest : public ::testing::Test {
 protected:
  UploadPageTest() {
    settings.OneFileForAllTSD = 0;
    settings.FileNameForUpload = L"C:\\shared.txt";
    settings.DirectoryForUpload = L"D:\\uploads";
    settings.SuffiksRadio = 1;
    settings.ColNumberIndex = 2;
    settings.SuffiksIndex = 7;
  }
  ~UploadPageTest() override {
    if (page) ClosePage(page);
  }
  void Open() {
    page = OpenPage<CTabDlgPageUpload>(host.Handle(), settings);
    dlg = page->Handle();
  }
  void SelectDigits(int index) {
    ::SendDlgItemMessageW(dlg, IDC_UL_DIGITS, CB_SETCURSEL, index, 0);
    ::SendMessageW(dlg, WM_COMMAND, MAKEWPARAM(IDC_UL_DIGITS, CBN_SELCHANGE),
                   reinterpret_cast<LPARAM>(::GetDlgItem(dlg, IDC_UL_DIGITS)));
  }
  int SpinMax() {
    int low = 0, high = 0;
    ::SendDlgItemMessageW(dlg, IDC_UL_START_SPIN, UDM_GETRANGE32, reinterpret_cast<WPARAM>(&low),
                          reinterpret_cast<LPARAM>(&high));
    return high;
  }
  ServerSettings settings;
  PageHost host;
  CTabDlgPageUpload* page = nullptr;
  HWND dlg = nullptr;
};

TEST_F(UploadPageTest, TargetEditGoesToTheSettingOfTheRadioSelectedAtApply) {
  Open();
  EXPECT_EQ(Text(dlg, IDC_UL_TARGET), L"D:\\uploads");
  SetText(dlg, IDC_UL_TARGET, L"typed for separate files");
  Click(dlg, IDC_UL_KIND_SHARED);
  EXPECT_EQ(Text(dlg, IDC_UL_TARGET), L"C:\\shared.txt") << "a switch reloads the stored value";
  EXPECT_FALSE(Enabled(dlg, IDC_UL_NAME_SERIAL));
  EXPECT_FALSE(Enabled(dlg, IDC_UL_START_SPIN));
  EXPECT_FALSE(Enabled(dlg, IDC_UL_SAMPLE));

  SetText(dlg, IDC_UL_TARGET, L"E:\\all.txt");
  page->Apply();
  EXPECT_EQ(settings.OneFileForAllTSD, 1);
  EXPECT_EQ(settings.FileNameForUpload, L"E:\\all.txt");
  EXPECT_EQ(settings.DirectoryForUpload, L"D:\\uploads");

  Click(dlg, IDC_UL_KIND_SEPARATE);
  EXPECT_EQ(Text(dlg, IDC_UL_TARGET), L"D:\\uploads");
  EXPECT_TRUE(Enabled(dlg, IDC_UL_START_SPIN));
  SetText(dlg, IDC_UL_TARGET, L"F:\\each");
  page->Apply();
  EXPECT_EQ(settings.OneFileForAllTSD, 0);
  EXPECT_EQ(settings.FileNameForUpload, L"E:\\all.txt");
  EXPECT_EQ(settings.DirectoryForUpload, L"F:\\each");
}

TEST_F(UploadPageTest, PrefixIsStoredCleanWhileTheFieldKeepsWhatWasPasted) {
  settings.SNFileName = 0;
  Open();
  SetText(dlg, IDC_UL_PREFIX, L"a:b*c?");
  page->Apply();
  EXPECT_EQ(settings.PreficsFileName, L"abc");
  EXPECT_EQ(Text(dlg, IDC_UL_PREFIX), L"a:b*c?");
}

TEST_F(UploadPageTest, OverLongPrefixIsCutWhenThePageOpensEvenIfNothingIsApplied) {
  settings.PreficsFileName = std::wstring(45, L'я');
  Open();
  ClosePage(page);
  page = nullptr;
  EXPECT_EQ(settings.PreficsFileName, std::wstring(40, L'я'));
}

TEST_F(UploadPageTest, ChangedStartNumberOutOfRangeIsReportedAndNotStored) {
  Open();
  for (const wchar_t* typed : {L"", L"0", L"100000"}) {
    const std::wstring expected =
        *typed == L'\0' ? L"Enter an integer." : L"Enter an integer between 1 and 99999.";
    MessageBoxWatcher boxes;
    SetText(dlg, IDC_UL_START, typed);  // the sample reads it at once
    page->Apply();                      // and Apply once more
    EXPECT_EQ(settings.SuffiksIndex, 7) << "typed [" << typed << "]";
    EXPECT_EQ(boxes.Texts(), (std::vector<std::wstring>{expected, expected}))
        << "typed [" << typed << "]";
    EXPECT_EQ(::GetFocus(), ::GetDlgItem(dlg, IDC_UL_START));
  }
}

TEST_F(UploadPageTest, DigitListCutsTheStartNumberAndSetsItsLimits) {
  settings.SuffiksIndex = 150;
  Open();
  SelectDigits(0);
  EXPECT_EQ(Text(dlg, IDC_UL_START), L"1");
  EXPECT_EQ(::SendDlgItemMessageW(dlg, IDC_UL_START, EM_GETLIMITTEXT, 0, 0), 1);
  EXPECT_EQ(SpinMax(), 9);
  SelectDigits(4);
  EXPECT_EQ(Text(dlg, IDC_UL_START), L"1");
  EXPECT_EQ(::SendDlgItemMessageW(dlg, IDC_UL_START, EM_GETLIMITTEXT, 0, 0), 5);
  EXPECT_EQ(SpinMax(), 99999);
  page->Apply();
  EXPECT_EQ(settings.SuffiksIndex, 1) << "the cut is a change made in this dialog";
  EXPECT_EQ(settings.ColNumberIndex, 4);
}

TEST_F(UploadPageTest, StoredDigitIndexOutsideTheListSelectsNothingAndAppliesMinusOne) {
  settings.ColNumberIndex = 7;
  Open();
  EXPECT_EQ(::SendDlgItemMessageW(dlg, IDC_UL_DIGITS, CB_GETCURSEL, 0, 0), CB_ERR);
  EXPECT_EQ(Text(dlg, IDC_UL_SAMPLE), L"Образец: SN1234567_Base1_.txt") << "no counter";
  page->Apply();
  EXPECT_EQ(settings.ColNumberIndex, -1);
}

TEST_F(UploadPageTest, SampleFollowsTheNamingControls) {
  Open();
  EXPECT_EQ(Text(dlg, IDC_UL_SAMPLE), L"Образец: SN1234567_Base1_007.txt");
  Click(dlg, IDC_UL_NAME_FIXED);
  EXPECT_TRUE(Enabled(dlg, IDC_UL_PREFIX));
  EXPECT_EQ(Text(dlg, IDC_UL_SAMPLE), L"Образец: Base1_007.txt");
  SetText(dlg, IDC_UL_PREFIX, L"Data");
  Click(dlg, IDC_UL_ADD_BASE);
  Click(dlg, IDC_UL_SUFFIX_TIME);
  EXPECT_FALSE(Enabled(dlg, IDC_UL_START));
  const std::wstring sample = Text(dlg, IDC_UL_SAMPLE);
  SYSTEMTIME now{};
  ::GetSystemTime(&now);
  const std::wstring date = std::to_wstring(now.wDay) + L"." + std::to_wstring(now.wMonth) + L"." +
                            std::to_wstring(now.wYear) + L" ";
  EXPECT_EQ(sample.rfind(L"Образец: Data_" + date, 0), 0u) << sample;
  EXPECT_EQ(sample.substr(sample.size() - 4), L".txt");
}

std::vector<std::wstring> g_tips;

LRESULT CALLBACK BalloonSpy(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                            DWORD_PTR) {
  if (message == EM_SHOWBALLOONTIP) {
    const auto* tip = reinterpret_cast<const EDITBALLOONTIP*>(lParam);
    g_tips.push_back(tip->pszText);
    EXPECT_EQ(tip->ttiIcon, TTI_NONE);
    EXPECT_STREQ(tip->pszTitle, L"");
  }
  return ::DefSubclassProc(hwnd, message, wParam, lParam);
}

TEST_F(UploadPageTest, FileNameFieldRefusesForbiddenCharactersWithTheBalloonTip) {
  settings.SNFileName = 0;
  Open();
  HWND edit = ::GetDlgItem(dlg, IDC_UL_PREFIX);
  // Wine draws no balloon: the tip is seen as the message that asks for it.
  g_tips.clear();
  ASSERT_TRUE(::SetWindowSubclass(edit, &BalloonSpy, 1, 0));
  for (wchar_t c : std::wstring(L"ab:c|"))
    ::SendMessageW(edit, WM_CHAR, c, 0);
  ::RemoveWindowSubclass(edit, &BalloonSpy, 1);
  EXPECT_EQ(Text(dlg, IDC_UL_PREFIX), L"abc");
  EXPECT_EQ(g_tips, (std::vector<std::wstring>{kFileNameBalloonText, kFileNameBalloonText}));
  EXPECT_EQ(std::wstring(kFileNameBalloonText),
            L"Имя файла не должно содержать следующих знаков:\r\n\t\\ / : * ? \" < > |");
}

// Uploads served while the dialog is open advance the counter; an unchanged page must not send
// it back to the number it showed when it opened.
TEST_F(UploadPageTest, UnchangedStartNumberLeavesTheRunningCounterAlone) {
  ExchangeWorld w;
  w.fs.folders = {L"C:\\Program", L"D:\\uploads"};
  w.component.getResult = 1;
  w.settings = settings;
  page = OpenPage<CTabDlgPageUpload>(host.Handle(), w.settings);
  dlg = page->Handle();
  ExchangeContext ctx = w.Context();
  UploadFromTerminal(ctx, L"10.0.0.5", L"1", L"", L"1", L"12345678");
  UploadFromTerminal(ctx, L"10.0.0.5", L"1", L"", L"1", L"12345678");
  ASSERT_EQ(w.settings.SuffiksIndex, 9);
  {
    MessageBoxWatcher boxes;
    page->Apply();
    EXPECT_TRUE(boxes.Texts().empty());
  }
  EXPECT_EQ(w.settings.SuffiksIndex, 9);

  SetText(dlg, IDC_UL_START, L"20");
  page->Apply();
  EXPECT_EQ(w.settings.SuffiksIndex, 20) << "a number the user typed is taken";
  UploadFromTerminal(ctx, L"10.0.0.5", L"1", L"", L"1", L"12345678");
  page->Apply();
  EXPECT_EQ(w.settings.SuffiksIndex, 21) << "and taken once";
}

}  // namespace
}  // namespace morvane
