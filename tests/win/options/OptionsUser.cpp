#include "OptionsUser.h"

#include <chrono>
#include <thread>
#include <vector>

#include "framework/WindowText.h"
#include "options/OptionsDlg.h"
#include "res/resource.h"

namespace morvane::testing {

bool WaitFor(const std::function<bool()>& pred, int timeoutMs) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
  while (!pred()) {
    if (std::chrono::steady_clock::now() > deadline) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  return true;
}

namespace {

struct DialogSearch {
  const std::wstring* caption;
  HWND except;
  HWND found;
};

BOOL CALLBACK MatchDialog(HWND hwnd, LPARAM param) {
  auto* search = reinterpret_cast<DialogSearch*>(param);
  wchar_t name[32] = {};
  ::GetClassNameW(hwnd, name, 32);
  if (hwnd == search->except || !::IsWindowVisible(hwnd) || std::wstring(name) != L"#32770") {
    return TRUE;
  }
  if (!search->caption->empty() && WindowText(hwnd) != *search->caption) return TRUE;
  search->found = hwnd;
  return FALSE;
}

}  // namespace

HWND FindThreadDialog(DWORD thread, const std::wstring& caption, HWND except) {
  DialogSearch search{&caption, except, nullptr};
  ::EnumThreadWindows(thread, &MatchDialog, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

OptionsUser::OptionsUser(HWND dialog, DWORD uiThread) : dialog_(dialog), uiThread_(uiThread) {}

HWND OptionsUser::Tab() const {
  return ::GetDlgItem(dialog_, IDC_OPTIONS_TAB);
}

HWND OptionsUser::Page() const {
  for (HWND child = ::GetWindow(Tab(), GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
    if (::IsWindowVisible(child)) return child;
  }
  return nullptr;
}

std::wstring OptionsUser::Text(int id) const {
  return WindowText(Item(id));
}

bool OptionsUser::Checked(int id) const {
  return ::SendMessageW(Item(id), BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void OptionsUser::Focus(HWND control) const {
  ::SendMessageW(dialog_, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(control), TRUE);
}

HWND OptionsUser::Focused() const {
  GUITHREADINFO info{};
  info.cbSize = sizeof info;
  return ::GetGUIThreadInfo(uiThread_, &info) ? info.hwndFocus : nullptr;
}

void OptionsUser::Type(int id, const std::wstring& text) const {
  Focus(Item(id));
  ::SendMessageW(Item(id), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

bool OptionsUser::Press(WORD key, const std::function<bool()>& pred, bool ctrl, bool shift) const {
  std::vector<INPUT> inputs;
  const auto add = [&](WORD vk, bool up) {
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = vk;
    input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
    inputs.push_back(input);
  };
  if (ctrl) add(VK_CONTROL, false);
  if (shift) add(VK_SHIFT, false);
  add(key, false);
  add(key, true);
  if (shift) add(VK_SHIFT, true);
  if (ctrl) add(VK_CONTROL, true);
  // Keys go to the foreground window; tests running beside this one may have taken it.
  WaitFor(
      [&] {
        if (::GetWindowThreadProcessId(::GetForegroundWindow(), nullptr) == uiThread_) return true;
        ::SetForegroundWindow(dialog_);
        return false;
      },
      2000);
  ::SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
  return WaitFor(pred);
}

void OptionsUser::Click(HWND button) const {
  ::SendMessageW(button, BM_CLICK, 0, 0);
}

void OptionsUser::PostClick(HWND button) const {
  ::PostMessageW(button, BM_CLICK, 0, 0);
}

OptionsRun::OptionsRun() {
  main_ = ::CreateWindowExW(0, L"STATIC", L"Главное окно", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 700,
                            50, 300, 200, nullptr, nullptr, ::GetModuleHandleW(nullptr), nullptr);
}

OptionsRun::~OptionsRun() {
  if (main_) ::DestroyWindow(main_);
}

int OptionsRun::MainOpacity() const {
  if (!(::GetWindowLongPtrW(main_, GWL_EXSTYLE) & WS_EX_LAYERED)) return -1;
  BYTE alpha = 0;
  DWORD flags = 0;
  if (!::GetLayeredWindowAttributes(main_, nullptr, &alpha, &flags) || !(flags & LWA_ALPHA)) {
    return -2;
  }
  return alpha;
}

INT_PTR OptionsRun::Run(const std::function<void(OptionsUser&)>& script) {
  OptionsDlg dialog({settings, withComponent ? &component : nullptr, main_}, [this] {
    ++saves;
    savedPort = component.port;
  });
  const DWORD ui = ::GetCurrentThreadId();
  std::thread driver([&] {
    HWND found = nullptr;
    WaitFor([&] { return (found = FindThreadDialog(ui, L"Настройки")) != nullptr; }, 10000);
    if (!found) return;
    OptionsUser user(found, ui);
    script(user);
    if (!WaitFor([&] { return !::IsWindow(found); }, 3000)) {
      ::PostMessageW(found, WM_COMMAND, IDCANCEL, 0);
    }
  });
  const INT_PTR result = dialog.DoModal(main_);
  driver.join();
  return result;
}

}  // namespace morvane::testing
