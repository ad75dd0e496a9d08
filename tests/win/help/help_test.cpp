// The help call from inside the program: the file it asks for, and F1 in a window that runs through
// our modal loop (the about box here) reaching the help with the window at the top of the owner
// chain. The viewer itself is replaced by a recorder: wine's shows blank topics. The running
// program's F1, "Справка" and missing-file message are tested end to end (e2e_help_test.cpp).
#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

#include "app/AboutDlg.h"
#include "app/Help.h"
#include "app/MorvaneApp.h"
#include "win/exchange/TempFolder.h"

namespace morvane {
namespace {

struct HelpCall {
  HWND owner;
  std::wstring file;
  bool operator==(const HelpCall&) const = default;
};

void PrintTo(const HelpCall& call, std::ostream* out) {
  *out << "{owner " << call.owner << ", " << ::testing::PrintToString(call.file) << "}";
}

std::vector<HelpCall> g_calls;

bool RecordHelpCall(HWND owner, const std::wstring& file) {
  g_calls.push_back({owner, file});
  return true;
}

// This test program's own help file, worked out by hand: its path with ".exe" made ".CHM".
std::wstring OwnHelpFile() {
  wchar_t path[MAX_PATH] = {};
  std::wstring exe(path, ::GetModuleFileNameW(nullptr, path, MAX_PATH));
  return exe.substr(0, exe.size() - 4) + L".CHM";
}

class HelpTest : public ::testing::Test {
 protected:
  HelpTest() : previous_(SetHelpViewer(&RecordHelpCall)) { g_calls.clear(); }
  ~HelpTest() override {
    SetHelpViewer(previous_);
    ::DeleteFileW(OwnHelpFile().c_str());
  }

 private:
  HelpViewer previous_;
};

TEST(HelpFile, IsTheProgramPathWithTheExtensionChm) {
  EXPECT_EQ(HelpFileFor(L"C:\\Program Files\\Sklad\\Morvane.exe"),
            L"C:\\Program Files\\Sklad\\Morvane.CHM");
  EXPECT_EQ(HelpFileFor(L"D:\\server.v2\\Morvane.1.exe"), L"D:\\server.v2\\Morvane.1.CHM");
  EXPECT_EQ(HelpFileFor(L"D:\\server.v2\\Morvane"), L"D:\\server.v2\\Morvane.CHM");
}

// A window of the help viewer's frame class: the viewer runs on the program's thread, and F1 in it
// is the viewer's own business.
HWND g_viewerFrame = nullptr;

BOOL CALLBACK MatchAboutBox(HWND window, LPARAM found) {
  wchar_t className[16] = {};
  wchar_t caption[32] = {};
  ::GetClassNameW(window, className, 16);
  ::GetWindowTextW(window, caption, 32);
  if (std::wstring(className) != L"#32770" || std::wstring(caption) != L"О программе") return TRUE;
  *reinterpret_cast<HWND*>(found) = window;
  return FALSE;
}

// The about box of this thread: another test's program may have one open as well.
HWND OwnAboutBox() {
  HWND found = nullptr;
  ::EnumThreadWindows(::GetCurrentThreadId(), &MatchAboutBox, reinterpret_cast<LPARAM>(&found));
  return found;
}

// Keys go where a user's would: to the focused button of the about box, through its modal loop.
void CALLBACK PressF2ThenF1ThenClose(HWND, UINT, UINT_PTR timer, DWORD) {
  ::KillTimer(nullptr, timer);
  const HWND about = OwnAboutBox();
  const HWND target = about ? ::GetDlgItem(about, IDOK) : nullptr;
  ASSERT_NE(target, nullptr) << "the about box is not there";
  ::PostMessageW(g_viewerFrame, WM_KEYDOWN, VK_F1, 0);
  ::PostMessageW(target, WM_KEYDOWN, VK_F2, 0);
  ::PostMessageW(target, WM_KEYDOWN, VK_F1, 0);
  ::PostMessageW(about, WM_COMMAND, IDCANCEL, 0);
}

TEST_F(HelpTest, F1InTheAboutBoxOpensTheHelpOwnedByTheMainWindowButNotInTheViewer) {
  ASSERT_TRUE(testing::WriteFileBytes(OwnHelpFile(), "ITSF"));
  CMorvaneApp app;  // sees every message of the modal loops first
  const HWND mainWindow = ::CreateWindowExW(0, L"STATIC", L"main", WS_POPUP | WS_VISIBLE, 0, 0, 100,
                                            100, nullptr, nullptr, nullptr, nullptr);
  ASSERT_NE(mainWindow, nullptr);
  WNDCLASSW viewerClass{};
  viewerClass.lpfnWndProc = &::DefWindowProcW;
  viewerClass.lpszClassName = L"HH Parent";
  ::RegisterClassW(&viewerClass);
  g_viewerFrame = ::CreateWindowExW(0, L"HH Parent", L"help", WS_POPUP, 0, 0, 10, 10, mainWindow,
                                    nullptr, nullptr, nullptr);
  ASSERT_NE(g_viewerFrame, nullptr);

  ::SetTimer(nullptr, 0, 50, &PressF2ThenF1ThenClose);
  CAboutDlg about;
  EXPECT_EQ(about.DoModal(mainWindow), IDCANCEL);
  ::DestroyWindow(g_viewerFrame);
  ::DestroyWindow(mainWindow);

  EXPECT_EQ(g_calls, (std::vector<HelpCall>{{mainWindow, OwnHelpFile()}}));
}

}  // namespace
}  // namespace morvane
