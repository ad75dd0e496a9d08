#pragma once
// Answers a window that the thread under test shows modally (a message box, a file dialog, a
// menu): a helper thread waits for it, with a deadline, and then looks at it and answers it as a
// user would.
#include <windows.h>

#include <atomic>
#include <chrono>
#include <functional>
#include <string>
#include <thread>

namespace morvane::testing {

struct ThreadWindowSearch {
  const wchar_t* windowClass;
  HWND found;
};

inline BOOL CALLBACK MatchThreadWindow(HWND hwnd, LPARAM param) {
  auto* search = reinterpret_cast<ThreadWindowSearch*>(param);
  wchar_t name[64] = {};
  ::GetClassNameW(hwnd, name, 64);
  if (::IsWindowVisible(hwnd) && std::wstring(name) == search->windowClass) {
    search->found = hwnd;
    return FALSE;
  }
  return TRUE;
}

// The first visible window of class windowClass that belongs to thread.
inline HWND FindThreadWindow(DWORD thread, const wchar_t* windowClass) {
  ThreadWindowSearch search{windowClass, nullptr};
  ::EnumThreadWindows(thread, &MatchThreadWindow, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

// Runs answer(window) on a helper thread as soon as the constructing thread shows a window of the
// class; gives up after ten seconds.
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
  WindowAnswerer(const WindowAnswerer&) = delete;
  WindowAnswerer& operator=(const WindowAnswerer&) = delete;

  bool Answered() {
    if (thread_.joinable()) thread_.join();
    return answered_;
  }

 private:
  std::atomic<bool> answered_{false};
  std::thread thread_;
};

}  // namespace morvane::testing
