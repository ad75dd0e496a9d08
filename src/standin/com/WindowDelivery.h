#pragma once
// Requests go to the window registered with "RegisterHWNDWindow" as WM_COPYDATA, sent from the
// connection's own thread. The record and its texts live on that thread's stack until the send
// returns, which is as long as the window may look at them.
#include <windows.h>

#include <atomic>

#include "standin/server/RequestDelivery.h"

namespace morvane::standin {

class WindowDelivery : public IRequestDelivery {
 public:
  void SetWindow(HWND window) { window_ = window; }
  HWND Window() const { return window_; }

  bool Deliver(const char* event, const std::string& data) override;

 private:
  std::atomic<HWND> window_{nullptr};
};

}  // namespace morvane::standin
