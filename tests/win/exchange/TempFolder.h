#pragma once
// A folder of real files for one test, removed with everything in it at the end; and small
// helpers for reading and writing the files the tests look at.
#include <windows.h>

#include <algorithm>
#include <string>
#include <vector>

#include "framework/ScopedResource.h"

namespace morvane::testing {

inline std::string ReadFileBytes(const std::wstring& path) {
  std::string bytes;
  const ScopedFileHandle file(::CreateFileW(path.c_str(), GENERIC_READ,
                                            FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                            OPEN_EXISTING, 0, nullptr));
  if (!file) return bytes;
  char chunk[4096];
  DWORD read = 0;
  while (::ReadFile(file.Get(), chunk, sizeof(chunk), &read, nullptr) && read > 0)
    bytes.append(chunk, read);
  return bytes;
}

inline bool WriteFileBytes(const std::wstring& path, const std::string& bytes) {
  const ScopedFileHandle file(
      ::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
  if (!file) return false;
  DWORD written = 0;
  return ::WriteFile(file.Get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written,
                     nullptr) &&
         written == bytes.size();
}

inline bool Exists(const std::wstring& path) {
  return ::GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

// Deletes a folder and everything in it.
inline void RemoveTree(const std::wstring& folder) {
  {
    WIN32_FIND_DATAW found{};
    const ScopedFindHandle search(::FindFirstFileW((folder + L"\\*").c_str(), &found));
    while (search) {
      const std::wstring name = found.cFileName;
      const std::wstring path = folder + L"\\" + name;
      if (name != L"." && name != L"..") {
        if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
          RemoveTree(path);
        else
          ::DeleteFileW(path.c_str());
      }
      if (!::FindNextFileW(search.Get(), &found)) break;
    }
  }
  ::RemoveDirectoryW(folder.c_str());
}

// The folder of the running test program, ending in a backslash.
inline std::wstring TestProgramFolder() {
  wchar_t path[MAX_PATH] = {};
  ::GetModuleFileNameW(nullptr, path, MAX_PATH);
  std::wstring folder = path;
  return folder.substr(0, folder.rfind(L'\\') + 1);
}

class TempFolder {
 public:
  TempFolder() {
    static int counter = 0;
    wchar_t base[MAX_PATH] = {};
    ::GetTempPathW(MAX_PATH, base);
    // Wine hands out the same small process ids again: a folder that is already there (left by a
    // test that was ended) is never taken over with what it holds.
    do {
      path_ = std::wstring(base) + L"morvane-" + std::to_wstring(::GetCurrentProcessId()) + L"-" +
              std::to_wstring(++counter) + L"-" + std::to_wstring(::GetTickCount());
    } while (!::CreateDirectoryW(path_.c_str(), nullptr) &&
             ::GetLastError() == ERROR_ALREADY_EXISTS);
  }
  ~TempFolder() { RemoveTree(path_); }
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;

  const std::wstring& Path() const { return path_; }
  std::wstring operator/(const std::wstring& name) const { return path_ + L"\\" + name; }

  void Touch(const std::wstring& name, const std::string& bytes = "base") const {
    WriteFileBytes(*this / name, bytes);
  }
  bool Has(const std::wstring& name) const { return Exists(*this / name); }
  // The names in the folder, sorted.
  std::vector<std::wstring> Names() const {
    std::vector<std::wstring> names;
    WIN32_FIND_DATAW found{};
    const ScopedFindHandle search(::FindFirstFileW((path_ + L"\\*").c_str(), &found));
    if (!search) return names;
    do {
      const std::wstring name = found.cFileName;
      if (name != L"." && name != L"..") names.push_back(name);
    } while (::FindNextFileW(search.Get(), &found));
    std::sort(names.begin(), names.end());
    return names;
  }

 private:
  std::wstring path_;
};

}  // namespace morvane::testing
