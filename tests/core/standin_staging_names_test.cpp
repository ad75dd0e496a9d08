// Names of the temporary upload files: ours are told by their name, with the process that made
// them.
#include <gtest/gtest.h>

#include "standin/server/StagingNames.h"

namespace morvane::standin {
namespace {

TEST(StandinStagingNames, CarryTheProcessIdAndAreKnownAgain) {
  EXPECT_EQ(StagingFileName(4242, 7), L"~CipherLab9x00-4242-7.tmp");
  uint32_t pid = 0;
  EXPECT_TRUE(StagingFileProcess(L"~CipherLab9x00-4242-7.tmp", pid));
  EXPECT_EQ(pid, 4242u);
  EXPECT_TRUE(StagingFileProcess(L"~CIPHERLAB9X00-4294967295-1.TMP", pid)) << "any letter case";
  EXPECT_EQ(pid, 4294967295u);
}

TEST(StandinStagingNames, OtherFilesAreNeverTakenForOurs) {
  uint32_t pid = 0;
  for (const wchar_t* name :
       {L"~cl1A2B.tmp", L"~CipherLab9x00-12.tmp", L"~CipherLab9x00--1.tmp",
        L"~CipherLab9x00-12-.tmp", L"~CipherLab9x00-4294967296-1.tmp", L"~CipherLab9x00-1-2.txt",
        L"~CipherLab9x00-1-2.tmp.txt", L"x~CipherLab9x00-1-2.tmp", L"~CipherLab9x00-1 -2.tmp",
        L"12345678_Base1_001.txt"}) {
    EXPECT_FALSE(StagingFileProcess(name, pid)) << testing::PrintToString(std::wstring(name));
  }
}

}  // namespace
}  // namespace morvane::standin
