#pragma once
// Helpers for the end-to-end tests: build paths as wine sees them, the terminal simulator, free
// ports, and the log's lines with their time stamps checked and taken off.
#include <windows.h>

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "framework/ScopedResource.h"
#include "win/exchange/TempFolder.h"

namespace morvane::e2e {

// A build path (Unix) as a Windows path under wine.
std::wstring WindowsPath(const char* unixPath);
// Paths and serials of these tests are plain ASCII; anything else shows up as '?'.
std::string Narrow(const std::wstring& text);
std::wstring Widen(const std::string& text);

std::string RandomBytes(size_t size, unsigned seed);

// What the simulator's fleet sends as upload number `exchange` (from 1) of a terminal: its serial
// and the number, repeated to the size, the last byte a line feed.
std::string FleetUploadText(const std::string& serial, int exchange, size_t size);

// The names of the files (not folders) in a folder, sorted.
std::vector<std::wstring> FileNames(const std::wstring& folder);

// A TCP port that nobody listens on right now.
int FreePort();
// Whether anybody listens on the port (it cannot be taken).
bool Listened(int port);

// The program's autorun entry: a REG_SZ value under the machine-wide Run key.
inline constexpr wchar_t kAutorunName[] = L"Morvane";
std::optional<std::wstring> AutorunValue(const wchar_t* name = kAutorunName);
bool SetAutorunValue(const wchar_t* name, const std::wstring& data);
void RemoveAutorunValue(const wchar_t* name = kAutorunName);

// Whether the notification area holds the icon (id 1) of that window: the area answers a change
// that asks for nothing only for an icon it has.
bool TrayIconShown(HWND owner);
// Polls done until it holds (true) or timeoutMs has passed (false).
bool PollUntil(const std::function<bool()>& done, int timeoutMs = 10000);
// Waits until the window is shown (the program shows its window only once start-up is over).
inline bool WaitUntilShown(HWND window) {
  return PollUntil([window] { return ::IsWindowVisible(window) != FALSE; });
}
// The text of a message box.
std::wstring MessageBoxText(HWND box);

struct SimulatorRun {
  DWORD exitCode = 0xFFFFFFFF;  // 0 done, 1 failed, 2 no file, 3 bad command line
  std::string output;
};
// The Windows build of terminal-sim running beside the test, its output going to a scratch file.
class Simulator {
 public:
  explicit Simulator(const std::wstring& arguments);
  // A simulator still running here is ended.
  ~Simulator();
  Simulator(const Simulator&) = delete;
  Simulator& operator=(const Simulator&) = delete;
  // Waits for the end (ending it after timeoutMs) and gives its exit code and output.
  SimulatorRun Wait(int timeoutMs = 90000);

 private:
  testing::TempFolder scratch_;
  ScopedFileHandle output_;
  ScopedHandle process_;
  std::string startError_;
};

// Runs terminal-sim with the given arguments and waits for it to end.
SimulatorRun RunSimulator(const std::wstring& arguments, int timeoutMs = 90000);

// The time stamp "d.m.yyyy h:m:s " that starts every log line (UTC, no leading zeros). Returns the
// length of the stamp at the start of line, or 0 when the line does not start with one.
size_t LogStampLength(const std::wstring& line);

// The messages of a log text: its lines (CR LF ended) with their stamps taken off. A line without
// a proper stamp, or text after the last line end, is returned whole with "<bad line> " in front,
// so that it fails any comparison with expected messages.
std::vector<std::wstring> LogMessages(const std::wstring& text);

// A saved log file: its bytes read as CP1251 and split as above.
std::vector<std::wstring> LogFileMessages(const std::wstring& path);

// How many messages start with the given text.
size_t CountStartingWith(const std::vector<std::wstring>& messages, const std::wstring& start);

// Messages for a test's failure output.
std::string Describe(const std::vector<std::wstring>& messages);

}  // namespace morvane::e2e
