#include "StartWatch.h"

#include "E2eSupport.h"

namespace morvane::e2e {

StartWatch::StartWatch(DWORD threadId) {
  mapping_.Reset(::CreateFileMappingW(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0,
                                      sizeof(StartWatchRecord), kStartWatchMapping));
  if (mapping_) {
    record_ = static_cast<StartWatchRecord*>(
        ::MapViewOfFile(mapping_.Get(), FILE_MAP_WRITE, 0, 0, sizeof(StartWatchRecord)));
  }
  if (!record_) {
    error_ = "cannot share the record: error " + std::to_string(::GetLastError());
    return;
  }
  *record_ = StartWatchRecord{};
  // The system loads the library into the program by this path when the hook first runs there.
  library_.Reset(::LoadLibraryW(WindowsPath(START_WATCH_DLL).c_str()));
  const auto proc = library_ ? reinterpret_cast<HOOKPROC>(reinterpret_cast<void*>(
                                   ::GetProcAddress(library_.Get(), kStartWatchHookName)))
                             : nullptr;
  if (proc) hook_ = ::SetWindowsHookExW(WH_GETMESSAGE, proc, library_.Get(), threadId);
  if (!hook_) error_ = "cannot hook the program: error " + std::to_string(::GetLastError());
}

StartWatch::~StartWatch() {
  if (hook_) ::UnhookWindowsHookEx(hook_);
  if (record_) ::UnmapViewOfFile(record_);
}

UINT StartWatch::WaitForStartEnd(int timeoutMs) const {
  if (!record_) return 0;
  PollUntil([&] { return ::InterlockedCompareExchange(&record_->startMessage, 0, 0) != 0; },
            timeoutMs);
  return static_cast<UINT>(record_->startMessage);
}

}  // namespace morvane::e2e
