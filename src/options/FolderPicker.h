#pragma once
// The folder picker of the option pages: the shell's folder browser, starting at the folder that
// the field names. Returns the chosen folder's full path; the start text when the user cancels or
// chooses something that is not a file-system folder. The caller puts the result into its field.
#include <windows.h>

#include <string>

namespace morvane {

std::wstring PickFolder(HWND owner, const std::wstring& startText);

}  // namespace morvane
