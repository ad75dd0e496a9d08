#pragma once
// A start that cannot be completed ends with a message box and exit code -1, instead of leaving
// an invisible process behind that nobody can reach or close.
#include <windows.h>

namespace morvane {

inline constexpr wchar_t kStartFailed[] = L"Не удалось запустить программу.";
inline constexpr int kStartFailedExitCode = -1;

// Tells the user (no owner: the main window is not there, or is not usable).
void ShowStartFailure();

}  // namespace morvane
