#include <gtest/gtest.h>

#include <algorithm>

#include "exchange/Folders.h"
#include "exchange/Win32FileSystem.h"
#include "win/exchange/TempFolder.h"

namespace morvane {
namespace {

using testing::TempFolder;

std::vector<std::wstring> Found(CWin32FileSystem& fs, const std::wstring& pattern) {
  std::vector<std::wstring> names;
  fs.FindFiles(pattern, [&](const std::wstring& name) {
    names.push_back(name);
    return true;
  });
  std::sort(names.begin(), names.end());
  return names;
}

TEST(Win32FileSystem, SearchFindsWhatThePatternMatches) {
  TempFolder folder;
  for (const wchar_t* name :
       {L"12345678_base1_3.txt", L"12345678_base1_1.txt", L"12345678_base1_x.txt",
        L"12345678_base2_1.txt", L"12345678_base10_1.txt", L"12345678_base1", L"A_base1_1.txt"})
    folder.Touch(name);
  CWin32FileSystem fs;
  EXPECT_EQ(Found(fs, folder / L"12345678_base1*.*"),
            (std::vector<std::wstring>{L"12345678_base1", L"12345678_base10_1.txt",
                                       L"12345678_base1_1.txt", L"12345678_base1_3.txt",
                                       L"12345678_base1_x.txt"}))
      << "\"*.*\" also matches a name without a dot";
  EXPECT_EQ(Found(fs, folder / L"a_base1*.*"), (std::vector<std::wstring>{L"A_base1_1.txt"}))
      << "letter case does not matter to the search";
  EXPECT_TRUE(Found(fs, folder / L"99_base1*.*").empty());
  EXPECT_TRUE(Found(fs, folder / L"missing\\*.*").empty());

  int visits = 0;
  fs.FindFiles(folder / L"*.txt", [&](const std::wstring&) { return ++visits < 2; });
  EXPECT_EQ(visits, 2) << "the walk stops when asked";
}

TEST(Win32FileSystem, ExistenceDeletionAndFolders) {
  TempFolder folder;
  folder.Touch(L"a.txt");
  CWin32FileSystem fs;
  EXPECT_TRUE(fs.FileExists(folder / L"a.txt"));
  EXPECT_FALSE(fs.FileExists(folder / L"b.txt"));
  EXPECT_TRUE(fs.PathExists(folder.Path()));
  EXPECT_TRUE(fs.RemoveFile(folder / L"a.txt"));
  EXPECT_FALSE(folder.Has(L"a.txt"));
  EXPECT_FALSE(fs.RemoveFile(folder / L"a.txt"));

  EXPECT_TRUE(fs.MakeFolder(folder / L"Log"));
  EXPECT_TRUE(fs.PathExists(folder / L"Log"));
  EXPECT_FALSE(fs.MakeFolder(folder / L"none\\Log")) << "no intermediate folders";

  std::wstring setting = folder.Path() + L"\\\\\\";
  EXPECT_TRUE(CheckFolder(fs, setting));
  EXPECT_EQ(setting, folder.Path());
  setting = folder / L"gone\\";
  EXPECT_FALSE(CheckFolder(fs, setting));
}

TEST(Win32FileSystem, ProgramFolderIsTheTestProgramsFolder) {
  CWin32FileSystem fs;
  std::wstring exe;
  ASSERT_TRUE(fs.GetProgramPath(exe));
  EXPECT_NE(exe.find(L"win_exchange_tests.exe"), std::wstring::npos) << exe;

  std::wstring folder = L"something else";
  ASSERT_TRUE(GetProgramFolder(fs, folder));
  EXPECT_EQ(folder, testing::TestProgramFolder());
  EXPECT_EQ(folder.back(), L'\\');
}

}  // namespace
}  // namespace morvane
