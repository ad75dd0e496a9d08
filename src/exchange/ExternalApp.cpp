#include "exchange/ExternalApp.h"

#include <windows.h>

#include <vector>

#include "framework/ScopedResource.h"

namespace morvane {

bool RunExternalApp(const std::wstring& path) {
  STARTUPINFOW startup{};
  startup.cb = sizeof(startup);
  startup.dwFlags = STARTF_USESHOWWINDOW;
  startup.wShowWindow = SW_SHOWNORMAL;
  PROCESS_INFORMATION started{};
  // CreateProcessW may write into the command line, so it gets a copy of its own.
  std::vector<wchar_t> commandLine(path.begin(), path.end());
  commandLine.push_back(L'\0');
  if (!::CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &started))
    return false;
  ScopedHandle process(started.hProcess);
  ScopedHandle thread(started.hThread);
  ::WaitForSingleObject(process.Get(), INFINITE);
  thread.Reset();
  process.Reset();
  return true;
}

bool CProgramLauncher::RunExternalApp(const std::wstring& commandLine) {
  return morvane::RunExternalApp(commandLine);
}

}  // namespace morvane
