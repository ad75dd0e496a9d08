#pragma once
// What the exchange and the log ask of the file system. The Win32 implementation is
// CWin32FileSystem; the portable logic and its tests see only this interface.
#include <functional>
#include <string>

namespace morvane {

class IFileSystem {
 public:
  virtual ~IFileSystem() = default;

  // Walks the names that a wildcard search (FindFirstFileW rules) finds, in the file system's
  // order, until visit returns false. The search is closed in every case. Names only, no folder.
  virtual void FindFiles(const std::wstring& pattern,
                         const std::function<bool(const std::wstring& name)>& visit) = 0;
  // True when a search for exactly this path finds it.
  virtual bool FileExists(const std::wstring& path) = 0;
  // True when the path names any existing entry (GetFileAttributesW).
  virtual bool PathExists(const std::wstring& path) = 0;
  virtual bool RemoveFile(const std::wstring& path) = 0;
  virtual bool MakeFolder(const std::wstring& path) = 0;
  // The full path of the program's executable. False when it cannot be obtained or does not fit
  // the 260-character buffer; path then holds whatever the system gave (possibly cut short).
  virtual bool GetProgramPath(std::wstring& path) = 0;
};

}  // namespace morvane
