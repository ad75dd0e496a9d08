#pragma once
// What an installation can leave on a machine, as the installer tests look at it: files under
// the drive's folders and the registry keys and values of the machine and the user, listed so
// that two listings taken before and after can be compared; and a program run to its end.
#include <windows.h>

#include <set>
#include <string>

namespace morvane::installer_test {

// Every file and folder under C:\ (paths, not contents), leaving out the Windows folder and the
// temporary folders, which wine itself changes as it runs.
std::set<std::wstring> FileListing();

// Every key and value name under HKLM\Software and HKCU (data left out: wine updates some),
// leaving out HKCU\Software\Wine, wine's own state.
std::set<std::wstring> RegistryListing();

// The entries of "after" that are not in "before", and the other way round, one per line.
std::wstring Difference(const std::set<std::wstring>& before, const std::set<std::wstring>& after);

// A REG_SZ value, or "<none>" when the key or the value is missing.
std::wstring ReadText(HKEY root, const std::wstring& key, const std::wstring& name);
DWORD ReadNumber(HKEY root, const std::wstring& key, const std::wstring& name);
bool KeyExists(HKEY root, const std::wstring& key);

// Runs a command line and waits for its end; its exit code, or -1 when it did not start or end.
long RunToEnd(std::wstring commandLine, DWORD timeoutMs = 60000);

// A shell folder (CSIDL_PROGRAM_FILES, CSIDL_COMMON_PROGRAMS, ...).
std::wstring ShellFolder(int csidl);

}  // namespace morvane::installer_test
