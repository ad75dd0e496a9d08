// Per-terminal downloads against a real folder: the Windows search decides which names are seen,
// the exchange decides which one is sent and deletes it.
#include <gtest/gtest.h>

#include "core/exchange_fakes.h"
#include "exchange/Download.h"
#include "exchange/Win32FileSystem.h"
#include "framework/ScopedResource.h"
#include "win/exchange/TempFolder.h"

namespace morvane {
namespace {

using testing::TempFolder;

class OwnFilesOnDisk : public ::testing::Test {
 protected:
  OwnFilesOnDisk() {
    w.settings.OneFileForAll_TSD = 0;
    w.settings.DeleteFileBeforeDownload = 1;
    w.settings.DirectoryWithBasaPath = folder.Path() + L"\\";
  }
  // Returns the path handed to SendFile.
  std::wstring Download(const std::wstring& base, const std::wstring& serial = L"12345678") {
    ExchangeContext ctx{w.settings, &w.component, w.log, fs, w.launcher, w.clock};
    DownloadToTerminal(ctx, L"10.0.0.5", base, serial);
    return w.component.sentPaths.empty() ? L"(none)" : w.component.sentPaths.back();
  }

  TempFolder folder;
  CWin32FileSystem fs;
  testing::ExchangeWorld w;
};

TEST_F(OwnFilesOnDisk, SmallestIndexFirstAndDeletedAfterTheSend) {
  for (const wchar_t* name : {L"12345678_base1_3.txt", L"12345678_base1_1.txt",
                              L"12345678_base1_x.txt", L"12345678_base2_1.txt"})
    folder.Touch(name);

  EXPECT_EQ(Download(L"1"), folder / L"12345678_base1_1.txt");
  EXPECT_EQ(w.settings.DirectoryWithBasaPath, folder.Path());
  EXPECT_FALSE(folder.Has(L"12345678_base1_1.txt"));
  EXPECT_EQ(w.log.lines.back(), L"Удалён файл: " + (folder / L"12345678_base1_1.txt"));

  EXPECT_EQ(Download(L"1"), folder / L"12345678_base1_3.txt");
  EXPECT_EQ(Download(L"1"), L"");
  EXPECT_EQ(w.log.lines.back(), L"Файл для данного терминала не найден!");
  EXPECT_EQ(folder.Names(),
            (std::vector<std::wstring>{L"12345678_base1_x.txt", L"12345678_base2_1.txt"}));
}

TEST_F(OwnFilesOnDisk, NamesMatchingThePatternWithoutThePrefixAreTakenAtOnce) {
  folder.Touch(L"12345678_base10_4.txt");
  EXPECT_EQ(Download(L"1"), folder / L"12345678_base10_4.txt")
      << "the search for base 1 finds base 10";
  EXPECT_FALSE(folder.Has(L"12345678_base10_4.txt"));

  folder.Touch(L"12345678_BASE1_2.txt");
  EXPECT_EQ(Download(L"1"), folder / L"12345678_BASE1_2.txt")
      << "the search ignores letter case, the prefix does not";

  folder.Touch(L"12345678_base1.dat");
  EXPECT_EQ(Download(L"1"), folder / L"12345678_base1.dat");
}

TEST_F(OwnFilesOnDisk, FailedSendKeepsTheFile) {
  folder.Touch(L"12345678_base1_1.txt");
  w.component.sendResult = -1;
  EXPECT_EQ(Download(L"1"), folder / L"12345678_base1_1.txt");
  w.component.sendResult = 0;
  Download(L"1");
  EXPECT_TRUE(folder.Has(L"12345678_base1_1.txt"));
}

// A base that another program holds open without delete sharing cannot be deleted: the log says
// so, and the next request sends it again.
TEST_F(OwnFilesOnDisk, AFileHeldOpenIsReportedAsNotDeleted) {
  folder.Touch(L"12345678_base1_1.txt");
  const std::wstring path = folder / L"12345678_base1_1.txt";
  {
    const ScopedFileHandle held(::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    ASSERT_TRUE(held.IsValid());
    EXPECT_EQ(Download(L"1"), path);
    EXPECT_EQ(w.log.lines.back(), L"Не удалось удалить файл: " + path);
    EXPECT_EQ(Download(L"1"), path);
  }
  EXPECT_EQ(Download(L"1"), path);
  EXPECT_EQ(w.log.lines.back(), L"Удалён файл: " + path);
  EXPECT_FALSE(folder.Has(L"12345678_base1_1.txt"));
}

TEST_F(OwnFilesOnDisk, HostileSerialsReachNoOtherFile) {
  TempFolder outside;
  outside.Touch(L"x_base1_1.txt");
  folder.Touch(L"87654321_base1_1.txt");
  folder.Touch(L"11111111_base1_2.txt");
  const std::wstring outsideName = outside.Path().substr(outside.Path().rfind(L'\\') + 1);

  for (const std::wstring& serial :
       {std::wstring(L"*"), std::wstring(L"????????"), L"..\\" + outsideName + L"\\x",
        outside.Path() + L"\\x", std::wstring(L"87654321_base1_1.txt\\..\\87654321")}) {
    EXPECT_EQ(Download(L"1", serial), L"") << serial;
  }
  EXPECT_EQ(Download(L"*", L"87654321"), L"");
  EXPECT_EQ(folder.Names(),
            (std::vector<std::wstring>{L"11111111_base1_2.txt", L"87654321_base1_1.txt"}));
  EXPECT_TRUE(outside.Has(L"x_base1_1.txt"));
}

TEST_F(OwnFilesOnDisk, EmptyFolderSettingSearchesTheProgramFolder) {
  w.settings.DirectoryWithBasaPath = L"";
  EXPECT_EQ(Download(L"1", L"no-such-terminal"), L"");
  std::wstring expected = testing::TestProgramFolder();
  expected.pop_back();
  EXPECT_EQ(w.settings.DirectoryWithBasaPath, expected);
  EXPECT_EQ(w.log.lines.back(), L"Файл для данного терминала не найден!");
}

}  // namespace
}  // namespace morvane
