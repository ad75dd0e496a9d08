#include <gtest/gtest.h>

#include "exchange/Upload.h"
#include "exchange_fakes.h"

namespace morvane {
namespace {

using testing::ExchangeWorld;
using testing::Journal;

const wchar_t kIp[] = L"192.168.0.21";
const wchar_t kSerial[] = L"12345678";
const wchar_t kFetched[] =
    L"log: Данные выгружены из терминала - SN: 12345678 IP: 192.168.0.21 в: ";
const wchar_t kFailed[] =
    L"log: Ошибка выгрузки данных из терминала - SN: 12345678 IP: 192.168.0.21";

class Upload : public ::testing::Test {
 protected:
  Upload() { w.fs.folders = {L"C:\\Program", L"D:\\Data"}; }
  void Run(const std::wstring& kind, const std::wstring& base = L"1",
           const std::wstring& serial = kSerial) {
    ExchangeContext ctx = w.Context();
    UploadFromTerminal(ctx, kIp, base, L"extra", kind, serial);
  }
  void UseOwnFiles(int colNumberIndex, int suffiksIndex) {
    w.settings.OneFileForAllTSD = 0;
    w.settings.DirectoryForUpload = L"D:\\Data";
    w.settings.SNFileName = 1;
    w.settings.AddNumberBD = 1;
    w.settings.SuffiksRadio = 1;
    w.settings.ColNumberIndex = colNumberIndex;
    w.settings.SuffiksIndex = suffiksIndex;
  }
  ExchangeWorld w;
};

TEST_F(Upload, SharedFileDefaultsToDataFileTxtInTheProgramFolder) {
  w.settings.OneFileForAllTSD = 1;
  w.settings.FileNameForUpload = L"";
  Run(L"2", L"4");
  EXPECT_EQ(w.settings.FileNameForUpload, L"C:\\Program\\DataFile.txt");
  EXPECT_EQ(w.journal,
            (Journal{L"SetDeleteUploadedData(0)", L"GetFile(C:\\Program\\DataFile.txt,2,4,0)",
                     kFetched + std::wstring(L"C:\\Program\\DataFile.txt")}));

  w.settings.FileNameForUpload = L"";
  w.fs.programPathOk = false;
  Run(L"2");
  EXPECT_EQ(w.settings.FileNameForUpload, L"DataFile.txt");

  w.settings.FileNameForUpload = L"E:\\nowhere\\all.txt";
  Run(L"2");
  EXPECT_EQ(w.journal.back(), kFetched + std::wstring(L"E:\\nowhere\\all.txt"))
      << "a set file is used as it is";
}

TEST_F(Upload, ClearingSwitchFollowsTheKind) {
  w.settings.FileNameForUpload = L"D:\\Data\\all.txt";
  w.settings.ClearBDAfterUpload = 1;
  w.settings.ClearFilesAfterUpload = 0;
  Run(L"1");
  EXPECT_EQ(w.journal.front(), L"SetDeleteUploadedData(1)");
  w.journal.clear();
  Run(L"2");
  EXPECT_EQ(w.journal.front(), L"SetDeleteUploadedData(0)");

  w.settings.ClearBDAfterUpload = 2;  // only 1 counts
  w.settings.ClearFilesAfterUpload = 1;
  w.journal.clear();
  Run(L"1");
  EXPECT_EQ(w.journal.front(), L"SetDeleteUploadedData(0)");
  w.journal.clear();
  Run(L"2");
  EXPECT_EQ(w.journal.front(), L"SetDeleteUploadedData(1)");

  w.journal.clear();
  Run(L"3");
  Run(L"x");
  EXPECT_EQ(w.journal, (Journal{L"GetFile(D:\\Data\\all.txt,3,1,0)",
                                kFetched + std::wstring(L"D:\\Data\\all.txt"),
                                L"GetFile(D:\\Data\\all.txt,0,1,0)",
                                kFetched + std::wstring(L"D:\\Data\\all.txt")}));
}

TEST_F(Upload, WorkedExampleOfASeparateFile) {
  UseOwnFiles(2, 7);
  w.settings.DirectoryForUpload = L"D:\\Data\\\\";
  Run(L"1");
  EXPECT_EQ(w.settings.DirectoryForUpload, L"D:\\Data");
  EXPECT_EQ(w.journal.back(),
            L"log: Данные выгружены из терминала - SN: 12345678 IP: 192.168.0.21 в: "
            L"D:\\Data\\12345678_Base1_007.txt");
  EXPECT_EQ(w.journal[w.journal.size() - 2], L"GetFile(D:\\Data\\12345678_Base1_007.txt,1,1,1)");
  EXPECT_EQ(w.settings.SuffiksIndex, 8);
}

TEST_F(Upload, MissingFolderBecomesTheProgramFolder) {
  UseOwnFiles(2, 7);
  w.settings.DirectoryForUpload = L"E:\\Gone";
  Run(L"1");
  EXPECT_EQ(w.settings.DirectoryForUpload, L"C:\\Program\\");
  EXPECT_EQ(w.journal.back(), kFetched + std::wstring(L"C:\\Program\\12345678_Base1_007.txt"));

  w.settings.DirectoryForUpload = L"";
  Run(L"1");
  EXPECT_EQ(w.journal.back(), kFetched + std::wstring(L"C:\\Program\\12345678_Base1_008.txt"));
}

TEST_F(Upload, CounterAdvancesOnlyOnSuccess) {
  UseOwnFiles(2, 999);
  w.component.getResult = 0;
  Run(L"1");
  EXPECT_EQ(w.settings.SuffiksIndex, 999);
  EXPECT_EQ(w.journal[1], L"GetFile(D:\\Data\\12345678_Base1_999.txt,1,1,1)");

  w.component.getResult = 1;
  Run(L"1");
  EXPECT_EQ(w.settings.SuffiksIndex, 1);

  w.settings.SuffiksRadio = 0;
  Run(L"1");
  EXPECT_EQ(w.settings.SuffiksIndex, 1) << "date mode does not count";
  EXPECT_EQ(w.journal.back(),
            kFetched + std::wstring(L"D:\\Data\\12345678_Base1_7.12.2026 9-5-3.txt"));

  w.settings.OneFileForAllTSD = 1;
  w.settings.SuffiksRadio = 1;
  Run(L"1");
  EXPECT_EQ(w.settings.SuffiksIndex, 1) << "shared-file mode does not count";
}

// A crash must never hand out a counter value again: each advance reaches the store at once,
// between the fetch and its log line; a failed fetch, date mode and the shared file write nothing.
TEST_F(Upload, EveryAdvanceOfTheCounterIsStoredAtOnce) {
  UseOwnFiles(1, 98);
  w.withStore = true;
  Run(L"1");
  Run(L"1");
  EXPECT_EQ(
      w.journal,
      (Journal{
          L"SetDeleteUploadedData(0)", L"GetFile(D:\\Data\\12345678_Base1_98.txt,1,1,1)",
          L"store: SuffiksIndex=99", kFetched + std::wstring(L"D:\\Data\\12345678_Base1_98.txt"),
          L"SetDeleteUploadedData(0)", L"GetFile(D:\\Data\\12345678_Base1_99.txt,1,1,1)",
          L"store: SuffiksIndex=1", kFetched + std::wstring(L"D:\\Data\\12345678_Base1_99.txt")}));
  EXPECT_EQ(w.store.numbers[L"SuffiksIndex"], 1);
  EXPECT_FALSE(w.store.keyOpen);

  w.journal.clear();
  w.component.getResult = 0;
  Run(L"1");
  w.component.getResult = 1;
  w.settings.SuffiksRadio = 0;
  Run(L"1");
  w.settings.OneFileForAllTSD = 1;
  w.settings.SuffiksRadio = 1;
  Run(L"1");
  for (const std::wstring& entry : w.journal)
    EXPECT_EQ(entry.rfind(L"store: ", 0), std::wstring::npos) << entry;

  w.journal.clear();
  w.settings.OneFileForAllTSD = 0;
  w.store.refuseWrites = true;
  Run(L"1");
  EXPECT_EQ(w.settings.SuffiksIndex, 2);
  EXPECT_EQ(w.log.lines[w.log.lines.size() - 2], L"Не удалось записать в реестр SuffiksIndex: 2")
      << "a counter that did not reach the registry leaves a trace";
}

TEST_F(Upload, ResetHappensBeforeTheNameEvenWhenTheUploadFails) {
  UseOwnFiles(1, 100);
  w.component.getResult = -1;
  Run(L"1");
  EXPECT_EQ(w.settings.SuffiksIndex, 1);
  EXPECT_EQ(w.journal[1], L"GetFile(D:\\Data\\12345678_Base1_01.txt,1,1,1)");
}

TEST_F(Upload, FailureLinesFollowTheErrorCode) {
  UseOwnFiles(2, 7);
  w.component.getResult = 2;
  w.component.errorCode = 0;
  Run(L"1");
  EXPECT_EQ(w.log.lines.size(), 1u);
  EXPECT_EQ(w.journal.back(), kFailed);

  w.journal.clear();
  w.log.lines.clear();
  w.component.errorCode = -5;
  Run(L"1");
  EXPECT_EQ(w.log.lines.size(), 2u);
  EXPECT_EQ(w.journal[w.journal.size() - 2], kFailed);
  EXPECT_EQ(w.journal.back(), L"log: Описание ошибки: нет связи");
}

TEST_F(Upload, ProgramsRunAroundAFailedUpload) {
  w.settings.FileNameForUpload = L"D:\\Data\\all.txt";
  w.settings.StarAppBeforeUpload = 1;
  w.settings.StartAppBeforeUploadPath = L"before.exe a b";
  w.settings.StarAppAfterUpload = 1;
  w.settings.StartAppAfterUploadPath = L"after.bat";
  w.launcher.startable = {L"before.exe a b", L"after.bat"};
  w.component.getResult = 0;
  Run(L"1");
  EXPECT_EQ(w.journal, (Journal{L"run: before.exe a b", L"log: Запущено приложение: before.exe a b",
                                L"SetDeleteUploadedData(0)", L"GetFile(D:\\Data\\all.txt,1,1,0)",
                                L"GetErrorCode", kFailed, L"run: after.bat",
                                L"log: Запущено приложение: after.bat"}));
}

TEST_F(Upload, WithoutAComponentNothingIsCalledButTheNameIsComposed) {
  UseOwnFiles(1, 100);
  w.withComponent = false;
  w.settings.StarAppAfterUpload = 1;
  w.settings.StartAppAfterUploadPath = L"after.bat";
  Run(L"1");
  EXPECT_EQ(w.journal, (Journal{L"run: after.bat", L"log: Ошибка запуска приложения: after.bat"}));
  EXPECT_EQ(w.settings.SuffiksIndex, 1) << "the counter reset is part of composing the name";

  w.settings.OneFileForAllTSD = 1;
  w.settings.FileNameForUpload = L"";
  Run(L"1");
  EXPECT_EQ(w.settings.FileNameForUpload, L"C:\\Program\\DataFile.txt");
}

TEST_F(Upload, HostileSerialOrBaseNumberCannotLeaveTheFolder) {
  UseOwnFiles(2, 7);
  const std::wstring hostile[] = {L"..\\..\\Windows\\evil", L"C:\\evil", L"/etc/x", L"*", L"a:b"};
  for (const std::wstring& text : hostile) {
    Run(L"1", text, text);
    const std::wstring& call = w.journal[w.journal.size() - 2];
    ASSERT_EQ(call.rfind(L"GetFile(D:\\Data\\", 0), 0u) << call;
    const std::wstring name = call.substr(16, call.find(L',') - 16);
    EXPECT_EQ(name.find_first_of(L"\\/:*?\"<>|"), std::wstring::npos) << name;
  }
}

// The component gets kind and base number in that order; the name gets the base number as the
// terminal sent it.
TEST_F(Upload, KindAndBaseNumberReachTheComponentAndTheNameAsSent) {
  UseOwnFiles(2, 7);
  Run(L"2", L"05");
  EXPECT_EQ(w.journal[1], L"GetFile(D:\\Data\\12345678_Base05_007.txt,2,5,1)");
  Run(L"1", L"01a");
  EXPECT_EQ(w.journal[w.journal.size() - 2], L"GetFile(D:\\Data\\12345678_Base01a_008.txt,1,1,1)");
}

// Only 1 sets a flag: with 2 the data go into a file of its own, named by the fixed name and the
// date, and the counter stays.
TEST_F(Upload, FlagsOfTwoAreNotSet) {
  UseOwnFiles(2, 7);
  w.settings.FileNameForUpload = L"D:\\Data\\all.txt";
  w.settings.OneFileForAllTSD = 2;
  w.settings.SNFileName = 2;
  w.settings.PreficsFileName = L"Shop";
  w.settings.AddNumberBD = 2;
  w.settings.SuffiksRadio = 2;
  Run(L"1");
  EXPECT_EQ(w.journal[1], L"GetFile(D:\\Data\\Shop_7.12.2026 9-5-3.txt,1,1,1)");
  EXPECT_EQ(w.settings.SuffiksIndex, 7);
}

TEST_F(Upload, WithoutAComponentTheFolderStillFallsBack) {
  UseOwnFiles(2, 7);
  w.withComponent = false;
  w.settings.DirectoryForUpload = L"E:\\Gone";
  Run(L"1");
  EXPECT_EQ(w.settings.DirectoryForUpload, L"C:\\Program\\");
}

}  // namespace
}  // namespace morvane
