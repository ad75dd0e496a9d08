// The real program stamps its log lines and names its time-stamped upload files in UTC, also where
// the local time is another: the Windows tests run under TZ=Europe/Moscow (cmake/wine-run.sh).
#include <gtest/gtest.h>

#include <set>

#include "EndToEnd.h"

namespace morvane::e2e {
namespace {

using morvane::testing::WriteFileBytes;

ULONGLONG UtcSecondsNow() {
  FILETIME now{};
  ::GetSystemTimeAsFileTime(&now);
  return (ULONGLONG{now.dwHighDateTime} << 32 | now.dwLowDateTime) / 10000000;
}

SYSTEMTIME UtcTimeOf(ULONGLONG seconds) {
  const ULONGLONG ticks = seconds * 10000000;
  const FILETIME file{static_cast<DWORD>(ticks), static_cast<DWORD>(ticks >> 32)};
  SYSTEMTIME time{};
  ::FileTimeToSystemTime(&file, &time);
  return time;
}

TEST_F(EndToEnd, TimeStampedUploadNameAndLogLineAreUtc) {
  TIME_ZONE_INFORMATION zone{};
  ::GetTimeZoneInformation(&zone);
  ASSERT_NE(zone.Bias, 0) << "this test needs a time zone other than UTC";
  const std::wstring uploads = folder / L"up";
  ASSERT_TRUE(::CreateDirectoryW(uploads.c_str(), nullptr));
  ASSERT_TRUE(WriteFileBytes(folder / L"in.dat", "4600001000011;12\n"));
  settings.Set(L"OneFileForAllTSD", 0)
      .Set(L"DirectoryForUpload", uploads)
      .Set(L"SNFileName", 1)
      .Set(L"AddNumberBD", 0)
      .Set(L"SuffiksRadio", 0);
  ASSERT_NO_FATAL_FAILURE(StartServer());

  const ULONGLONG before = UtcSecondsNow();
  const SimulatorRun run = RunSimulator(L"upload --serial 12345678 --base 1 --kind 2 --file \"" +
                                        (folder / L"in.dat") + L"\"" + Common());
  ASSERT_EQ(run.exitCode, 0u) << run.output;
  ASSERT_TRUE(server.WaitForLog(L"Данные выгружены из терминала"))
      << Describe(server.LogMessages());
  const ULONGLONG after = UtcSecondsNow();
  const std::wstring log = server.LogText();
  ASSERT_NO_FATAL_FAILURE(CloseServer());

  // "d.m.yyyy h-m-s" in the name, "d.m.yyyy h:m:s " before the line, no leading zeros.
  std::set<std::wstring> names;
  std::set<std::wstring> stamps;
  for (ULONGLONG second = before; second <= after; ++second) {
    const SYSTEMTIME t = UtcTimeOf(second);
    const std::wstring date = std::to_wstring(t.wDay) + L"." + std::to_wstring(t.wMonth) + L"." +
                              std::to_wstring(t.wYear) + L" ";
    names.insert(L"12345678_" + date + std::to_wstring(t.wHour) + L"-" +
                 std::to_wstring(t.wMinute) + L"-" + std::to_wstring(t.wSecond) + L".txt");
    stamps.insert(date + std::to_wstring(t.wHour) + L":" + std::to_wstring(t.wMinute) + L":" +
                  std::to_wstring(t.wSecond) + L" ");
  }
  const std::vector<std::wstring> files = FileNames(uploads);
  ASSERT_EQ(files.size(), 1u);
  EXPECT_TRUE(names.count(files[0])) << Narrow(files[0]) << " is not the UTC time of the upload";
  const size_t line = log.rfind(L"\n", log.find(L"Данные выгружены из терминала")) + 1;
  const std::wstring stamp = log.substr(line, LogStampLength(log.substr(line)));
  EXPECT_TRUE(stamps.count(stamp)) << Narrow(stamp) << " is not the UTC time of the upload";
}

}  // namespace
}  // namespace morvane::e2e
