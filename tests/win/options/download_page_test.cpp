// The Download page on its real templates: the two kinds, both read back whichever is shown, and
// the program rows.
#include <gtest/gtest.h>

#include "PageTestSupport.h"
#include "options/DownloadPage.h"
#include "res/resource.h"
#include "settings/ServerSettings.h"

namespace morvane {
namespace {

using namespace testing;

class DownloadPageTest : public ::testing::Test {
 protected:
  ~DownloadPageTest() override {
    if (page) ClosePage(page);
  }
  void Open() {
    page = OpenPage<CTabDlgPageDownload>(host.Handle(), settings);
    dlg = page->Handle();
    ASSERT_NE(page->SharedFiles(), nullptr);
    ASSERT_NE(page->OwnFiles(), nullptr);
    shared = page->SharedFiles()->Handle();
    own = page->OwnFiles()->Handle();
  }
  ServerSettings settings;
  PageHost host;
  CTabDlgPageDownload* page = nullptr;
  HWND dlg = nullptr;
  HWND shared = nullptr;
  HWND own = nullptr;
};

TEST_F(DownloadPageTest, AnyStoredKindButOneShowsThePerTerminalDialog) {
  for (int stored : {0, 7, 1}) {
    settings.OneFileForAll_TSD = stored;
    Open();
    EXPECT_EQ(Checked(dlg, IDC_DL_KIND_SHARED), stored == 1);
    EXPECT_EQ(Checked(dlg, IDC_DL_KIND_OWN), stored != 1);
    EXPECT_EQ(::IsWindowVisible(shared) != FALSE, stored == 1);
    EXPECT_EQ(::IsWindowVisible(own) != FALSE, stored != 1);
    ClosePage(page);
    page = nullptr;
  }
}

TEST_F(DownloadPageTest, EmbeddedDialogsSitBetweenTheTwoGroups) {
  Open();
  RECT kind{}, programs{}, sharedRect{}, ownRect{};
  ::GetWindowRect(::GetDlgItem(dlg, IDC_DL_KIND_GROUP), &kind);
  ::GetWindowRect(::GetDlgItem(dlg, IDC_DL_PROGRAMS_GROUP), &programs);
  ::GetWindowRect(shared, &sharedRect);
  ::GetWindowRect(own, &ownRect);
  for (const RECT& r : {sharedRect, ownRect}) {
    EXPECT_GE(r.top, kind.bottom);
    EXPECT_LE(r.bottom, programs.top);
  }
}

TEST_F(DownloadPageTest, ApplyReadsBothKindsAndDisabledRowsInOrder) {
  settings.OneFileForAll_TSD = 1;
  settings.StartAppAfterDownload = 1;
  settings.StartAppBeforeDownloadPath = L"C:\\before.bat";
  settings.DirectoryWithBasaPath = L"D:\\bases";
  Open();
  EXPECT_FALSE(Enabled(dlg, IDC_DL_BEFORE_PATH));
  EXPECT_FALSE(Enabled(dlg, IDC_DL_BEFORE_BROWSE));
  EXPECT_TRUE(Enabled(dlg, IDC_DL_AFTER_PATH));
  EXPECT_EQ(Text(own, IDC_OWN_FOLDER), L"D:\\bases");

  const int edits[] = {IDC_BASE1_PATH, IDC_BASE2_PATH, IDC_BASE3_PATH, IDC_BASE4_PATH,
                       IDC_BASE5_PATH};
  for (int i = 0; i < 5; ++i)
    SetText(shared, edits[i], L"base" + std::to_wstring(i + 1));
  Click(dlg, IDC_DL_KIND_OWN);
  EXPECT_FALSE(::IsWindowVisible(shared));
  EXPECT_TRUE(::IsWindowVisible(own));
  SetText(own, IDC_OWN_FOLDER, L"E:\\own");
  Click(own, IDC_OWN_DELETE_SENT);
  Click(dlg, IDC_DL_AFTER_CHECK);
  EXPECT_FALSE(Enabled(dlg, IDC_DL_AFTER_BROWSE));

  page->Apply();
  EXPECT_EQ(settings.OneFileForAll_TSD, 0);
  EXPECT_EQ(settings.StartAppBeforeDownload, 0);
  EXPECT_EQ(settings.StartAppAfterDownload, 0);
  EXPECT_EQ(settings.StartAppBeforeDownloadPath, L"C:\\before.bat") << "a disabled row writes back";
  EXPECT_EQ(settings.BaseFile1PathEdit, L"base1");
  EXPECT_EQ(settings.BaseFile2PathEdit, L"base2");
  EXPECT_EQ(settings.BaseFile3PathEdit, L"base3");
  EXPECT_EQ(settings.BaseFile4PathEdit, L"base4");
  EXPECT_EQ(settings.BaseFile5PathEdit, L"base5");
  EXPECT_EQ(settings.DirectoryWithBasaPath, L"E:\\own");
  EXPECT_EQ(settings.DeleteFileBeforeDownload, 1);
}

TEST_F(DownloadPageTest, ExplanationOfTheOwnFilesReadsLetterForLetter) {
  Open();
  HWND label = ::FindWindowExW(own, nullptr, L"Static", nullptr);
  std::wstring found;
  for (; label; label = ::FindWindowExW(own, label, L"Static", nullptr)) {
    wchar_t text[512] = {};
    ::GetWindowTextW(label, text, 512);
    if (std::wstring(text).size() > 100) found = text;
  }
  EXPECT_EQ(found,
            L"\tЧтобы загружать в каждый терминал свою базу, название файла базы должно выглядеть "
            L"следующим образом:\n\txxxxxxxxx_base1_index.txt;\n\txxxxxxxxx_base2_index.txt, и "
            L"т.д.\n\tгде \x0445\x0445\x0445\x0445\x0445\x0445\x0445\x0445\x0445 - серийный номер "
            L"терминала, index - дополнительный параметр.");
}

}  // namespace
}  // namespace morvane
