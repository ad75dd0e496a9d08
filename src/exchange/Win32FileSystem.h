#pragma once
// The exchange's and the log's file system on Windows: the wide-character file functions.
#include "exchange/FileSystem.h"

namespace morvane {

class CWin32FileSystem : public IFileSystem {
 public:
  void FindFiles(const std::wstring& pattern,
                 const std::function<bool(const std::wstring& name)>& visit) override;
  bool FileExists(const std::wstring& path) override;
  bool PathExists(const std::wstring& path) override;
  bool RemoveFile(const std::wstring& path) override;
  bool MakeFolder(const std::wstring& path) override;
  bool GetProgramPath(std::wstring& path) override;
};

}  // namespace morvane
