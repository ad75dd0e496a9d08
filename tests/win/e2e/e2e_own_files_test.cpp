// Per-terminal base files and separate upload files, end to end: the smallest index is sent and
// then deleted, so the next request gets the next index; uploads get counted names and the
// counter reaches the registry at close. Requests with hostile serial numbers, delivered to the
// window the way the component delivers requests, never touch a file outside the folder nor
// another terminal's file, and control characters never split a log line.
#include <gtest/gtest.h>

#include "EndToEnd.h"

namespace morvane::e2e {
namespace {

using morvane::testing::Exists;
using morvane::testing::ReadFileBytes;
using morvane::testing::WriteFileBytes;

TEST_F(EndToEnd, OwnBaseFilesByIndexWithDeletionAndCountedUploadFiles) {
  // "..\..\x" seen from the bases folder is the test folder itself.
  const std::wstring terminals = folder / L"terminals";
  const std::wstring bases = terminals + L"\\bases";
  const std::wstring uploads = folder / L"up";
  ASSERT_TRUE(::CreateDirectoryW(terminals.c_str(), nullptr));
  ASSERT_TRUE(::CreateDirectoryW(bases.c_str(), nullptr));
  ASSERT_TRUE(::CreateDirectoryW(uploads.c_str(), nullptr));
  auto base = [&](const std::wstring& name) { return bases + L"\\" + name; };
  ASSERT_TRUE(WriteFileBytes(base(L"12345678_base1_3.txt"), "index three"));
  ASSERT_TRUE(WriteFileBytes(base(L"12345678_base1_1.txt"), "index one"));
  ASSERT_TRUE(WriteFileBytes(base(L"12345678_base1_x.txt"), "no index"));
  ASSERT_TRUE(WriteFileBytes(base(L"12345678_base2_1.txt"), "base two"));
  ASSERT_TRUE(WriteFileBytes(base(L"87654321_base1_1.txt"), "another terminal"));
  ASSERT_TRUE(WriteFileBytes(folder / L"x_base1_1.txt", "outside the folder"));

  settings.Set(L"OneFileForAll_TSD", 0)
      .Set(L"DirectoryWithBasaPath", bases + L"\\\\")  // the trailing backslashes go
      .Set(L"DeleteFileBeforeDownload", 1)
      .Set(L"OneFileForAllTSD", 0)
      .Set(L"DirectoryForUpload", uploads)
      .Set(L"SNFileName", 1)
      .Set(L"AddNumberBD", 1)
      .Set(L"SuffiksRadio", 1)
      .Set(L"ColNumberIndex", 2)
      .Set(L"SuffiksIndex", 1);
  ASSERT_NO_FATAL_FAILURE(StartServer());

  // The component accepts only plain serial numbers; the window must not rely on that. Without
  // the serial's path characters and wildcards replaced, "*" would pick another terminal's file
  // and "..\..\x" the one outside the folder.
  ASSERT_TRUE(server.SendTerminalRequest("Download", "10.1.2.3,1,0,*")) << server.Error();
  ASSERT_TRUE(server.SendTerminalRequest("Download", "10.1.2.3,1,0,..\\..\\x")) << server.Error();

  auto download = [&](int baseNumber, const std::wstring& out) {
    return RunSimulator(L"download --serial 12345678 --base " + std::to_wstring(baseNumber) +
                        L" --out \"" + out + L"\"" + Common());
  };
  SimulatorRun run = download(1, folder / L"first.txt");
  EXPECT_EQ(run.exitCode, 0u) << run.output;
  EXPECT_EQ(ReadFileBytes(folder / L"first.txt"), "index one");
  run = download(1, folder / L"second.txt");
  EXPECT_EQ(run.exitCode, 0u) << run.output;
  EXPECT_EQ(ReadFileBytes(folder / L"second.txt"), "index three");
  run = download(1, folder / L"third.txt");
  EXPECT_EQ(run.exitCode, 2u) << "only the name without an index is left\n" << run.output;
  run = download(2, folder / L"base2.txt");
  EXPECT_EQ(run.exitCode, 0u) << run.output;
  EXPECT_EQ(ReadFileBytes(folder / L"base2.txt"), "base two");

  const std::string dataA = RandomBytes(4000, 31);
  const std::string dataB = RandomBytes(6000, 32);
  ASSERT_TRUE(WriteFileBytes(folder / L"a.dat", dataA));
  ASSERT_TRUE(WriteFileBytes(folder / L"b.dat", dataB));
  for (const wchar_t* data : {L"a.dat", L"b.dat"}) {
    run = RunSimulator(L"upload --serial 12345678 --base 1 --kind 2 --file \"" + (folder / data) +
                       L"\"" + Common());
    EXPECT_EQ(run.exitCode, 0u) << run.output;
  }
  // No terminal waits for this one, so the fetch fails; its serial is logged on one line.
  ASSERT_TRUE(server.SendTerminalRequest("Upload", "10.1.2.3,1,0,2,..\\..\\evil\r\nforged line"))
      << server.Error();
  ASSERT_TRUE(server.WaitForLog(L"Описание ошибки: ")) << Describe(server.LogMessages());

  ASSERT_NO_FATAL_FAILURE(CloseServer(IDOK));

  const std::wstring notFound = L"Файл для данного терминала не найден!";
  const std::wstring expected[] = {
      kServerStarted,
      notFound,
      notFound,
      SentLine(base(L"12345678_base1_1.txt"), L"12345678"),
      L"Удалён файл: " + base(L"12345678_base1_1.txt"),
      SentLine(base(L"12345678_base1_3.txt"), L"12345678"),
      L"Удалён файл: " + base(L"12345678_base1_3.txt"),
      notFound,
      SentLine(base(L"12345678_base2_1.txt"), L"12345678"),
      L"Удалён файл: " + base(L"12345678_base2_1.txt"),
      FetchedLine(uploads + L"\\12345678_Base1_001.txt", L"12345678"),
      FetchedLine(uploads + L"\\12345678_Base1_002.txt", L"12345678"),
      L"Ошибка выгрузки данных из терминала - SN: ..\\..\\evil  forged line IP: 10.1.2.3",
      L"Описание ошибки: Нет запроса терминала для этой операции",
  };
  const std::vector<std::wstring> saved = LogFileMessages(logs() + L"\\Log.log");
  EXPECT_EQ(saved, std::vector<std::wstring>(std::begin(expected), std::end(expected)))
      << "Log.log:\n"
      << Describe(saved);

  // Sent files are gone; the unindexed one, the other terminal's and the outside one stay.
  EXPECT_FALSE(Exists(base(L"12345678_base1_1.txt")));
  EXPECT_FALSE(Exists(base(L"12345678_base1_3.txt")));
  EXPECT_FALSE(Exists(base(L"12345678_base2_1.txt")));
  EXPECT_EQ(ReadFileBytes(base(L"12345678_base1_x.txt")), "no index");
  EXPECT_EQ(ReadFileBytes(base(L"87654321_base1_1.txt")), "another terminal");
  EXPECT_EQ(ReadFileBytes(folder / L"x_base1_1.txt"), "outside the folder");

  // Each upload in a file of its own, numbered by the counter; nothing else in the folder.
  EXPECT_TRUE(ReadFileBytes(uploads + L"\\12345678_Base1_001.txt") == dataA);
  EXPECT_TRUE(ReadFileBytes(uploads + L"\\12345678_Base1_002.txt") == dataB);
  EXPECT_EQ(FileNames(uploads),
            (std::vector<std::wstring>{L"12345678_Base1_001.txt", L"12345678_Base1_002.txt"}));

  // The counter after two counted uploads (the failed one does not count), and the folder
  // without its trailing backslashes, reach the registry at close.
  EXPECT_EQ(SettingsKey::ReadNumber(L"SuffiksIndex"), 3u);
  EXPECT_EQ(SettingsKey::ReadText(L"DirectoryWithBasaPath"), bases);
  EXPECT_EQ(SettingsKey::ReadText(L"DirectoryForUpload"), uploads);
}

}  // namespace
}  // namespace morvane::e2e
