#pragma once
// Files through Win32: received data is staged in a temporary file next to its target and
// flushed to disk before it is renamed over the target or appended to it. The first upload into
// a folder removes the staging files that crashed processes left there.
#include <mutex>
#include <set>
#include <string>

#include "standin/server/FileStore.h"

namespace morvane::standin {

class WinFileStore : public IFileStore {
 public:
  std::unique_ptr<ISourceFile> OpenSource(const std::wstring& path) override;
  std::unique_ptr<IStagedFile> Stage(const std::wstring& targetPath) override;

 private:
  void SweepOnce(const std::wstring& folder);

  std::mutex mutex_;
  std::set<std::wstring> swept_;  // folders, in lower case
};

}  // namespace morvane::standin
