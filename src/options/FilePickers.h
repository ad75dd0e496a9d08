#pragma once
// The system's file dialogs as the option pages use them: a filter, a default extension, no
// initial name and no option flags (no existence check, no overwrite prompt). Each returns true
// and the chosen full path when the user confirms; on cancel the path is left alone.
#include <windows.h>

#include <string>

namespace morvane {

// Programs run before and after an exchange: " Выполняемые файлы (BAT, COM, EXE) ", "exe".
bool PickExecutable(HWND owner, std::wstring& path);
// Base files: " Текстовый Файл (TXT) ", "txt".
bool PickTextFile(HWND owner, std::wstring& path);
// The shared upload data file, in a save dialog: text files or all files, "txt".
bool PickDataFileToSave(HWND owner, std::wstring& path);

}  // namespace morvane
