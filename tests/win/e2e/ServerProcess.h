#pragma once
// The real server program (Morvane.exe) as a child process of the test: started in a working
// folder of the test's own, watched through its main window (the log control's text), driven by
// the commands of its toolbar and menus, and closed the way a user closes it.
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "framework/ScopedResource.h"

namespace morvane::e2e {

inline constexpr wchar_t kMainWindowTitle[] = L"Сервер обновления терминалов";

class ServerProcess {
 public:
  ServerProcess() = default;
  // A program still running here (a test that failed half-way) is ended without its close.
  ~ServerProcess();
  ServerProcess(const ServerProcess&) = delete;
  ServerProcess& operator=(const ServerProcess&) = delete;

  // Starts the program (the build's own, or the given Windows path) and waits until its main
  // window is there. On failure, Error() says why.
  bool Start(const std::wstring& workFolder, int timeoutMs = 30000,
             const std::wstring& program = std::wstring());
  // The same, returning at once; then WaitForMainWindow.
  bool Launch(const std::wstring& workFolder, const std::wstring& program = std::wstring());
  // The same, the program held before its first instruction until Resume, so that a test can
  // hook its main thread first.
  bool LaunchSuspended(const std::wstring& workFolder,
                       const std::wstring& program = std::wstring());
  DWORD MainThreadId() const { return threadId_; }
  bool Resume();
  bool WaitForMainWindow(int timeoutMs = 30000);
  const std::string& Error() const { return error_; }
  HWND MainWindow() const { return window_; }

  // A top-level dialog of the program with that caption, shown or not; null after timeoutMs.
  HWND WaitForDialog(const std::wstring& title, int timeoutMs = 30000) const;
  // Waits for the process to end and gives its exit code.
  bool WaitForExit(DWORD& exitCode, int timeoutMs = 30000);
  // Waits until no copy of the program runs in this session (none holds its instance mutex).
  static bool WaitUntilNoCopyRuns(int timeoutMs = 30000);

  // The log as the window shows it, and its messages without time stamps.
  std::wstring LogText() const;
  std::vector<std::wstring> LogMessages() const;
  // Waits until at least count log messages start with the given text.
  bool WaitForLog(const std::wstring& start, size_t count = 1, int timeoutMs = 30000) const;
  // Waits until the log's messages satisfy done.
  bool WaitUntilLog(const std::function<bool(const std::vector<std::wstring>&)>& done,
                    int timeoutMs = 30000) const;

  // Waits for a visible top-level window of the program, other than its main window, with this
  // title (a message box, the help viewer); null when none came.
  HWND WaitForWindow(const std::wstring& title, int timeoutMs = 30000) const;

  // A toolbar or menu command, as a click would send it.
  void PostCommand(WORD command) const;

  // A terminal request delivered the way the component delivers one: WM_COPYDATA with the record
  // of three pointers, whose texts are placed in the program's own memory first. Returns when the
  // window has handled the message.
  bool SendTerminalRequest(const std::string& event, const std::string& data);

  // Posts the close command (IDOK or IDCANCEL) and waits for the process to end.
  bool Close(WORD command, DWORD& exitCode, int timeoutMs = 30000);
  // Ends the program at once, as a crash or a kill from the task manager would: no close
  // sequence runs. True once the process has ended.
  bool Kill();

 private:
  bool Launch(const std::wstring& workFolder, const std::wstring& program, DWORD flags);
  HWND FindDialog(const std::wstring& title) const;
  // The first top-level window of the program that `wanted` accepts, or null.
  HWND FindOwnWindow(const std::function<bool(HWND)>& wanted) const;
  std::string DescribeOwnWindows() const;

  ScopedHandle process_;
  ScopedHandle thread_;
  DWORD processId_ = 0;
  DWORD threadId_ = 0;
  HWND window_ = nullptr;
  std::string error_;
};

}  // namespace morvane::e2e
