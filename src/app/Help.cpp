#include "app/Help.h"

#include <vector>

namespace morvane {

namespace {

// HTML Help commands (htmlhelp.h).
constexpr UINT kDisplayTopic = 0x0000;  // HH_DISPLAY_TOPIC
constexpr UINT kCloseAll = 0x0012;      // HH_CLOSE_ALL

using HtmlHelpW_t = HWND(WINAPI*)(HWND, LPCWSTR, UINT, DWORD_PTR);

// The viewer is loaded when first needed and stays loaded: its windows live as long as the
// program does. Null when the system has no HTML Help.
HtmlHelpW_t HtmlHelpEntry(bool load) {
  static HMODULE viewer = nullptr;
  if (!viewer && load) viewer = ::LoadLibraryW(L"hhctrl.ocx");
  if (!viewer) return nullptr;
  return reinterpret_cast<HtmlHelpW_t>(
      reinterpret_cast<void*>(::GetProcAddress(viewer, "HtmlHelpW")));
}

bool ShowWithHtmlHelp(HWND owner, const std::wstring& file) {
  const HtmlHelpW_t htmlHelp = HtmlHelpEntry(true);
  return htmlHelp && htmlHelp(owner, file.c_str(), kDisplayTopic, 0) != nullptr;
}

HelpViewer g_viewer = &ShowWithHtmlHelp;

// The frame window class of the HTML Help viewer.
constexpr wchar_t kViewerFrameClass[] = L"HH Parent";

bool IsInHelpViewer(HWND window) {
  const HWND root = window ? ::GetAncestor(window, GA_ROOT) : nullptr;
  wchar_t name[32] = {};
  return root && ::GetClassNameW(root, name, 32) > 0 && std::wstring(name) == kViewerFrameClass;
}

void SayHelpProblem(HWND owner, const wchar_t* problem, const std::wstring& file) {
  const std::wstring text = std::wstring(problem) + L"\r\n" + file;
  ::MessageBoxW(owner, text.c_str(), kHelpCaption, MB_OK | MB_ICONWARNING);
}

}  // namespace

std::wstring HelpFileFor(const std::wstring& programPath) {
  std::wstring help = programPath;
  const size_t dot = help.find_last_of(L".\\/");
  if (dot != std::wstring::npos && help[dot] == L'.') help.erase(dot);
  return help + L".CHM";
}

std::wstring ProgramHelpFile() {
  // Long paths too: the buffer grows until the whole path fits.
  std::vector<wchar_t> path(MAX_PATH);
  for (;;) {
    const DWORD length =
        ::GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (length == 0) return {};
    if (length < path.size()) return HelpFileFor(std::wstring(path.data(), length));
    if (path.size() >= 32768) return {};
    path.resize(path.size() * 2);
  }
}

HWND HelpOwnerFor(HWND window) {
  const HWND root = window ? ::GetAncestor(window, GA_ROOTOWNER) : nullptr;
  return root ? root : window;
}

bool HandleHelpKey(const MSG& message) {
  if (message.message != WM_KEYDOWN || message.wParam != VK_F1) return false;
  if (IsInHelpViewer(message.hwnd)) return false;
  OpenProgramHelp(HelpOwnerFor(message.hwnd));
  return true;
}

void OpenProgramHelp(HWND owner) {
  const std::wstring file = ProgramHelpFile();
  if (file.empty() || ::GetFileAttributesW(file.c_str()) == INVALID_FILE_ATTRIBUTES) {
    SayHelpProblem(owner, kHelpMissingText, file);
    return;
  }
  if (!g_viewer(owner, file)) SayHelpProblem(owner, kHelpFailedText, file);
}

void CloseProgramHelp() {
  if (const HtmlHelpW_t htmlHelp = HtmlHelpEntry(false)) htmlHelp(nullptr, nullptr, kCloseAll, 0);
}

HelpViewer SetHelpViewer(HelpViewer viewer) {
  const HelpViewer previous = g_viewer;
  g_viewer = viewer;
  return previous;
}

}  // namespace morvane
