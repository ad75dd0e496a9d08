#pragma once
// A stand-in for the main window in the log tests: a top-level window with the log's edit
// control (the main window's styles) and the log button, recording the commands it receives.
#include <windows.h>

#include <vector>

namespace morvane::testing {

class LogWindow {
 public:
  LogWindow() {
    static const wchar_t kClass[] = L"MorvaneLogTestWindow";
    WNDCLASSW wc{};
    wc.lpfnWndProc = &LogWindow::Proc;
    wc.hInstance = ::GetModuleHandleW(nullptr);
    wc.lpszClassName = kClass;
    ::RegisterClassW(&wc);  // fails harmlessly when already registered
    owner_ = ::CreateWindowExW(0, kClass, L"Log test", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 200, 100,
                               600, 500, nullptr, nullptr, wc.hInstance, this);
    edit_ = ::CreateWindowExW(
        WS_EX_CLIENTEDGE, L"EDIT", L"",
        WS_CHILD | WS_VISIBLE | ES_MULTILINE | ES_READONLY | ES_NOHIDESEL | WS_VSCROLL, 10, 10, 560,
        380, owner_, nullptr, wc.hInstance, nullptr);
    button_ = ::CreateWindowExW(0, L"BUTTON", L"Лог", WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, 10,
                                400, 80, 24, owner_, nullptr, wc.hInstance, nullptr);
  }
  ~LogWindow() {
    if (owner_) ::DestroyWindow(owner_);
  }
  LogWindow(const LogWindow&) = delete;
  LogWindow& operator=(const LogWindow&) = delete;

  HWND Owner() const { return owner_; }
  HWND Edit() const { return edit_; }
  HWND Button() const { return button_; }

  // Handles what is waiting in the queue.
  static void Pump() {
    MSG msg;
    while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      ::TranslateMessage(&msg);
      ::DispatchMessageW(&msg);
    }
  }

  std::vector<WORD> commands;

 private:
  static LRESULT CALLBACK Proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
      auto* create = reinterpret_cast<CREATESTRUCTW*>(lParam);
      ::SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    auto* self = reinterpret_cast<LogWindow*>(::GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (message == WM_COMMAND && self && lParam == 0) self->commands.push_back(LOWORD(wParam));
    if (message == WM_NCDESTROY && self) self->owner_ = nullptr;
    return ::DefWindowProcW(hwnd, message, wParam, lParam);
  }

  HWND owner_ = nullptr;
  HWND edit_ = nullptr;
  HWND button_ = nullptr;
};

}  // namespace morvane::testing
