#pragma once
// Folder settings as the exchange and the log use them: trailing backslashes stripped, joined to
// a file name with exactly one backslash, the program's own folder as the fallback.
#include <string>

#include "exchange/FileSystem.h"

namespace morvane {

// Sets path to the program's folder, ending in a backslash. Fails, leaving path uncut (the whole
// executable path as far as it was obtained), when the executable's path cannot be obtained, fills
// the whole buffer, or the folder is not found.
bool GetProgramFolder(IFileSystem& fs, std::wstring& path);

// Strips every trailing backslash from folder in place; true when what is left is not empty and
// names an existing entry.
bool CheckFolder(IFileSystem& fs, std::wstring& folder);

// folder + exactly one backslash + name, whatever backslashes folder ends in.
std::wstring JoinFolder(const std::wstring& folder, const std::wstring& name);

}  // namespace morvane
