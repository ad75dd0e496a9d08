#include "ServerProcess.h"

#include "E2eSupport.h"
#include "app/SingleInstance.h"
#include "framework/TopLevelWindows.h"
#include "res/resource.h"
#include "terminal/TerminalRequest.h"

namespace morvane::e2e {

namespace {

// Memory in another process, given back when the owner goes.
class RemoteMemory {
 public:
  RemoteMemory(HANDLE process, size_t size)
      : process_(process),
        address_(
            ::VirtualAllocEx(process, nullptr, size, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE)) {}
  ~RemoteMemory() {
    if (address_) ::VirtualFreeEx(process_, address_, 0, MEM_RELEASE);
  }
  RemoteMemory(const RemoteMemory&) = delete;
  RemoteMemory& operator=(const RemoteMemory&) = delete;
  char* Address() const { return static_cast<char*>(address_); }

 private:
  HANDLE process_;
  void* address_;
};

std::wstring WindowTitle(HWND window) {
  wchar_t title[256] = {};
  ::GetWindowTextW(window, title, 256);
  return title;
}

}  // namespace

ServerProcess::~ServerProcess() {
  Kill();
}

bool ServerProcess::Kill() {
  if (process_ && ::WaitForSingleObject(process_.Get(), 0) == WAIT_TIMEOUT) {
    ::TerminateProcess(process_.Get(), 98);
  }
  return !process_ || ::WaitForSingleObject(process_.Get(), 10000) == WAIT_OBJECT_0;
}

bool ServerProcess::Launch(const std::wstring& workFolder, const std::wstring& program) {
  return Launch(workFolder, program, 0);
}

bool ServerProcess::LaunchSuspended(const std::wstring& workFolder, const std::wstring& program) {
  return Launch(workFolder, program, CREATE_SUSPENDED);
}

bool ServerProcess::Resume() {
  return thread_ && ::ResumeThread(thread_.Get()) != static_cast<DWORD>(-1);
}

bool ServerProcess::Launch(const std::wstring& workFolder, const std::wstring& program,
                           DWORD flags) {
  std::wstring commandLine = L"\"" + (program.empty() ? WindowsPath(MORVANE_EXE) : program) + L"\"";
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION info{};
  if (!::CreateProcessW(nullptr, &commandLine[0], nullptr, nullptr, FALSE, flags, nullptr,
                        workFolder.c_str(), &startup, &info)) {
    error_ = "cannot start " + Narrow(commandLine) + ": error " + std::to_string(::GetLastError());
    return false;
  }
  process_.Reset(info.hProcess);
  thread_.Reset(info.hThread);
  processId_ = info.dwProcessId;
  threadId_ = info.dwThreadId;
  return true;
}

bool ServerProcess::Start(const std::wstring& workFolder, int timeoutMs,
                          const std::wstring& program) {
  return Launch(workFolder, program) && WaitForMainWindow(timeoutMs);
}

bool ServerProcess::WaitForMainWindow(int timeoutMs) {
  bool ended = false;
  PollUntil(
      [&] {
        window_ = FindDialog(kMainWindowTitle);
        ended = ::WaitForSingleObject(process_.Get(), 0) == WAIT_OBJECT_0;
        return window_ != nullptr || ended;
      },
      timeoutMs);
  if (window_) return true;
  DWORD exitCode = 0;
  ::GetExitCodeProcess(process_.Get(), &exitCode);
  error_ = ended ? "the program ended at start-up with exit code " + std::to_string(exitCode)
                 : "no main window after " + std::to_string(timeoutMs) +
                       " ms; its windows: " + DescribeOwnWindows();
  return false;
}

HWND ServerProcess::FindOwnWindow(const std::function<bool(HWND)>& wanted) const {
  for (HWND window : TopLevelWindowsOf(processId_)) {
    if (wanted(window)) return window;
  }
  return nullptr;
}

HWND ServerProcess::FindDialog(const std::wstring& title) const {
  return FindOwnWindow([&](HWND window) {
    wchar_t className[64] = {};
    ::GetClassNameW(window, className, 64);
    return std::wstring(className) == L"#32770" && WindowTitle(window) == title;
  });
}

HWND ServerProcess::WaitForDialog(const std::wstring& title, int timeoutMs) const {
  HWND found = nullptr;
  PollUntil([&] { return (found = FindDialog(title)) != nullptr; }, timeoutMs);
  return found;
}

bool ServerProcess::WaitUntilNoCopyRuns(int timeoutMs) {
  return PollUntil(
      [] {
        const ScopedHandle mutex(::OpenMutexW(SYNCHRONIZE, FALSE, kInstanceMutexName));
        return !mutex;
      },
      timeoutMs);
}

HWND ServerProcess::WaitForWindow(const std::wstring& title, int timeoutMs) const {
  HWND found = nullptr;
  PollUntil(
      [&] {
        found = FindOwnWindow([&](HWND window) {
          return window != window_ && ::IsWindowVisible(window) && WindowTitle(window) == title;
        });
        return found != nullptr;
      },
      timeoutMs);
  return found;
}

std::string ServerProcess::DescribeOwnWindows() const {
  std::string out;
  for (HWND window : TopLevelWindowsOf(processId_)) {
    const std::vector<std::wstring> title{WindowTitle(window)};
    out += "[" + Describe(title) + "]";
  }
  return out.empty() ? "none" : out;
}

std::wstring ServerProcess::LogText() const {
  // Not empty when the control cannot be read, so that it never passes for a cleared log.
  const std::wstring noAnswer = L"<the log control did not answer>";
  const HWND edit = ::GetDlgItem(window_, IDC_LOG_EDIT);
  if (!edit) return noAnswer;
  DWORD_PTR length = 0;
  if (!::SendMessageTimeoutW(edit, WM_GETTEXTLENGTH, 0, 0, SMTO_NORMAL, 10000, &length))
    return noAnswer;
  std::wstring text(length + 1, L'\0');
  DWORD_PTR copied = 0;
  if (!::SendMessageTimeoutW(edit, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()),
                             SMTO_NORMAL, 10000, &copied)) {
    return noAnswer;
  }
  text.resize(copied);
  return text;
}

std::vector<std::wstring> ServerProcess::LogMessages() const {
  return e2e::LogMessages(LogText());
}

bool ServerProcess::WaitForLog(const std::wstring& start, size_t count, int timeoutMs) const {
  return WaitUntilLog(
      [&](const std::vector<std::wstring>& m) { return CountStartingWith(m, start) >= count; },
      timeoutMs);
}

bool ServerProcess::WaitUntilLog(const std::function<bool(const std::vector<std::wstring>&)>& done,
                                 int timeoutMs) const {
  return PollUntil([&] { return done(LogMessages()); }, timeoutMs);
}

void ServerProcess::PostCommand(WORD command) const {
  ::PostMessageW(window_, WM_COMMAND, MAKEWPARAM(command, 0), 0);
}

bool ServerProcess::SendTerminalRequest(const std::string& event, const std::string& data) {
  const std::string source = kRequestSource;
  const std::string texts = source + '\0' + event + '\0' + data + '\0';
  const RemoteMemory remote(process_.Get(), texts.size());
  SIZE_T written = 0;
  if (!remote.Address() ||
      !::WriteProcessMemory(process_.Get(), remote.Address(), texts.data(), texts.size(),
                            &written) ||
      written != texts.size()) {
    error_ = "cannot place the request's texts in the program";
    return false;
  }
  TerminalRequest request{remote.Address(), remote.Address() + source.size() + 1,
                          remote.Address() + source.size() + 1 + event.size() + 1};
  COPYDATASTRUCT copyData{0, sizeof request, &request};
  DWORD_PTR result = 0;
  if (!::SendMessageTimeoutW(window_, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&copyData),
                             SMTO_NORMAL, 30000, &result)) {
    error_ = "the window did not take the request";
    return false;
  }
  return true;
}

bool ServerProcess::Close(WORD command, DWORD& exitCode, int timeoutMs) {
  PostCommand(command);
  return WaitForExit(exitCode, timeoutMs);
}

bool ServerProcess::WaitForExit(DWORD& exitCode, int timeoutMs) {
  if (::WaitForSingleObject(process_.Get(), static_cast<DWORD>(timeoutMs)) != WAIT_OBJECT_0) {
    error_ = "the program did not end within " + std::to_string(timeoutMs) +
             " ms; its windows: " + DescribeOwnWindows();
    return false;
  }
  ::GetExitCodeProcess(process_.Get(), &exitCode);
  return true;
}

}  // namespace morvane::e2e
