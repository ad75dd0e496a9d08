// Saving the log to real files, in the ANSI code page of the test run (1251, as on the Russian
// Windows the server runs on).
#include <gtest/gtest.h>

#include "core/exchange_fakes.h"
#include "framework/WindowText.h"
#include "log/LogFile.h"
#include "log/LogView.h"
#include "settings/ServerSettings.h"
#include "win/exchange/TempFolder.h"
#include "win/log/LogWindow.h"

namespace morvane {
namespace {

using testing::FakeClock;
using testing::LogWindow;
using testing::ReadFileBytes;
using testing::TempFolder;

// "7.12.2026 9:5:3 Сервер запущен!\r\n" in code page 1251.
const std::string kStartedLine =
    "7.12.2026 9:5:3 \xD1\xE5\xF0\xE2\xE5\xF0 \xE7\xE0\xEF\xF3\xF9\xE5\xED!\r\n";

class LogFileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(::GetACP(), 1251u) << "the tests run with the Russian ANSI code page";
  }
  LogFileTest() {
    log.Attach(window.Edit(), &clock);
    settings.DirectoryLog = folder.Path();
    settings.SaveLogOneFile = 1;
    settings.SaveLogWhenQuite = 1;
  }

  LogWindow window;
  FakeClock clock;
  CLogView log;
  TempFolder folder;
  ServerSettings settings;
};

TEST_F(LogFileTest, OneFileModeAppendsTheWholeLogInCp1251) {
  log.AddLogLine(L"Сервер запущен!");
  log.SaveLog(LogSaveMode::Save, settings, window.Owner());
  EXPECT_EQ(ReadFileBytes(folder / L"Log.log"), kStartedLine);
  log.SaveLog(LogSaveMode::Exit, settings, window.Owner());
  EXPECT_EQ(ReadFileBytes(folder / L"Log.log"), kStartedLine + kStartedLine)
      << "a second save repeats the whole log";
  EXPECT_TRUE(log.IsModified()) << "saving does not reset the modified flag";
}

TEST_F(LogFileTest, SeparateFileModeMakesANewFileNamedByTheTime) {
  settings.SaveLogOneFile = 0;
  settings.DirectoryLog = folder.Path() + L"\\\\";
  testing::WriteFileBytes(folder / L"Log_7.12.2026_9-5-3_45.log", "older content, longer");
  log.AddLogLine(L"Сервер запущен!");
  log.SaveLog(LogSaveMode::Save, settings, window.Owner());
  EXPECT_EQ(ReadFileBytes(folder / L"Log_7.12.2026_9-5-3_45.log"), kStartedLine)
      << "the same name within one millisecond replaces the file";
  EXPECT_EQ(settings.DirectoryLog, folder.Path());
}

TEST_F(LogFileTest, NothingToSaveNothingWritten) {
  log.SaveLog(LogSaveMode::Save, settings, window.Owner());
  log.AddLogLine(L"Сервер запущен!");
  log.Clear();
  log.SaveLog(LogSaveMode::Exit, settings, window.Owner());
  log.AddLogLine(L"Сервер запущен!");
  settings.SaveLogWhenQuite = 0;
  log.SaveLog(LogSaveMode::Exit, settings, window.Owner());
  EXPECT_TRUE(folder.Names().empty());
}

TEST_F(LogFileTest, EmptyFolderSettingCreatesTheProgramsLogFolder) {
  const std::wstring logFolder = testing::TestProgramFolder() + L"Log";
  testing::RemoveTree(logFolder);
  settings.DirectoryLog = L"";
  log.AddLogLine(L"Сервер запущен!");
  log.SaveLog(LogSaveMode::Save, settings, window.Owner());
  EXPECT_EQ(settings.DirectoryLog, logFolder);
  EXPECT_EQ(ReadFileBytes(logFolder + L"\\Log.log"), kStartedLine);
  testing::RemoveTree(logFolder);
}

TEST(LogFile, WritesEveryConvertedByte) {
  TempFolder folder;
  const std::wstring text = L"Сервер запущен!\r\n";
  // UTF-8 stands for any multibyte code page: 15 characters here take 27 bytes.
  ASSERT_TRUE(WriteLogFile(folder / L"utf8.log", text, LogFileMode::Replace, CP_UTF8));
  EXPECT_EQ(ReadFileBytes(folder / L"utf8.log"),
            "\xD0\xA1\xD0\xB5\xD1\x80\xD0\xB2\xD0\xB5\xD1\x80 "
            "\xD0\xB7\xD0\xB0\xD0\xBF\xD1\x83\xD1\x89\xD0\xB5"
            "\xD0\xBD!\r\n");
  EXPECT_EQ(WideToCodePage(L"日本", 932).size(), 4u);
}

TEST(LogFile, UnrepresentableCharactersBecomeTheDefaultCharacter) {
  EXPECT_EQ(WideToCodePage(L"a日b", CP_ACP), "a?b");
  EXPECT_EQ(WideToCodePage(L"", CP_ACP), "");
}

TEST(LogFile, AppendKeepsWhatIsThereReplaceDoesNot) {
  TempFolder folder;
  const std::wstring path = folder / L"Log.log";
  testing::WriteFileBytes(path, "old\r\n");
  ASSERT_TRUE(WriteLogFile(path, L"new\r\n", LogFileMode::Append));
  EXPECT_EQ(ReadFileBytes(path), "old\r\nnew\r\n");
  ASSERT_TRUE(WriteLogFile(path, L"x", LogFileMode::Replace));
  EXPECT_EQ(ReadFileBytes(path), "x");
  ASSERT_TRUE(WriteLogFile(folder / L"fresh.log", L"y", LogFileMode::Append));
  EXPECT_EQ(ReadFileBytes(folder / L"fresh.log"), "y");
  EXPECT_FALSE(WriteLogFile(folder / L"no\\such\\folder.log", L"z", LogFileMode::Append));
}

// The same bytes at first occurrence; else where they first differ.
std::string FirstDifference(const std::string& got, const std::string& expected) {
  if (got == expected) return "";
  size_t at = 0;
  while (at < got.size() && at < expected.size() && got[at] == expected[at])
    ++at;
  return "differs at byte " + std::to_string(at) + " of " + std::to_string(expected.size()) +
         " (file has " + std::to_string(got.size()) + ")";
}

// A log of 100,000 lines (most of them never on screen) reaches every kind of save whole.
TEST_F(LogFileTest, HundredThousandLinesAreSavedByteForByte) {
  std::string expected;
  for (int i = 0; i < 100000; ++i) {
    clock.now.second = i % 60;
    log.AddLogLine(L"Сервер запущен! " + std::to_wstring(i));
    expected += "7.12.2026 9:5:" + std::to_string(i % 60) +
                " \xD1\xE5\xF0\xE2\xE5\xF0 \xE7\xE0\xEF\xF3\xF9\xE5\xED! " + std::to_string(i) +
                "\r\n";
  }
  log.SaveLog(LogSaveMode::Save, settings, window.Owner());
  EXPECT_EQ(FirstDifference(ReadFileBytes(folder / L"Log.log"), expected), "");
  log.SaveLog(LogSaveMode::Exit, settings, window.Owner());
  EXPECT_EQ(FirstDifference(ReadFileBytes(folder / L"Log.log"), expected + expected), "");

  settings.SaveLogOneFile = 0;
  log.SaveLog(LogSaveMode::Exit, settings, window.Owner());
  EXPECT_EQ(FirstDifference(ReadFileBytes(folder / L"Log_7.12.2026_9-5-39_45.log"), expected), "");
}

// A line too long to lay out quickly: its first 999 characters and an ellipsis on screen, the
// whole of it in the file.
TEST_F(LogFileTest, LongLineIsCutOnScreenAndSavedWhole) {
  std::wstring message;
  std::string messageBytes;
  for (int i = 0; i < 20000; ++i) {
    message += L"жук ";
    messageBytes += "\xE6\xF3\xEA ";
  }
  log.AddLogLine(message);
  log.AddLogLine(L"Сервер запущен!");
  log.ShowPendingLines();
  const std::wstring stamp = L"7.12.2026 9:5:3 ";
  EXPECT_EQ(WindowText(window.Edit()), stamp + message.substr(0, 999 - stamp.size()) +
                                           L"\x2026\r\n" + stamp + L"Сервер запущен!\r\n");
  log.SaveLog(LogSaveMode::Save, settings, window.Owner());
  EXPECT_EQ(FirstDifference(ReadFileBytes(folder / L"Log.log"),
                            "7.12.2026 9:5:3 " + messageBytes + "\r\n" + kStartedLine),
            "");
}

}  // namespace
}  // namespace morvane
