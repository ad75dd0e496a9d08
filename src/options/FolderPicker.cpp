#include "options/FolderPicker.h"

#include <shlobj.h>

#include "framework/ComPtr.h"

namespace morvane {
namespace {

constexpr wchar_t kTitle[] = L"Выбирите папку";
constexpr wchar_t kStatus[] = L"Укажите папку в которую будут сохраняться данные";

int CALLBACK BrowseCallback(HWND browser, UINT message, LPARAM item, LPARAM startText) {
  if (message == BFFM_INITIALIZED) {
    ::SendMessageW(browser, BFFM_SETSTATUSTEXTW, 0, reinterpret_cast<LPARAM>(kStatus));
    ::SendMessageW(browser, BFFM_SETSELECTIONW, TRUE, startText);
  } else if (message == BFFM_SELCHANGED) {
    // The caption shows where the user is; a virtual folder leaves it as it was.
    wchar_t path[MAX_PATH] = {};
    if (::SHGetPathFromIDListW(reinterpret_cast<PCIDLIST_ABSOLUTE>(item), path)) {
      ::SetWindowTextW(browser, path);
    }
  }
  return 0;
}

}  // namespace

std::wstring PickFolder(HWND owner, const std::wstring& startText) {
  ComPtr<IMalloc> allocator;
  if (FAILED(::SHGetMalloc(allocator.Receive())) || !allocator) return startText;

  BROWSEINFOW info{};
  info.hwndOwner = owner;
  info.lpszTitle = kTitle;
  info.ulFlags = BIF_RETURNONLYFSDIRS | BIF_STATUSTEXT;
  info.lpfn = &BrowseCallback;
  info.lParam = reinterpret_cast<LPARAM>(startText.c_str());
  PIDLIST_ABSOLUTE chosen = ::SHBrowseForFolderW(&info);
  if (!chosen) return startText;

  wchar_t path[MAX_PATH] = {};
  const bool hasPath = ::SHGetPathFromIDListW(chosen, path) != FALSE;
  allocator->Free(chosen);
  return hasPath ? std::wstring(path) : startText;
}

}  // namespace morvane
