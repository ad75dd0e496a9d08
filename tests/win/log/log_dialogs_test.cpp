// The log's Save dialog and menu, driven from a second thread as a user would: it waits for the
// window to appear (with a deadline), looks at it, and answers it.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <functional>
#include <thread>

#include "core/exchange_fakes.h"
#include "log/LogMenu.h"
#include "log/LogView.h"
#include "res/resource.h"
#include "settings/ServerSettings.h"
#include "win/exchange/TempFolder.h"
#include "win/log/LogWindow.h"

namespace morvane {
namespace {

using testing::FakeClock;
using testing::LogWindow;
using testing::ReadFileBytes;
using testing::TempFolder;

struct WindowSearch {
  const wchar_t* windowClass;
  HWND found;
};

BOOL CALLBACK MatchWindow(HWND hwnd, LPARAM param) {
  auto* search = reinterpret_cast<WindowSearch*>(param);
  wchar_t name[64] = {};
  ::GetClassNameW(hwnd, name, 64);
  if (::IsWindowVisible(hwnd) && std::wstring(name) == search->windowClass) {
    search->found = hwnd;
    return FALSE;
  }
  return TRUE;
}

// The first visible window of class windowClass that belongs to thread.
HWND FindThreadWindow(DWORD thread, const wchar_t* windowClass) {
  WindowSearch search{windowClass, nullptr};
  ::EnumThreadWindows(thread, &MatchWindow, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

// Runs answer(window) on a helper thread as soon as the UI thread shows a window of the class;
// gives up after ten seconds.
class WindowAnswerer {
 public:
  WindowAnswerer(const wchar_t* windowClass, std::function<void(HWND)> answer)
      : thread_([this, windowClass, answer, ui = ::GetCurrentThreadId()] {
          const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
          while (std::chrono::steady_clock::now() < deadline) {
            if (HWND found = FindThreadWindow(ui, windowClass)) {
              answer(found);
              answered_ = true;
              return;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
          }
        }) {}
  ~WindowAnswerer() {
    if (thread_.joinable()) thread_.join();
  }
  bool Answered() {
    if (thread_.joinable()) thread_.join();
    return answered_;
  }

 private:
  std::atomic<bool> answered_{false};
  std::thread thread_;
};

class LogDialogsTest : public ::testing::Test {
 protected:
  LogDialogsTest() { log.Attach(window.Edit(), &clock); }
  LogWindow window;
  FakeClock clock;
  CLogView log;
  TempFolder folder;
  ServerSettings settings;
};

// The file name field of the Save dialog (a combo box in the newer layout, an edit in the older).
void TypeFileNameAndSave(HWND dialog, const std::wstring& path) {
  HWND field = ::GetDlgItem(dialog, 0x47C);
  if (!field) field = ::GetDlgItem(dialog, 0x480);
  ::SendMessageW(field, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(path.c_str()));
  ::PostMessageW(dialog, WM_COMMAND, IDOK, 0);
}

TEST_F(LogDialogsTest, SaveAsReplacesTheChosenFileWithoutAskingAndAddsTheExtension) {
  testing::WriteFileBytes(folder / L"chosen.log", "something that was there before");
  log.AddLogLine(L"one");
  log.Clear();  // Save as does not look at the modified flag
  log.AddLogLine(L"two");
  ::SendMessageW(window.Edit(), EM_SETMODIFY, FALSE, 0);
  std::wstring caption;
  WindowAnswerer answerer(L"#32770", [&](HWND dialog) {
    wchar_t text[128] = {};
    ::GetWindowTextW(dialog, text, 128);
    caption = text;
    TypeFileNameAndSave(dialog, folder / L"chosen");
  });
  log.SaveLog(LogSaveMode::SaveAs, settings, window.Owner());
  ASSERT_TRUE(answerer.Answered());
  EXPECT_EQ(ReadFileBytes(folder / L"chosen.log"), "7.12.2026 9:5:3 two\r\n");
  EXPECT_EQ(folder.Names(), (std::vector<std::wstring>{L"chosen.log"}));
  EXPECT_EQ(settings.DirectoryLog, L"") << "Save as leaves the log folder setting alone";
}

TEST_F(LogDialogsTest, CancelledSaveAsWritesNothing) {
  log.AddLogLine(L"one");
  WindowAnswerer answerer(L"#32770",
                          [](HWND dialog) { ::PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0); });
  log.SaveLog(LogSaveMode::SaveAs, settings, window.Owner());
  ASSERT_TRUE(answerer.Answered());
  EXPECT_TRUE(folder.Names().empty());
}

struct MenuSeen {
  UINT saveAs = 0;
  UINT save = 0;
  UINT clear = 0;
  RECT rect{};
};

// Opens the log menu, reads what it shows, then presses the keys.
MenuSeen OpenLogMenu(CLogView& log, LogWindow& window, std::vector<WPARAM> keys) {
  MenuSeen seen;
  WindowAnswerer answerer(L"#32768", [&](HWND menuWindow) {
    const HMENU menu = reinterpret_cast<HMENU>(::SendMessageW(menuWindow, MN_GETHMENU, 0, 0));
    seen.saveAs = ::GetMenuState(menu, ID_LOG_SAVE_AS, MF_BYCOMMAND);
    seen.save = ::GetMenuState(menu, ID_LOG_SAVE, MF_BYCOMMAND);
    seen.clear = ::GetMenuState(menu, ID_LOG_CLEAR, MF_BYCOMMAND);
    ::GetWindowRect(menuWindow, &seen.rect);
    for (WPARAM key : keys)
      ::PostMessageW(menuWindow, WM_KEYDOWN, key, 0);
  });
  log.ShowLogMenu(window.Owner(), window.Button());
  EXPECT_TRUE(answerer.Answered());
  LogWindow::Pump();
  return seen;
}

TEST_F(LogDialogsTest, MenuIsGrayedUntilLinesAreAdded) {
  MenuSeen seen = OpenLogMenu(log, window, {VK_ESCAPE});
  EXPECT_TRUE(seen.saveAs & MF_GRAYED);
  EXPECT_TRUE(seen.save & MF_GRAYED);
  EXPECT_TRUE(seen.clear & MF_GRAYED);

  log.AddLogLine(L"one");
  seen = OpenLogMenu(log, window, {VK_ESCAPE});
  EXPECT_FALSE(seen.saveAs & MF_GRAYED);
  EXPECT_FALSE(seen.save & MF_GRAYED);
  EXPECT_FALSE(seen.clear & MF_GRAYED);
  EXPECT_TRUE(window.commands.empty());
}

TEST_F(LogDialogsTest, MenuOpensUpwardsFromTheButtonAndCommandsGoToTheOwner) {
  log.AddLogLine(L"one");
  RECT button{};
  ::GetWindowRect(window.Button(), &button);
  // From the bottom: the last item is "Очистить".
  const MenuSeen seen = OpenLogMenu(log, window, {VK_UP, VK_RETURN});
  EXPECT_EQ(seen.rect.left, button.left);
  EXPECT_EQ(seen.rect.bottom, button.top);
  EXPECT_EQ(window.commands, (std::vector<WORD>{ID_LOG_CLEAR}));
}

}  // namespace
}  // namespace morvane
