#pragma once
// Files on the workstation as the transfers need them: a file to send, and received data that is
// staged aside and only then made visible, so that a broken transfer never leaves a file that
// looks complete.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

namespace morvane::standin {

class ISourceFile {
 public:
  virtual ~ISourceFile() = default;
  virtual uint64_t Size() const = 0;
  // Reads the next bytes; false on a read error. received 0 with true means the end.
  virtual bool Read(char* buffer, size_t capacity, size_t& received) = 0;
};

// Received data on its way to its file. Destroying it without a commit throws it away.
class IStagedFile {
 public:
  virtual ~IStagedFile() = default;
  virtual bool Write(const char* bytes, size_t size) = 0;
  // The target becomes exactly the staged bytes (an existing file is replaced).
  virtual bool CommitReplace() = 0;
  // The staged bytes are added to the end of the target (created when missing): all of them, or,
  // when that fails, none.
  virtual bool CommitAppend() = 0;
};

class IFileStore {
 public:
  virtual ~IFileStore() = default;
  // Null when the file cannot be opened for reading.
  virtual std::unique_ptr<ISourceFile> OpenSource(const std::wstring& path) = 0;
  // Null when nothing can be staged next to the target (missing folder, no rights).
  virtual std::unique_ptr<IStagedFile> Stage(const std::wstring& targetPath) = 0;
};

}  // namespace morvane::standin
