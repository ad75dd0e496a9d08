#pragma once
// The program's HTML help: the file beside the executable, named as the executable with the
// extension ".CHM". F1 in any window of the program and the command "Справка" open it at its first
// topic; a missing file is said in a message box.
#include <windows.h>

#include <string>

namespace morvane {

inline constexpr wchar_t kHelpCaption[] = L"Сервер обновления терминалов";
inline constexpr wchar_t kHelpMissingText[] = L"Файл справки не найден:";
inline constexpr wchar_t kHelpFailedText[] = L"Не удалось открыть файл справки:";

// The help file of a program: its path with the extension replaced by ".CHM" (added when the name
// has no extension).
std::wstring HelpFileFor(const std::wstring& programPath);
// The running program's help file; empty when the program's path cannot be read.
std::wstring ProgramHelpFile();

// The window that owns help opened from a window of the program: the top of its parent and owner
// chain, so that the help outlives the dialog it was asked from.
HWND HelpOwnerFor(HWND window);

// The F1 key, seen before dispatch in the program's modal loops: pressed in a window of the
// program it opens the help (owned by the top of that window's owner chain) and is consumed. The
// help viewer's own windows run on this thread too; there the key is left to the viewer.
bool HandleHelpKey(const MSG& message);

// Opens the program's help at its first topic, owned by owner.
void OpenProgramHelp(HWND owner);
// Closes every help window the program opened (at its end, before the viewer goes).
void CloseProgramHelp();

// The call that shows a help file at its first topic; false when it could not. The program's own
// goes to HTML Help. Tests put a recorder in its place; the previous call is returned.
using HelpViewer = bool (*)(HWND owner, const std::wstring& file);
HelpViewer SetHelpViewer(HelpViewer viewer);

}  // namespace morvane
