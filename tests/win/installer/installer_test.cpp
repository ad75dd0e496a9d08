// The installer under wine, in a prefix of its own: a silent install with the stand-in component
// puts the program, the shortcut, the Uninstall entry and the component in place; the installed
// program starts there and serves a download; the uninstaller refuses while it runs; a silent
// uninstall then removes what the install (and the program's autorun entry) put there, and
// nothing else: the settings key and the log folder stay.
#include <gtest/gtest.h>

#include <shlobj.h>

#include "InstallState.h"
#include "res/resource.h"
#include "win/e2e/E2eSupport.h"
#include "win/e2e/ServerProcess.h"
#include "win/e2e/SettingsKey.h"

namespace morvane::installer_test {
namespace {

using e2e::Describe;
using e2e::Narrow;
using e2e::WindowsPath;
using morvane::testing::Exists;
using morvane::testing::ReadFileBytes;
using morvane::testing::TempFolder;

const std::wstring kUninstallKey =
    L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Morvane";
const std::wstring kRunKey = L"Software\\Microsoft\\Windows\\CurrentVersion\\Run";
const std::wstring kProduct = L"Сервер обновления терминалов";

// The uninstaller, run the way Windows runs it: from a copy, so that it can remove itself, and
// waited for (_?= keeps the copy in the foreground).
long Uninstall(const TempFolder& scratch, const std::wstring& folder) {
  const std::wstring copy = scratch / L"Uninstall.exe";
  if (!::CopyFileW((folder + L"\\Uninstall.exe").c_str(), copy.c_str(), FALSE)) return -2;
  return RunToEnd(L"\"" + copy + L"\" /S _?=" + folder);
}

std::wstring ComponentServerPath() {
  const std::wstring clsid = ReadText(HKEY_CLASSES_ROOT, L"AddIn.CipherLab9x00\\CLSID", L"");
  return ReadText(HKEY_CLASSES_ROOT, L"CLSID\\" + clsid + L"\\InprocServer32", L"");
}

TEST(Installer, SilentInstallServesAndSilentUninstallRemovesOnlyItsOwn) {
  const std::set<std::wstring> filesBefore = FileListing();
  const std::set<std::wstring> keysBefore = RegistryListing();
  ASSERT_EQ(ComponentServerPath(), L"<none>") << "the test prefix must start without a component";

  // A folder with a space: /D= takes the rest of the command line, unquoted.
  const std::wstring folder = ShellFolder(CSIDL_PROGRAM_FILES) + L"\\Morvane Test";
  const std::wstring exe = folder + L"\\Morvane.exe";
  ASSERT_EQ(RunToEnd(L"\"" + WindowsPath(MORVANE_SETUP) + L"\" /S /STANDIN /D=" + folder), 0);

  EXPECT_TRUE(Exists(exe));
  EXPECT_TRUE(Exists(folder + L"\\Uninstall.exe"));
  EXPECT_TRUE(Exists(folder + L"\\CipherLab9x00.dll"));
  EXPECT_EQ(Exists(folder + L"\\Morvane.CHM"), Exists(WindowsPath(MORVANE_CHM)))
      << "the help file is installed exactly when the build made one";
  const std::wstring shortcut = ShellFolder(CSIDL_COMMON_PROGRAMS) + L"\\" + kProduct + L".lnk";
  EXPECT_TRUE(Exists(shortcut));
  EXPECT_EQ(ReadText(HKEY_LOCAL_MACHINE, kUninstallKey, L"DisplayName"), kProduct);
  EXPECT_EQ(ReadText(HKEY_LOCAL_MACHINE, kUninstallKey, L"DisplayVersion"), L"1.0.0.1");
  EXPECT_EQ(ReadText(HKEY_LOCAL_MACHINE, kUninstallKey, L"Publisher"), L"Morvane");
  EXPECT_EQ(ReadText(HKEY_LOCAL_MACHINE, kUninstallKey, L"DisplayIcon"), exe + L",0");
  EXPECT_EQ(ReadText(HKEY_LOCAL_MACHINE, kUninstallKey, L"UninstallString"),
            L"\"" + folder + L"\\Uninstall.exe\"");
  const size_t programKb = ReadFileBytes(exe).size() / 1024;
  EXPECT_GE(ReadNumber(HKEY_LOCAL_MACHINE, kUninstallKey, L"EstimatedSize"), programKb);
  EXPECT_EQ(ComponentServerPath(), folder + L"\\CipherLab9x00.dll");

  // The installed program, with the installed component, serves a terminal. No log folder is
  // set, so the log goes to the "Log" folder beside the program; the autorun entry is kept.
  TempFolder scratch;
  const std::string baseBytes = e2e::RandomBytes(3000, 7);
  ASSERT_TRUE(morvane::testing::WriteFileBytes(scratch / L"base1.txt", baseBytes));
  const int port = e2e::FreePort();
  e2e::SettingsKey settings;
  settings.Set(L"Port", static_cast<DWORD>(port))
      .Set(L"AutoConnect", 1)
      .Set(L"AutoRun", 1)
      .Set(L"BaseFile1PathEdit", scratch / L"base1.txt");
  ASSERT_TRUE(settings.Write());
  {
    e2e::ServerProcess server;
    ASSERT_TRUE(server.Start(scratch.Path(), 30000, exe)) << server.Error();
    ASSERT_TRUE(server.WaitForLog(L"Сервер запущен!")) << Describe(server.LogMessages());
    const e2e::SimulatorRun run =
        e2e::RunSimulator(L"download --serial 12345678 --base 1 --out " + (scratch / L"got.txt") +
                          L" --port " + std::to_wstring(port));
    EXPECT_EQ(run.exitCode, 0u) << run.output;
    EXPECT_TRUE(ReadFileBytes(scratch / L"got.txt") == baseBytes);

    EXPECT_EQ(Uninstall(scratch, folder), 2) << "a silent uninstall must fail while it runs";
    EXPECT_TRUE(Exists(exe));
    DWORD exitCode = 1;
    ASSERT_TRUE(server.Close(IDOK, exitCode)) << server.Error();
    EXPECT_EQ(exitCode, 0u);
  }
  EXPECT_EQ(ReadText(HKEY_LOCAL_MACHINE, kRunKey, L"Morvane"), exe);
  EXPECT_TRUE(Exists(folder + L"\\Log\\Log.log"));

  EXPECT_EQ(Uninstall(scratch, folder), 0);
  EXPECT_FALSE(Exists(exe));
  EXPECT_FALSE(Exists(shortcut));
  EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, kUninstallKey));
  EXPECT_EQ(ReadText(HKEY_LOCAL_MACHINE, kRunKey, L"Morvane"), L"<none>");
  EXPECT_EQ(ComponentServerPath(), L"<none>");
  // Kept: the user's settings and logs.
  EXPECT_EQ(e2e::SettingsKey::ReadNumber(L"Port"), static_cast<DWORD>(port));
  EXPECT_TRUE(Exists(folder + L"\\Log\\Log.log"));

  EXPECT_EQ(Narrow(Difference(filesBefore, FileListing())),
            Narrow(L"added: " + folder + L"\nadded: " + folder + L"\\Log\nadded: " + folder +
                   L"\\Log\\Log.log\n"));
  std::set<std::wstring> keysAfter = RegistryListing();
  std::erase_if(keysAfter, [](const std::wstring& entry) {
    return entry.starts_with(L"HKCU\\Morvane");  // the settings key, checked above
  });
  EXPECT_EQ(Narrow(Difference(keysBefore, keysAfter)), "");

  morvane::testing::RemoveTree(folder);
  e2e::SettingsKey::Remove();
}

}  // namespace
}  // namespace morvane::installer_test
