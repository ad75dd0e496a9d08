// The shared set of base files and the shared upload file, end to end: the base number picks the
// file, the terminal gets exactly its bytes, uploads are appended to the one data file, and the
// outside programs run before and after each exchange. Part-way the log is saved by hand and
// cleared, so that the saved file shows both the manual save and the save on exit.
#include <gtest/gtest.h>

#include "EndToEnd.h"
#include "res/resource.h"

namespace morvane::e2e {
namespace {

using morvane::testing::ReadFileBytes;
using morvane::testing::WriteFileBytes;

std::wstring Quoted(const std::wstring& path) {
  return L"\"" + path + L"\"";
}

TEST_F(EndToEnd, SharedSetDownloadsAndSharedFileUploadsWithOutsidePrograms) {
  const std::wstring base1 = folder / L"base1.txt";
  const std::wstring missingBase2 = folder / L"base2-missing.txt";
  const std::wstring dataFile = folder / L"DataFile.txt";
  const std::string base1Bytes = RandomBytes(70000, 11);
  const std::string earlierData = "earlier upload\r\n";
  ASSERT_TRUE(WriteFileBytes(base1, base1Bytes));
  ASSERT_TRUE(WriteFileBytes(dataFile, earlierData));

  // Before each download the base is "prepared" (a line added), so the terminal's copy shows
  // that the program ran first; after each upload the data file is copied, so the copy shows
  // that the program ran after the fetch.
  const std::wstring outside = WindowsPath(OUTSIDE_PROGRAM_EXE);
  const std::wstring prepareBase = outside + L" append " + base1 + L" PREPARED";
  const std::wstring afterDownload =
      outside + L" append " + (folder / L"programs.txt") + L" after-download";
  const std::wstring missingProgram = folder / L"no-such-program.exe";
  const std::wstring copyData = outside + L" copy " + dataFile + L" " + (folder / L"copy.txt");

  delimiter = 124;  // '|': the stored delimiter reaches the component
  settings.Set(L"Delimiter", static_cast<DWORD>(delimiter))
      .Set(L"OneFileForAll_TSD", 1)
      .Set(L"BaseFile1PathEdit", base1)
      .Set(L"BaseFile2PathEdit", missingBase2)
      .Set(L"StartAppBeforeDownload", 1)
      .Set(L"StartAppBeforeDownloadPath", prepareBase)
      .Set(L"StartAppAfterDownload", 1)
      .Set(L"StartAppAfterDownloadPath", afterDownload)
      .Set(L"OneFileForAllTSD", 1)
      .Set(L"FileNameForUpload", dataFile)
      .Set(L"StarAppBeforeUpload", 1)
      .Set(L"StartAppBeforeUploadPath", missingProgram)
      .Set(L"StarAppAfterUpload", 1)
      .Set(L"StartAppAfterUploadPath", copyData)
      .Set(L"SaveLogOneFile", 1)
      .Set(L"SaveLogWhenQuite", 1);
  ASSERT_NO_FATAL_FAILURE(StartServer());

  const std::wstring got1 = folder / L"got1.txt";
  SimulatorRun run =
      RunSimulator(L"download --serial A1B2C3 --base 1 --out " + Quoted(got1) + Common());
  EXPECT_EQ(run.exitCode, 0u) << run.output;
  EXPECT_TRUE(ReadFileBytes(got1) == base1Bytes + "PREPARED\n") << "the terminal's copy differs";

  // No file for base 6, and base 2's file is not on disk: the terminal is told so.
  const std::wstring got6 = folder / L"got6.txt";
  run = RunSimulator(L"download --serial A1B2C3 --base 6 --out " + Quoted(got6) + Common());
  EXPECT_EQ(run.exitCode, 2u) << run.output;
  const std::wstring got2 = folder / L"got2.txt";
  run = RunSimulator(L"download --serial A1B2C3 --base 2 --out " + Quoted(got2) + Common());
  EXPECT_EQ(run.exitCode, 2u) << run.output;
  EXPECT_FALSE(morvane::testing::Exists(got6) || morvane::testing::Exists(got2));

  // Save by hand, then clear: posted in this order, so an empty log means both are done.
  server.PostCommand(ID_LOG_SAVE);
  server.PostCommand(ID_LOG_CLEAR);
  ASSERT_TRUE(server.WaitUntilLog([](const std::vector<std::wstring>& m) { return m.empty(); }))
      << Describe(server.LogMessages());

  const std::string dataA = RandomBytes(5000, 21) + "\r\n;|,\n";
  const std::string dataB = RandomBytes(3000, 22);
  ASSERT_TRUE(WriteFileBytes(folder / L"a.dat", dataA));
  ASSERT_TRUE(WriteFileBytes(folder / L"b.dat", dataB));
  run = RunSimulator(L"upload --serial TERM-A --base 1 --kind 1 --file " +
                     Quoted(folder / L"a.dat") + Common());
  EXPECT_EQ(run.exitCode, 0u) << run.output;
  run = RunSimulator(L"upload --serial TERM-B --base 3 --kind 2 --file " +
                     Quoted(folder / L"b.dat") + Common());
  EXPECT_EQ(run.exitCode, 0u) << run.output;
  ASSERT_TRUE(server.WaitForLog(L"Запущено приложение: " + copyData, 2))
      << Describe(server.LogMessages());

  ASSERT_NO_FATAL_FAILURE(CloseServer(IDOK));

  const std::string allData = earlierData + dataA + dataB;
  EXPECT_TRUE(ReadFileBytes(dataFile) == allData) << "the shared data file is not old + A + B";
  EXPECT_TRUE(ReadFileBytes(folder / L"copy.txt") == allData)
      << "the program after the upload did not see the fetched data";
  EXPECT_EQ(ReadFileBytes(folder / L"programs.txt"),
            "after-download\nafter-download\nafter-download\n");

  const std::wstring savedByHand[] = {
      kServerStarted,
      L"Запущено приложение: " + prepareBase,
      SentLine(base1, L"A1B2C3"),
      L"Запущено приложение: " + afterDownload,
      L"Запущено приложение: " + prepareBase,
      L"Файл для загрузки в терминал не выбран!",
      L"Запущено приложение: " + afterDownload,
      L"Запущено приложение: " + prepareBase,
      L"Ошибка загрузки файла \"" + missingBase2 + L"\" в терминал - SN: A1B2C3 IP: " + kTerminalIp,
      L"Описание ошибки: Не удалось открыть файл: " + missingBase2,
      L"Запущено приложение: " + afterDownload,
  };
  const std::wstring savedOnExit[] = {
      L"Ошибка запуска приложения: " + missingProgram,
      FetchedLine(dataFile, L"TERM-A"),
      L"Запущено приложение: " + copyData,
      L"Ошибка запуска приложения: " + missingProgram,
      FetchedLine(dataFile, L"TERM-B"),
      L"Запущено приложение: " + copyData,
  };
  std::vector<std::wstring> expected(std::begin(savedByHand), std::end(savedByHand));
  expected.insert(expected.end(), std::begin(savedOnExit), std::end(savedOnExit));
  const std::wstring logFile = logs() + L"\\Log.log";
  const std::vector<std::wstring> saved = LogFileMessages(logFile);
  EXPECT_EQ(saved, expected) << "Log.log:\n" << Describe(saved);
  // The file is in the ANSI code page: "Сервер запущен!" in CP1251 after the first stamp.
  const std::string bytes = ReadFileBytes(logFile);
  const size_t stamp = LogStampLength(Widen(bytes.substr(0, 32)));
  EXPECT_NE(stamp, 0u);
  EXPECT_EQ(bytes.substr(stamp, 17), "\xD1\xE5\xF0\xE2\xE5\xF0 \xE7\xE0\xEF\xF3\xF9\xE5\xED!\r\n");

  // Saved at close: the component's values read back from it, the folders as set.
  EXPECT_EQ(SettingsKey::ReadNumber(L"Port"), static_cast<DWORD>(port));
  EXPECT_EQ(SettingsKey::ReadNumber(L"Delay"), 5000u);
  EXPECT_EQ(SettingsKey::ReadNumber(L"Delimiter"), 124u);
  EXPECT_EQ(SettingsKey::ReadText(L"FileNameForUpload"), dataFile);
  EXPECT_EQ(SettingsKey::ReadText(L"DirectoryLog"), logs());
}

}  // namespace
}  // namespace morvane::e2e
