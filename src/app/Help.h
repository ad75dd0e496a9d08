#pragma once
// The program's HTML help: the executable's path with the extension ".CHM".
#include <windows.h>

namespace morvane {

// Opens the help file at its default topic. Quietly does nothing when the help viewer is missing.
void OpenProgramHelp(HWND owner);

}  // namespace morvane
