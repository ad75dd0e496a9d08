#pragma once
// What the page tests share: a top-level window to hold a page, clicks and texts as the user
// makes them, and a watcher that reads and closes the message boxes the page shows.
#include <windows.h>

#include <atomic>
#include <mutex>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "framework/Dialog.h"
#include "options/OptionsContext.h"
#include "settings/ServerSettings.h"

namespace morvane::testing {

class PageHost {
 public:
  PageHost() {
    static const wchar_t kClass[] = L"MorvanePageTestHost";
    WNDCLASSW wc{};
    wc.lpfnWndProc = &::DefWindowProcW;
    wc.hInstance = ::GetModuleHandleW(nullptr);
    wc.lpszClassName = kClass;
    ::RegisterClassW(&wc);  // fails harmlessly when already registered
    m_hWnd = ::CreateWindowExW(WS_EX_CONTROLPARENT, kClass, L"Page test",
                               WS_OVERLAPPEDWINDOW | WS_VISIBLE, 100, 100, 700, 500, nullptr,
                               nullptr, wc.hInstance, nullptr);
  }
  ~PageHost() { ::DestroyWindow(m_hWnd); }
  PageHost(const PageHost&) = delete;
  PageHost& operator=(const PageHost&) = delete;
  HWND Handle() const { return m_hWnd; }

 private:
  HWND m_hWnd = nullptr;
};

// A page as the options dialog makes it: created on the heap, its window a child of the host.
// Closing destroys the window; the page object then deletes itself.
template <class Page>
Page* OpenPage(HWND host, ServerSettings& settings) {
  auto* page = new Page(OptionsContext{settings, nullptr, nullptr});
  page->Create(host);
  ::ShowWindow(page->Handle(), SW_SHOW);
  return page;
}
inline void ClosePage(CDialog* page) {
  ::DestroyWindow(page->Handle());
}

inline void Pump() {
  MSG msg;
  while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    ::TranslateMessage(&msg);
    ::DispatchMessageW(&msg);
  }
}

// A click on a button as the button reports it: the state changes first, then BN_CLICKED.
inline void Click(HWND dialog, int id) {
  ::SendMessageW(::GetDlgItem(dialog, id), BM_CLICK, 0, 0);
}

inline std::wstring Text(HWND dialog, int id) {
  wchar_t buffer[512] = {};
  ::GetDlgItemTextW(dialog, id, buffer, 512);
  return buffer;
}

inline void SetText(HWND dialog, int id, const std::wstring& text) {
  ::SetDlgItemTextW(dialog, id, text.c_str());
}

inline bool Checked(HWND dialog, int id) {
  return ::IsDlgButtonChecked(dialog, id) == BST_CHECKED;
}

inline bool Enabled(HWND dialog, int id) {
  return ::IsWindowEnabled(::GetDlgItem(dialog, id)) != FALSE;
}

// Reads the text of every message box the UI thread shows while it lives, and closes it.
class MessageBoxWatcher {
 public:
  MessageBoxWatcher() : m_ui(::GetCurrentThreadId()), m_thread([this] { Watch(); }) {}
  ~MessageBoxWatcher() {
    m_stop = true;
    m_thread.join();
  }
  MessageBoxWatcher(const MessageBoxWatcher&) = delete;
  MessageBoxWatcher& operator=(const MessageBoxWatcher&) = delete;

  std::vector<std::wstring> Texts() {
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_texts;
  }

 private:
  static BOOL CALLBACK Visit(HWND hwnd, LPARAM param) {
    auto* self = reinterpret_cast<MessageBoxWatcher*>(param);
    wchar_t name[16] = {};
    ::GetClassNameW(hwnd, name, 16);
    // A message box: a dialog with the text control 0xFFFF.
    if (std::wstring(name) != L"#32770" || !::IsWindowVisible(hwnd) || !::GetDlgItem(hwnd, 0xFFFF))
      return TRUE;
    if (!self->m_seen.insert(hwnd).second) return TRUE;
    wchar_t text[256] = {};
    ::GetDlgItemTextW(hwnd, 0xFFFF, text, 256);
    {
      std::lock_guard<std::mutex> lock(self->m_mutex);
      self->m_texts.push_back(text);
    }
    ::PostMessageW(hwnd, WM_COMMAND, IDOK, 0);
    return TRUE;
  }
  void Watch() {
    while (!m_stop) {
      ::EnumThreadWindows(m_ui, &Visit, reinterpret_cast<LPARAM>(this));
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
  }

  DWORD m_ui;
  std::atomic<bool> m_stop{false};
  std::set<HWND> m_seen;
  std::mutex m_mutex;
  std::vector<std::wstring> m_texts;
  std::thread m_thread;
};

}  // namespace morvane::testing
