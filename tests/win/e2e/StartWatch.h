#pragma once
// The test's side of the start watch: the shared record, and the hook on the program's main
// thread, set while the program is held suspended so that nothing of its start-up is missed.
#include <windows.h>

#include <string>

#include "StartWatchRecord.h"
#include "framework/ScopedResource.h"

namespace morvane::e2e {

class StartWatch {
 public:
  explicit StartWatch(DWORD threadId);
  ~StartWatch();
  StartWatch(const StartWatch&) = delete;
  StartWatch& operator=(const StartWatch&) = delete;

  bool Hooked() const { return hook_ != nullptr; }
  const std::string& Error() const { return error_; }
  // Waits until the program has taken its end-of-start-up message and gives it; 0 when none came.
  UINT WaitForStartEnd(int timeoutMs = 30000) const;
  bool VisibleAtStartEnd() const { return record_ && record_->visibleAtStartEnd != 0; }

 private:
  ScopedHandle mapping_;
  StartWatchRecord* record_ = nullptr;
  ScopedModule library_;
  HHOOK hook_ = nullptr;
  std::string error_;
};

}  // namespace morvane::e2e
