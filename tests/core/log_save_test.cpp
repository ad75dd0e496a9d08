#include <gtest/gtest.h>

#include "exchange_fakes.h"
#include "log/LogSave.h"

namespace morvane {
namespace {

using testing::FakeClock;
using testing::FakeFileSystem;
using testing::Journal;

class FakeDocument : public ILogDocument {
 public:
  bool modified = true;
  std::wstring text = L"7.12.2026 9:5:3 Сервер запущен!\r\n";
  bool IsModified() const override { return modified; }
  std::wstring Text() const override { return text; }
};

class FakeLogFiles : public ILogFiles {
 public:
  explicit FakeLogFiles(Journal& journal) : journal_(journal) {}
  bool answerDialog = true;
  std::wstring dialogPath = L"E:\\chosen.log";
  bool PromptSaveAsPath(std::wstring& path) override {
    journal_.push_back(L"dialog");
    if (answerDialog) path = dialogPath;
    return answerDialog;
  }
  bool WriteLogFile(const std::wstring& path, const std::wstring& text, LogFileMode mode) override {
    journal_.push_back((mode == LogFileMode::Append ? L"append: " : L"replace: ") + path + L" = " +
                       text);
    return true;
  }

 private:
  Journal& journal_;
};

class LogSave : public ::testing::Test {
 protected:
  LogSave() {
    fs.folders = {L"C:\\Program", L"D:\\Logs"};
    settings.DirectoryLog = L"D:\\Logs";
    settings.SaveLogOneFile = 1;
    settings.SaveLogWhenQuite = 1;
  }
  void Save(LogSaveMode mode) { SaveLog(mode, settings, document, files, fs, clock); }
  std::wstring Written(const std::wstring& how, const std::wstring& path) {
    return how + L": " + path + L" = " + document.text;
  }

  Journal journal;
  ServerSettings settings;
  FakeDocument document;
  FakeLogFiles files{journal};
  FakeFileSystem fs{journal};
  FakeClock clock;
};

TEST_F(LogSave, OneFileModeAppendsEverySaveToLogLog) {
  settings.DirectoryLog = L"D:\\Logs\\\\";
  Save(LogSaveMode::Save);
  Save(LogSaveMode::Save);
  EXPECT_EQ(journal, (Journal{Written(L"append", L"D:\\Logs\\Log.log"),
                              Written(L"append", L"D:\\Logs\\Log.log")}))
      << "every save writes the whole log again";
  EXPECT_EQ(settings.DirectoryLog, L"D:\\Logs");
}

TEST_F(LogSave, SeparateFilesAreNamedByTheUtcTime) {
  settings.SaveLogOneFile = 0;
  Save(LogSaveMode::Save);
  EXPECT_EQ(journal, (Journal{Written(L"replace", L"D:\\Logs\\Log_7.12.2026_9-5-3_45.log")}));
  EXPECT_EQ(LogFileName(false, {2027, 1, 2, 0, 0, 0, 0}), L"Log_2.1.2027_0-0-0_0.log");
}

TEST_F(LogSave, NothingIsWrittenUnlessTheLogWasModified) {
  document.modified = false;
  Save(LogSaveMode::Save);
  Save(LogSaveMode::Exit);
  EXPECT_TRUE(journal.empty());
}

TEST_F(LogSave, ExitSavesOnlyWhenConfigured) {
  settings.SaveLogWhenQuite = 0;
  Save(LogSaveMode::Exit);
  EXPECT_TRUE(journal.empty());
  settings.SaveLogWhenQuite = 1;
  Save(LogSaveMode::Exit);
  EXPECT_EQ(journal, (Journal{Written(L"append", L"D:\\Logs\\Log.log")}));
}

TEST_F(LogSave, SaveAsGoesWhereTheDialogSaysModifiedOrNot) {
  document.modified = false;
  settings.DirectoryLog = L"";
  Save(LogSaveMode::SaveAs);
  EXPECT_EQ(journal, (Journal{L"dialog", Written(L"replace", L"E:\\chosen.log")}));
  EXPECT_EQ(settings.DirectoryLog, L"") << "the folder setting is not consulted";

  journal.clear();
  files.answerDialog = false;
  Save(LogSaveMode::SaveAs);
  EXPECT_EQ(journal, (Journal{L"dialog"}));
}

TEST_F(LogSave, MissingFolderFallsBackToTheProgramsLogFolder) {
  settings.DirectoryLog = L"";
  Save(LogSaveMode::Save);
  EXPECT_EQ(settings.DirectoryLog, L"C:\\Program\\Log");
  EXPECT_EQ(journal, (Journal{L"mkdir: C:\\Program\\Log",
                              Written(L"append", L"C:\\Program\\Log\\Log.log")}));

  journal.clear();
  settings.DirectoryLog = L"Q:\\Gone";
  Save(LogSaveMode::Save);
  EXPECT_EQ(settings.DirectoryLog, L"C:\\Program\\Log");
  EXPECT_EQ(journal, (Journal{Written(L"append", L"C:\\Program\\Log\\Log.log")}))
      << "an existing Log folder is not created again";
}

TEST_F(LogSave, BareNameWhenNoFolderCanBeHad) {
  settings.DirectoryLog = L"";
  fs.makeFolderWorks = false;
  Save(LogSaveMode::Save);
  EXPECT_EQ(journal, (Journal{L"mkdir: C:\\Program\\Log", Written(L"append", L"Log.log")}));

  journal.clear();
  fs.programPathOk = false;
  Save(LogSaveMode::Save);
  EXPECT_EQ(journal, (Journal{Written(L"append", L"Log.log")}));
}

// Only 1 sets a flag: with 2 there is no save at exit, and a save makes a file of its own.
TEST_F(LogSave, FlagsOfTwoAreNotSet) {
  settings.SaveLogWhenQuite = 2;
  settings.SaveLogOneFile = 2;
  Save(LogSaveMode::Exit);
  EXPECT_TRUE(journal.empty());
  Save(LogSaveMode::Save);
  EXPECT_EQ(journal, (Journal{Written(L"replace", L"D:\\Logs\\Log_7.12.2026_9-5-3_45.log")}));
}

}  // namespace
}  // namespace morvane
