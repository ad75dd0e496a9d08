#include <gtest/gtest.h>

#include "core/exchange_fakes.h"
#include "exchange/Download.h"
#include "exchange/ExternalApp.h"
#include "exchange/Win32FileSystem.h"
#include "win/exchange/TempFolder.h"

namespace morvane {
namespace {

using testing::TempFolder;

std::wstring Recorder() {
  return testing::TestProgramFolder() + L"args_recorder.exe";
}

std::wstring ReadUtf16(const std::wstring& path) {
  const std::string bytes = testing::ReadFileBytes(path);
  return std::wstring(reinterpret_cast<const wchar_t*>(bytes.data()), bytes.size() / 2);
}

TEST(RunExternalApp, StartsTheCommandLineAndWaitsForTheProgram) {
  TempFolder folder;
  const std::wstring out = folder / L"args.txt";
  ASSERT_TRUE(testing::Exists(Recorder()));
  EXPECT_TRUE(RunExternalApp(Recorder() + L" " + out + L" alpha \"two words\" 3"));
  // Read at once: the program has ended, so its file is complete.
  EXPECT_EQ(ReadUtf16(out), L"alpha|two words|3");
}

TEST(RunExternalApp, FailsForAMissingProgramOrAnEmptyPath) {
  TempFolder folder;
  EXPECT_FALSE(RunExternalApp(folder / L"missing.exe"));
  EXPECT_FALSE(RunExternalApp(L""));
  EXPECT_FALSE(RunExternalApp(folder.Path()));
}

TEST(RunExternalApp, DownloadLogsTheProgramsAroundTheExchange) {
  TempFolder folder;
  testing::ExchangeWorld w;
  w.settings.OneFileForAll_TSD = 1;
  w.settings.StartAppBeforeDownload = 1;
  w.settings.StartAppBeforeDownloadPath = Recorder() + L" " + (folder / L"before.txt") + L" b";
  w.settings.StartAppAfterDownload = 1;
  w.settings.StartAppAfterDownloadPath = folder / L"missing.exe";
  w.component.sendResult = 0;
  CProgramLauncher launcher;
  ExchangeContext ctx{w.settings, &w.component, w.log, w.fs, launcher, w.clock};
  DownloadToTerminal(ctx, L"10.0.0.1", L"7", L"SN");
  ASSERT_EQ(w.log.lines.size(), 3u);
  EXPECT_EQ(w.log.lines[0], L"Запущено приложение: " + w.settings.StartAppBeforeDownloadPath);
  EXPECT_EQ(w.log.lines[1], L"Файл для загрузки в терминал не выбран!");
  EXPECT_EQ(w.log.lines[2], L"Ошибка запуска приложения: " + w.settings.StartAppAfterDownloadPath);
  EXPECT_EQ(ReadUtf16(folder / L"before.txt"), L"b");
}

}  // namespace
}  // namespace morvane
