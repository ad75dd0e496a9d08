#include <gtest/gtest.h>

#include "base/NumberText.h"
#include "exchange/Download.h"
#include "exchange_fakes.h"

namespace morvane {
namespace {

using testing::ExchangeWorld;
using testing::Journal;

const wchar_t kIp[] = L"192.168.0.21";
const wchar_t kSerial[] = L"12345678";

class SharedSetDownload : public ::testing::Test {
 protected:
  SharedSetDownload() {
    w.settings.OneFileForAll_TSD = 1;
    w.settings.BaseFile1PathEdit = L"D:\\Bases\\one.txt";
    w.settings.BaseFile2PathEdit = L"D:\\Bases\\two.txt";
    w.settings.BaseFile5PathEdit = L"D:\\Bases\\five.txt";
  }
  void Download(const std::wstring& base) {
    ExchangeContext ctx = w.Context();
    DownloadToTerminal(ctx, kIp, base, kSerial);
  }
  ExchangeWorld w;
};

TEST_F(SharedSetDownload, SendsTheFileOfTheBaseNumberWithoutLookingAtTheDisk) {
  Download(L"2");
  EXPECT_EQ(w.journal, (Journal{L"SendFile(D:\\Bases\\two.txt,2)",
                                L"log: Файл \"D:\\Bases\\two.txt\" успешно загружен в терминал - "
                                L"SN: 12345678 IP: 192.168.0.21"}));
  EXPECT_TRUE(w.fs.patterns.empty());

  w.journal.clear();
  Download(L"5xyz");
  EXPECT_EQ(w.component.sentPaths.back(), L"D:\\Bases\\five.txt") << "StrToIntW reading";
}

TEST_F(SharedSetDownload, NoFileForTheNumberStillAsksTheComponent) {
  w.component.sendResult = 0;
  Download(L"6");
  Download(L"x");
  Download(L"3");  // configured slot left empty
  EXPECT_EQ(w.journal, (Journal{L"SendFile(,6)", L"log: Файл для загрузки в терминал не выбран!",
                                L"SendFile(,0)", L"log: Файл для загрузки в терминал не выбран!",
                                L"SendFile(,3)", L"log: Файл для загрузки в терминал не выбран!"}));
}

TEST_F(SharedSetDownload, FailureLinesFollowTheErrorCode) {
  const std::wstring failure =
      L"log: Ошибка загрузки файла \"D:\\Bases\\one.txt\" в терминал - SN: 12345678 IP: "
      L"192.168.0.21";
  w.component.sendResult = -1;
  w.component.errorCode = 0;
  Download(L"1");
  EXPECT_EQ(w.journal, (Journal{L"SendFile(D:\\Bases\\one.txt,1)", L"GetErrorCode", failure}));

  w.journal.clear();
  w.component.errorCode = 17;
  Download(L"1");
  EXPECT_EQ(w.journal,
            (Journal{L"SendFile(D:\\Bases\\one.txt,1)", L"GetErrorCode", L"GetErrorDescription",
                     failure, L"log: Описание ошибки: нет связи"}));

  for (int result : {0, 2}) {
    w.journal.clear();
    w.component.sendResult = result;
    w.component.errorCode = 0;
    Download(L"1");
    EXPECT_EQ(w.journal.back(), failure) << "only 1 is success; result " << result;
  }

  w.log.lines.clear();
  w.component.errorCode = 5;
  w.component.errorCodeReadable = false;
  Download(L"1");
  EXPECT_EQ(w.log.lines.size(), 1u) << "an unreadable code counts as 0";
}

TEST_F(SharedSetDownload, WithoutAComponentOnlyTheProgramsRun) {
  w.withComponent = false;
  w.settings.StartAppBeforeDownload = 1;
  w.settings.StartAppBeforeDownloadPath = L"prep.bat";
  w.settings.StartAppAfterDownload = 1;
  w.settings.StartAppAfterDownloadPath = L"after.exe /q";
  w.launcher.startable = {L"after.exe /q"};
  Download(L"1");
  EXPECT_EQ(w.journal, (Journal{L"run: prep.bat", L"log: Ошибка запуска приложения: prep.bat",
                                L"run: after.exe /q", L"log: Запущено приложение: after.exe /q"}));
}

TEST_F(SharedSetDownload, ProgramsRunBeforeAndAfterWhateverTheOutcome) {
  w.settings.StartAppBeforeDownload = 1;
  w.settings.StartAppBeforeDownloadPath = L"";
  w.settings.StartAppAfterDownload = 2;  // only 1 counts as set
  w.settings.StartAppAfterDownloadPath = L"after.exe";
  w.component.sendResult = -1;
  Download(L"1");
  ASSERT_GE(w.journal.size(), 3u);
  EXPECT_EQ(w.journal[0], L"run: ");
  EXPECT_EQ(w.journal[1], L"log: Ошибка запуска приложения: ");
  EXPECT_EQ(w.journal[2], L"SendFile(D:\\Bases\\one.txt,1)");
  for (const std::wstring& entry : w.journal)
    EXPECT_NE(entry, L"run: after.exe");

  w.journal.clear();
  w.settings.StartAppAfterDownload = 1;
  Download(L"1");
  EXPECT_EQ(w.journal.back(), L"log: Ошибка запуска приложения: after.exe");
  EXPECT_EQ(w.journal[w.journal.size() - 2], L"run: after.exe");
}

class OwnFileDownload : public ::testing::Test {
 protected:
  OwnFileDownload() {
    w.settings.OneFileForAll_TSD = 0;
    w.settings.DirectoryWithBasaPath = L"D:\\Bases";
    w.fs.folders = {L"D:\\Bases", L"C:\\Program"};
  }
  void Download(const std::wstring& base, const std::wstring& serial = kSerial) {
    ExchangeContext ctx = w.Context();
    DownloadToTerminal(ctx, kIp, base, serial);
  }
  ExchangeWorld w;
};

TEST_F(OwnFileDownload, WorkedExampleSmallestIndexThenTheNextAfterDeletion) {
  w.settings.DeleteFileBeforeDownload = 1;
  w.fs.AddFile(L"D:\\Bases\\12345678_base1_3.txt");
  w.fs.AddFile(L"D:\\Bases\\12345678_base1_1.txt");
  w.fs.AddFile(L"D:\\Bases\\12345678_base1_x.txt");
  w.fs.AddFile(L"D:\\Bases\\12345678_base2_1.txt");

  Download(L"1");
  EXPECT_EQ(w.fs.patterns.back(), L"D:\\Bases\\12345678_base1*.*");
  EXPECT_EQ(w.journal,
            (Journal{L"SendFile(D:\\Bases\\12345678_base1_1.txt,1)",
                     L"log: Файл \"D:\\Bases\\12345678_base1_1.txt\" успешно загружен в терминал - "
                     L"SN: 12345678 IP: 192.168.0.21",
                     L"delete: D:\\Bases\\12345678_base1_1.txt",
                     L"log: Удалён файл: D:\\Bases\\12345678_base1_1.txt"}));

  Download(L"1");
  EXPECT_EQ(w.component.sentPaths.back(), L"D:\\Bases\\12345678_base1_3.txt");
  w.journal.clear();
  Download(L"1");
  EXPECT_EQ(w.journal, (Journal{L"SendFile(,1)", L"log: Файл для данного терминала не найден!"}))
      << "a name without a number is never sent";
}

TEST_F(OwnFileDownload, SentFileStaysWithoutTheDeletionFlag) {
  w.settings.DeleteFileBeforeDownload = 2;  // only 1 counts
  w.fs.AddFile(L"D:\\Bases\\12345678_base1_1.txt");
  Download(L"1");
  Download(L"1");
  EXPECT_EQ(w.component.sentPaths, (std::vector<std::wstring>{L"D:\\Bases\\12345678_base1_1.txt",
                                                              L"D:\\Bases\\12345678_base1_1.txt"}));
  EXPECT_EQ(w.fs.files.size(), 1u);
}

TEST_F(OwnFileDownload, IndexReadingTiesAndNegatives) {
  w.fs.AddFile(L"D:\\Bases\\12345678_base1_-2.txt");
  w.fs.AddFile(L"D:\\Bases\\12345678_base1_05.txt");
  w.fs.AddFile(L"D:\\Bases\\12345678_base1_5.txt");
  w.fs.AddFile(L"D:\\Bases\\12345678_base1_ 9.txt");
  Download(L"1");
  EXPECT_EQ(w.component.sentPaths.back(), L"D:\\Bases\\12345678_base1_05.txt")
      << "5 and 05 tie: the first found stays; -2 is passed over";

  w.fs.AddFile(L"D:\\Bases\\12345678_base1_ +4.txt");
  Download(L"1");
  EXPECT_EQ(w.component.sentPaths.back(), L"D:\\Bases\\12345678_base1_ +4.txt")
      << "StrToIntExW skips blanks and takes a sign";
}

TEST_F(OwnFileDownload, NameWithoutThePrefixIsTakenAtOnce) {
  w.fs.AddFile(L"D:\\Bases\\12345678_base1_0.txt");
  w.fs.AddFile(L"D:\\Bases\\12345678_base10_1.txt");
  w.fs.AddFile(L"D:\\Bases\\12345678_base1_-1.txt");
  Download(L"1");
  EXPECT_EQ(w.component.sentPaths.back(), L"D:\\Bases\\12345678_base10_1.txt")
      << "base 10 found in the search for base 1 ends the walk";

  w.fs.files = {L"D:\\Bases\\12345678_base1.txt"};
  Download(L"1");
  EXPECT_EQ(w.component.sentPaths.back(), L"D:\\Bases\\12345678_base1.txt");

  w.fs.files = {L"D:\\Bases\\12345678_BASE1_7.txt", L"D:\\Bases\\12345678_base1_2.txt"};
  Download(L"1");
  EXPECT_EQ(w.component.sentPaths.back(), L"D:\\Bases\\12345678_BASE1_7.txt")
      << "the prefix is compared with its letter case";
}

TEST_F(OwnFileDownload, NothingFoundStillCallsTheComponent) {
  w.fs.AddFile(L"D:\\Bases\\12345678_base2_1.txt");
  Download(L"1");
  EXPECT_EQ(w.journal, (Journal{L"SendFile(,1)", L"log: Файл для данного терминала не найден!"}));
}

TEST_F(OwnFileDownload, FolderFallsBackToTheProgramFolder) {
  w.settings.DirectoryWithBasaPath = L"";
  w.fs.AddFile(L"C:\\Program\\12345678_base1_1.txt");
  Download(L"1");
  EXPECT_EQ(w.settings.DirectoryWithBasaPath, L"C:\\Program");
  EXPECT_EQ(w.fs.patterns.back(), L"C:\\Program\\12345678_base1*.*");
  EXPECT_EQ(w.component.sentPaths.back(), L"C:\\Program\\12345678_base1_1.txt");

  w.settings.DirectoryWithBasaPath = L"D:\\Bases\\\\";
  Download(L"1");
  EXPECT_EQ(w.settings.DirectoryWithBasaPath, L"D:\\Bases") << "trailing backslashes stripped";

  w.settings.DirectoryWithBasaPath = L"E:\\Gone";
  Download(L"1");
  EXPECT_EQ(w.settings.DirectoryWithBasaPath, L"C:\\Program");
}

TEST_F(OwnFileDownload, UnusableFolderIsReportedOnlyWhenEvenTheProgramFolderFails) {
  w.settings.DirectoryWithBasaPath = L"E:\\Gone";
  w.fs.programPathOk = false;
  Download(L"1");
  EXPECT_EQ(w.journal, (Journal{L"SendFile(,1)", L"log: Неверно указана папка с файлами!"}));
  EXPECT_TRUE(w.fs.patterns.empty());
}

TEST_F(OwnFileDownload, FailedSendKeepsTheFileAndSaysVTerminala) {
  w.settings.DeleteFileBeforeDownload = 1;
  w.fs.AddFile(L"D:\\Bases\\12345678_base1_1.txt");
  w.component.sendResult = -1;
  w.component.errorCode = 3;
  Download(L"1");
  EXPECT_EQ(
      w.journal,
      (Journal{L"SendFile(D:\\Bases\\12345678_base1_1.txt,1)", L"GetErrorCode",
               L"GetErrorDescription",
               L"log: Ошибка загрузки файла \"D:\\Bases\\12345678_base1_1.txt\" в терминала - "
               L"SN: 12345678 IP: 192.168.0.21",
               L"log: Описание ошибки: нет связи"}));
  EXPECT_EQ(w.fs.files.size(), 1u);
}

TEST_F(OwnFileDownload, AnyResultButOneIsAFailureAndNeverDeletes) {
  w.settings.DeleteFileBeforeDownload = 1;
  w.fs.AddFile(L"D:\\Bases\\12345678_base1_1.txt");
  for (int result : {0, 2, -7}) {
    w.journal.clear();
    w.component.sendResult = result;
    Download(L"1");
    EXPECT_EQ(w.journal.back(),
              L"log: Ошибка загрузки файла \"D:\\Bases\\12345678_base1_1.txt\" в терминала - SN: "
              L"12345678 IP: 192.168.0.21")
        << "result " << result;
    EXPECT_EQ(w.fs.files.size(), 1u) << "result " << result;
  }
}

TEST_F(OwnFileDownload, WithoutAComponentNothingIsSentOrLogged) {
  w.withComponent = false;
  w.settings.DeleteFileBeforeDownload = 1;
  w.settings.StartAppAfterDownload = 1;
  w.settings.StartAppAfterDownloadPath = L"after.exe";
  w.launcher.startable = {L"after.exe"};
  w.fs.AddFile(L"D:\\Bases\\12345678_base1_1.txt");
  Download(L"1");
  Download(L"2");  // nothing found
  w.settings.DirectoryWithBasaPath = L"E:\\Gone";
  w.fs.programPathOk = false;
  Download(L"1");  // wrong folder
  EXPECT_EQ(w.journal, (Journal{L"run: after.exe", L"log: Запущено приложение: after.exe",
                                L"run: after.exe", L"log: Запущено приложение: after.exe",
                                L"run: after.exe", L"log: Запущено приложение: after.exe"}));
  EXPECT_EQ(w.fs.files.size(), 1u);
}

// A serial or base number with a character that no file name holds has no file of its own: no
// search, the not-found path, nothing deleted. Replacing the character would serve serial "a*b"
// the file of serial "a_b".
TEST_F(OwnFileDownload, SerialsAndBaseNumbersThatNoFileNameHoldsMatchNoFile) {
  w.settings.DeleteFileBeforeDownload = 1;
  w.fs.folders.push_back(L"D:\\Secret");
  w.fs.AddFile(L"D:\\Bases\\a_b_base1_1.txt");
  w.fs.AddFile(L"D:\\Bases\\A__B_base1_1.txt");
  w.fs.AddFile(L"D:\\Bases\\12345678_base__1.txt");
  w.fs.AddFile(L"D:\\Secret\\x_base1_1.txt");

  const std::pair<const wchar_t*, std::wstring> requests[] = {
      {L"1", L"a*b"},           {L"1", L"a?b"},
      {L"1", L"A\r\nB"},        {L"1", L"..\\Secret\\x"},
      {L"1", L"D:\\Secret\\x"}, {L"1", L"a/b"},
      {L"1", L"a\"b<>|:"},      {L"*", kSerial},
      {L"1\t", kSerial},        {L"1", std::wstring(L"a\0b", 3)}};
  for (const auto& [base, serial] : requests) {
    w.journal.clear();
    Download(base, serial);
    EXPECT_EQ(w.journal, (Journal{L"SendFile(," + std::to_wstring(StrToIntRule(base)) + L")",
                                  L"log: Файл для данного терминала не найден!"}))
        << serial << " / " << base;
  }
  EXPECT_TRUE(w.fs.patterns.empty());
  EXPECT_EQ(w.fs.files.size(), 4u) << "nothing deleted";

  w.journal.clear();
  Download(L"1", L"a_b");
  EXPECT_EQ(w.component.sentPaths.back(), L"D:\\Bases\\a_b_base1_1.txt")
      << "a valid serial is served as before";
  Download(L"1", L"..");
  EXPECT_EQ(w.fs.patterns.back(), L"D:\\Bases\\.._base1*.*") << "dots alone stay in the folder";
}

TEST_F(OwnFileDownload, AFileThatStaysIsNotReportedAsDeleted) {
  w.settings.DeleteFileBeforeDownload = 1;
  w.fs.AddFile(L"D:\\Bases\\12345678_base1_1.txt");
  w.fs.undeletable = {L"D:\\Bases\\12345678_base1_1.txt"};
  Download(L"1");
  EXPECT_EQ(w.journal.back(), L"log: Не удалось удалить файл: D:\\Bases\\12345678_base1_1.txt");
  for (const std::wstring& entry : w.journal)
    EXPECT_EQ(entry.find(L"Удалён"), std::wstring::npos) << entry;
}

// Only 1 means the shared set; the base number is part of the file name as the terminal sent it.
TEST_F(OwnFileDownload, AFlagOfTwoAndTheBaseNumberAsReceived) {
  w.settings.OneFileForAll_TSD = 2;
  w.settings.BaseFile1PathEdit = L"D:\\Bases\\one.txt";
  w.fs.AddFile(L"D:\\Bases\\12345678_base1_1.txt");
  w.fs.AddFile(L"D:\\Bases\\12345678_base01_2.txt");
  Download(L"01");
  EXPECT_EQ(w.fs.patterns, std::vector<std::wstring>{L"D:\\Bases\\12345678_base01*.*"});
  EXPECT_EQ(w.journal.front(), L"SendFile(D:\\Bases\\12345678_base01_2.txt,1)");

  w.fs.AddFile(L"D:\\Bases\\12345678_base01a_3.txt");
  Download(L"01a");
  EXPECT_EQ(w.component.sentPaths.back(), L"D:\\Bases\\12345678_base01a_3.txt");
}

// The file went away while it was sent: nothing to delete, and no line says it was deleted.
TEST_F(OwnFileDownload, AFileGoneDuringTheSendIsNotDeletedAgain) {
  w.settings.DeleteFileBeforeDownload = 1;
  w.fs.AddFile(L"D:\\Bases\\12345678_base1_1.txt");
  w.component.duringSend = [&] { w.fs.files.clear(); };
  Download(L"1");
  EXPECT_EQ(w.journal,
            (Journal{L"SendFile(D:\\Bases\\12345678_base1_1.txt,1)",
                     L"log: Файл \"D:\\Bases\\12345678_base1_1.txt\" успешно загружен в терминал - "
                     L"SN: 12345678 IP: 192.168.0.21"}));
}

TEST_F(OwnFileDownload, WithoutAComponentTheFolderStillFallsBack) {
  w.withComponent = false;
  w.settings.DirectoryWithBasaPath = L"E:\\Gone";
  Download(L"1");
  EXPECT_EQ(w.settings.DirectoryWithBasaPath, L"C:\\Program");
}

}  // namespace
}  // namespace morvane
