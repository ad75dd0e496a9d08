#pragma once
// Files through Win32: received data is staged in a temporary file next to its target and
// flushed to disk before it is renamed over the target or appended to it.
#include "standin/server/FileStore.h"

namespace morvane::standin {

class WinFileStore : public IFileStore {
 public:
  std::unique_ptr<ISourceFile> OpenSource(const std::wstring& path) override;
  std::unique_ptr<IStagedFile> Stage(const std::wstring& targetPath) override;
};

}  // namespace morvane::standin
