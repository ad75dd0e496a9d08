// The upload counter survives a crash: the program is killed after counted uploads (no close
// sequence, so no exit save), and the registry already holds the advanced counter; after a
// restart the next uploads get new numbers and the delivered files stay as they were.
#include <gtest/gtest.h>

#include "EndToEnd.h"

namespace morvane::e2e {
namespace {

using morvane::testing::ReadFileBytes;
using morvane::testing::WriteFileBytes;

TEST_F(EndToEnd, AKilledProgramNeverHandsOutACounterValueAgain) {
  const std::wstring uploads = folder / L"up";
  ASSERT_TRUE(::CreateDirectoryW(uploads.c_str(), nullptr));
  settings.Set(L"OneFileForAllTSD", 0)
      .Set(L"DirectoryForUpload", uploads)
      .Set(L"SNFileName", 0)
      .Set(L"PreficsFileName", L"Data")
      .Set(L"AddNumberBD", 0)
      .Set(L"SuffiksRadio", 1)
      .Set(L"ColNumberIndex", 2)
      .Set(L"SuffiksIndex", 1);

  std::vector<std::string> data;
  auto upload = [&](const wchar_t* serial) {
    data.push_back(RandomBytes(3000, static_cast<unsigned>(data.size() + 40)));
    const std::wstring file = folder / (L"in" + std::to_wstring(data.size()) + L".dat");
    ASSERT_TRUE(WriteFileBytes(file, data.back()));
    const SimulatorRun run =
        RunSimulator(L"upload --serial " + std::wstring(serial) + L" --base 1 --kind 2 --file \"" +
                     file + L"\"" + Common());
    ASSERT_EQ(run.exitCode, 0u) << run.output;
  };

  ASSERT_NO_FATAL_FAILURE(StartServer());
  for (const wchar_t* serial : {L"11111111", L"22222222", L"33333333"})
    ASSERT_NO_FATAL_FAILURE(upload(serial));
  ASSERT_TRUE(server.WaitForLog(L"Данные выгружены из терминала", 3))
      << Describe(server.LogMessages());
  ASSERT_TRUE(server.Kill());
  EXPECT_EQ(SettingsKey::ReadNumber(L"SuffiksIndex"), 4u) << "stored before the kill";

  // The same key, as the killed program left it.
  ASSERT_TRUE(server.Start(folder.Path())) << server.Error();
  ASSERT_TRUE(server.WaitForLog(kServerStarted)) << Describe(server.LogMessages());
  for (const wchar_t* serial : {L"44444444", L"55555555"})
    ASSERT_NO_FATAL_FAILURE(upload(serial));
  ASSERT_TRUE(server.WaitForLog(L"Данные выгружены из терминала", 2))
      << Describe(server.LogMessages());
  EXPECT_EQ(server.LogMessages().back(), FetchedLine(uploads + L"\\Data_005.txt", L"55555555"));
  ASSERT_NO_FATAL_FAILURE(CloseServer());

  EXPECT_EQ(FileNames(uploads),
            (std::vector<std::wstring>{L"Data_001.txt", L"Data_002.txt", L"Data_003.txt",
                                       L"Data_004.txt", L"Data_005.txt"}));
  for (size_t i = 0; i < data.size(); ++i) {
    const std::wstring name = L"\\Data_00" + std::to_wstring(i + 1) + L".txt";
    EXPECT_TRUE(ReadFileBytes(uploads + name) == data[i]) << "file " << i + 1 << " replaced";
  }
  EXPECT_EQ(SettingsKey::ReadNumber(L"SuffiksIndex"), 6u);
}

}  // namespace
}  // namespace morvane::e2e
