#include "app/Help.h"

#include <string>

namespace morvane {

void OpenProgramHelp(HWND owner) {
  wchar_t exe[MAX_PATH] = {};
  const DWORD length = ::GetModuleFileNameW(nullptr, exe, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return;
  std::wstring help(exe, length);
  const size_t dot = help.find_last_of(L".\\");
  if (dot != std::wstring::npos && help[dot] == L'.') help.erase(dot);
  help += L".CHM";

  // The viewer is loaded when first needed and stays loaded: its windows live as long as the
  // program does.
  using HtmlHelpW_t = HWND(WINAPI*)(HWND, LPCWSTR, UINT, DWORD_PTR);
  static HMODULE viewer = ::LoadLibraryW(L"hhctrl.ocx");
  if (!viewer) return;
  auto htmlHelp =
      reinterpret_cast<HtmlHelpW_t>(reinterpret_cast<void*>(::GetProcAddress(viewer, "HtmlHelpW")));
  if (htmlHelp) htmlHelp(owner, help.c_str(), 0 /* HH_DISPLAY_TOPIC */, 0);
}

}  // namespace morvane
