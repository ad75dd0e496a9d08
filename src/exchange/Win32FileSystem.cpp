#include "exchange/Win32FileSystem.h"

#include <windows.h>

#include "framework/ScopedResource.h"

namespace morvane {

void CWin32FileSystem::FindFiles(const std::wstring& pattern,
                                 const std::function<bool(const std::wstring& name)>& visit) {
  WIN32_FIND_DATAW found{};
  const ScopedFindHandle search(::FindFirstFileW(pattern.c_str(), &found));
  if (!search) return;
  do {
    if (!visit(found.cFileName)) return;
  } while (::FindNextFileW(search.Get(), &found));
}

bool CWin32FileSystem::FileExists(const std::wstring& path) {
  WIN32_FIND_DATAW found{};
  const ScopedFindHandle search(::FindFirstFileW(path.c_str(), &found));
  return search.IsValid();
}

bool CWin32FileSystem::PathExists(const std::wstring& path) {
  return ::GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

bool CWin32FileSystem::RemoveFile(const std::wstring& path) {
  return ::DeleteFileW(path.c_str()) != FALSE;
}

bool CWin32FileSystem::MakeFolder(const std::wstring& path) {
  return ::CreateDirectoryW(path.c_str(), nullptr) != FALSE;
}

bool CWin32FileSystem::GetProgramPath(std::wstring& path) {
  wchar_t buffer[MAX_PATH] = {};
  const DWORD length = ::GetModuleFileNameW(nullptr, buffer, MAX_PATH);
  path.assign(buffer, length < MAX_PATH ? length : MAX_PATH);
  // A path that fills the whole buffer may have been cut short.
  return length != 0 && length < MAX_PATH;
}

}  // namespace morvane
