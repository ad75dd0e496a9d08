#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include <algorithm>

#include "core/exchange_fakes.h"
#include "framework/WindowText.h"
#include "log/LogView.h"
#include "win/log/LogWindow.h"

namespace morvane {
namespace {

using testing::FakeClock;
using testing::LogWindow;

// Counts the messages that would set the whole text anew.
LRESULT CALLBACK CountSetText(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                              DWORD_PTR counter) {
  if (message == WM_SETTEXT) ++*reinterpret_cast<int*>(counter);
  return ::DefSubclassProc(hwnd, message, wParam, lParam);
}

class LogViewTest : public ::testing::Test {
 protected:
  LogViewTest() { log.Attach(window.Edit(), &clock); }
  LRESULT Send(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) {
    return ::SendMessageW(window.Edit(), message, wParam, lParam);
  }

  LogWindow window;
  FakeClock clock;
  CLogView log;
};

TEST_F(LogViewTest, LinesGoToTheEndWithTheirStamp) {
  EXPECT_FALSE(log.IsModified());
  log.AddLogLine(L"Сервер запущен!");
  EXPECT_EQ(log.Text(), L"7.12.2026 9:5:3 Сервер запущен!\r\n") << "the first line at position 0";
  EXPECT_TRUE(log.IsModified());

  clock.now.second = 4;
  Send(EM_SETSEL, 0, 3);  // the user selected something at the top
  log.AddLogLine(L"Сервер остановлен!");
  EXPECT_EQ(log.Text(),
            L"7.12.2026 9:5:3 Сервер запущен!\r\n7.12.2026 9:5:4 Сервер остановлен!\r\n");
}

TEST_F(LogViewTest, ControlCharactersMakeNoExtraLines) {
  log.AddLogLine(L"SN: A\r\nB\nC\rD");
  EXPECT_EQ(Send(EM_GETLINECOUNT), 2) << "one line and the empty one after it";
  EXPECT_EQ(log.Text(), L"7.12.2026 9:5:3 SN: A  B C D\r\n");
}

TEST_F(LogViewTest, ClearEmptiesTheLogAndTheModifiedFlag) {
  log.AddLogLine(L"one");
  log.Clear();
  EXPECT_EQ(log.Text(), L"");
  EXPECT_FALSE(log.IsModified());
  log.AddLogLine(L"two");
  EXPECT_EQ(log.Text(), L"7.12.2026 9:5:3 two\r\n");
  EXPECT_TRUE(log.IsModified());
}

// Lines that come faster than the screen takes them reach it together, by themselves, in order,
// by insertions only; the screen keeps the newest 1,000 or so and the log keeps them all.
TEST_F(LogViewTest, BurstOfLinesAllAppear) {
  int setTexts = 0;
  ASSERT_TRUE(
      ::SetWindowSubclass(window.Edit(), &CountSetText, 1, reinterpret_cast<DWORD_PTR>(&setTexts)));
  std::wstring all;
  for (int i = 0; i < 1200; ++i) {
    log.AddLogLine(L"line " + std::to_wstring(i));
    all += L"7.12.2026 9:5:3 line " + std::to_wstring(i) + L"\r\n";
  }
  const std::wstring newest = all.substr(all.find(L"7.12.2026 9:5:3 line 200\r\n"));
  for (int wait = 0; wait < 500 && WindowText(window.Edit()) != newest; ++wait) {
    LogWindow::Pump();
    ::Sleep(10);
  }
  EXPECT_TRUE(WindowText(window.Edit()) == newest)
      << WindowText(window.Edit()).size() << " characters on screen, " << newest.size()
      << " expected";

  // Then line by line: the screen stays an unbroken tail of the log, 1,000 to 1,100 lines long.
  for (int i = 1200; i < 1350; ++i) {
    log.AddLogLine(L"line " + std::to_wstring(i));
    all += L"7.12.2026 9:5:3 line " + std::to_wstring(i) + L"\r\n";
    log.ShowPendingLines();
    const std::wstring shown = WindowText(window.Edit());
    const size_t lines = static_cast<size_t>(std::count(shown.begin(), shown.end(), L'\n'));
    ASSERT_TRUE(all.compare(all.size() - shown.size(), shown.size(), shown) == 0) << i;
    ASSERT_TRUE(lines >= 1000 && lines <= 1100) << lines << " lines on screen after line " << i;
    ASSERT_EQ(all[all.size() - shown.size() - 1], L'\n') << "whole lines only";
  }
  ::RemoveWindowSubclass(window.Edit(), &CountSetText, 1);
  EXPECT_EQ(setTexts, 0);
  EXPECT_TRUE(log.Text() == all) << log.Text().size() << " characters kept of " << all.size();
}

TEST_F(LogViewTest, KeepsLoggingPastTheDefaultTextLimit) {
  const std::wstring message(70, L'ж');
  const size_t lineLength = std::wstring(L"7.12.2026 9:5:3 ").size() + message.size() + 2;
  const int lines = 800;  // 70,400 characters, past the default 30,000 and past 16 bits
  for (int i = 0; i < lines; ++i)
    log.AddLogLine(message);
  log.AddLogLine(L"последняя");
  const std::wstring text = log.Text();
  EXPECT_EQ(text.size(),
            lineLength * lines + std::wstring(L"7.12.2026 9:5:3 последняя\r\n").size());
  EXPECT_EQ(text.substr(text.size() - 11), L"последняя\r\n");
  EXPECT_GT(static_cast<DWORD>(Send(EM_GETLIMITTEXT)), 0x7FFFFFFu);
}

// Milliseconds since 1601, UTC.
ULONGLONG Milliseconds(const FILETIME& time) {
  return (ULONGLONG{time.dwHighDateTime} << 32 | time.dwLowDateTime) / 10000;
}

// Log lines and upload file names are stamped in UTC. The Windows tests run under
// TZ=Europe/Moscow (cmake/wine-run.sh), three hours ahead, so the local time would show.
TEST(SystemClock, GivesUtcWhereTheLocalTimeIsAnother) {
  TIME_ZONE_INFORMATION zone{};
  ::GetTimeZoneInformation(&zone);
  ASSERT_NE(zone.Bias, 0) << "this test needs a time zone other than UTC";
  FILETIME before{};
  FILETIME after{};
  ::GetSystemTimeAsFileTime(&before);
  const UtcTime now = CSystemClock().NowUtc();
  ::GetSystemTimeAsFileTime(&after);
  const SYSTEMTIME asSystem{static_cast<WORD>(now.year),
                            static_cast<WORD>(now.month),
                            0,
                            static_cast<WORD>(now.day),
                            static_cast<WORD>(now.hour),
                            static_cast<WORD>(now.minute),
                            static_cast<WORD>(now.second),
                            static_cast<WORD>(now.milliseconds)};
  FILETIME clock{};
  ASSERT_TRUE(::SystemTimeToFileTime(&asSystem, &clock));
  EXPECT_LE(Milliseconds(before), Milliseconds(clock));
  EXPECT_LE(Milliseconds(clock), Milliseconds(after));
}

}  // namespace
}  // namespace morvane
