// The options dialog of the real program: "Настройки" opens it, and a port typed on the General
// page and confirmed with OK is in the registry at once, so it survives the process being killed.
#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "EndToEnd.h"
#include "res/resource.h"

namespace morvane::e2e {
namespace {

bool WaitFor(const std::function<bool()>& pred, int timeoutMs = 15000) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
  while (!pred()) {
    if (std::chrono::steady_clock::now() > deadline) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  return true;
}

// A control's text in another process (GetWindowTextW there reads only the window's caption).
std::wstring ControlText(HWND control) {
  wchar_t text[64] = {};
  ::SendMessageW(control, WM_GETTEXT, 64, reinterpret_cast<LPARAM>(text));
  return text;
}

class EndToEndOptions : public EndToEnd {
 protected:
  // "Настройки", as the toolbar button sends it; the dialog once it is on screen.
  void OpenOptions(HWND& dialog) {
    server.PostCommand(ID_OPTIONS);
    ASSERT_TRUE(WaitFor([&] {
      dialog = server.WaitForDialog(L"Настройки", 0);
      return dialog && ::IsWindowVisible(dialog);
    })) << "the options dialog did not open";
  }
  static void PressOk(HWND dialog) {
    ::PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED),
                   reinterpret_cast<LPARAM>(::GetDlgItem(dialog, IDOK)));
    ASSERT_TRUE(WaitFor([&] { return !::IsWindow(dialog); })) << "OK did not close the dialog";
  }
};

TEST_F(EndToEndOptions, PortChangedWithOkSurvivesAKilledProcess) {
  ASSERT_NO_FATAL_FAILURE(StartServer());
  HWND dialog = nullptr;
  ASSERT_NO_FATAL_FAILURE(OpenOptions(dialog));
  const HWND page =
      ::FindWindowExW(::GetDlgItem(dialog, IDC_OPTIONS_TAB), nullptr, L"#32770", nullptr);
  const HWND portEdit = ::GetDlgItem(page, IDC_GENERAL_PORT);
  EXPECT_EQ(ControlText(portEdit), std::to_wstring(port));

  const std::wstring newPort = std::to_wstring(port + 1);
  ::SendMessageW(portEdit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(newPort.c_str()));
  ASSERT_NO_FATAL_FAILURE(PressOk(dialog));
  ASSERT_TRUE(server.Kill());

  EXPECT_EQ(SettingsKey::ReadNumber(L"Port"), static_cast<DWORD>(port + 1));
  EXPECT_EQ(SettingsKey::ReadNumber(L"Delay"), 5000u) << "the other values are written as well";
}

// Uploads served while the dialog is open advance the counter; OK with the start number left as
// it was must not set it back, or the next upload would replace a file already delivered.
TEST_F(EndToEndOptions, UploadsWhileTheDialogIsOpenKeepTheirCounterAfterOk) {
  const std::wstring uploads = folder / L"up";
  ASSERT_TRUE(::CreateDirectoryW(uploads.c_str(), nullptr));
  settings.Set(L"OneFileForAllTSD", 0)
      .Set(L"DirectoryForUpload", uploads)
      .Set(L"SNFileName", 1)
      .Set(L"AddNumberBD", 0)
      .Set(L"SuffiksRadio", 1)
      .Set(L"ColNumberIndex", 2)
      .Set(L"SuffiksIndex", 1);
  ASSERT_NO_FATAL_FAILURE(StartServer());
  HWND dialog = nullptr;
  ASSERT_NO_FATAL_FAILURE(OpenOptions(dialog));

  auto upload = [&](const char* data) {
    const std::wstring file = folder / L"data.txt";
    ASSERT_TRUE(morvane::testing::WriteFileBytes(file, data));
    const SimulatorRun run =
        RunSimulator(L"upload --serial 555 --base 1 --kind 2 --file \"" + file + L"\"" + Common());
    EXPECT_EQ(run.exitCode, 0u) << run.output;
  };
  upload("first");
  upload("second");
  ASSERT_NO_FATAL_FAILURE(PressOk(dialog));
  upload("third");
  ASSERT_NO_FATAL_FAILURE(CloseServer(IDOK));

  using morvane::testing::ReadFileBytes;
  EXPECT_EQ(ReadFileBytes(uploads + L"\\555_001.txt"), "first");
  EXPECT_EQ(ReadFileBytes(uploads + L"\\555_002.txt"), "second");
  EXPECT_EQ(ReadFileBytes(uploads + L"\\555_003.txt"), "third");
  EXPECT_EQ(SettingsKey::ReadNumber(L"SuffiksIndex"), 4u);
}

}  // namespace
}  // namespace morvane::e2e
