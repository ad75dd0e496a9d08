#include "standin/com/WinFileStore.h"

#include <windows.h>

#include <algorithm>
#include <atomic>
#include <vector>

#include "framework/ScopedResource.h"
#include "standin/server/StagingNames.h"

namespace morvane::standin {

namespace {

class WinSourceFile : public ISourceFile {
 public:
  WinSourceFile(ScopedFileHandle file, uint64_t size) : file_(std::move(file)), size_(size) {}
  uint64_t Size() const override { return size_; }
  bool Read(char* buffer, size_t capacity, size_t& received) override {
    DWORD got = 0;
    const BOOL ok = ::ReadFile(file_.Get(), buffer, static_cast<DWORD>(capacity), &got, nullptr);
    received = got;
    return ok != FALSE;
  }

 private:
  ScopedFileHandle file_;
  uint64_t size_;
};

bool WriteAll(HANDLE file, const char* bytes, size_t size) {
  while (size > 0) {
    DWORD written = 0;
    const DWORD chunk = static_cast<DWORD>(std::min<size_t>(size, 1 << 20));
    if (!::WriteFile(file, bytes, chunk, &written, nullptr) || written == 0) return false;
    bytes += written;
    size -= written;
  }
  return true;
}

class WinStagedFile : public IStagedFile {
 public:
  WinStagedFile(std::wstring target, std::wstring temp, ScopedFileHandle file)
      : target_(std::move(target)), temp_(std::move(temp)), file_(std::move(file)) {}
  ~WinStagedFile() override {
    file_.Reset();
    if (!temp_.empty()) ::DeleteFileW(temp_.c_str());
  }
  WinStagedFile(const WinStagedFile&) = delete;
  WinStagedFile& operator=(const WinStagedFile&) = delete;

  bool Write(const char* bytes, size_t size) override { return WriteAll(file_.Get(), bytes, size); }

  bool CommitReplace() override {
    if (!::FlushFileBuffers(file_.Get())) return false;
    file_.Reset();
    if (!::MoveFileExW(temp_.c_str(), target_.c_str(),
                       MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
      return false;
    }
    temp_.clear();  // it is the target now
    return true;
  }

  bool CommitAppend() override {
    ScopedFileHandle target(::CreateFileW(target_.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                                          OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!target) return false;
    const bool created = ::GetLastError() != ERROR_ALREADY_EXISTS;
    LARGE_INTEGER original{};
    if (!::GetFileSizeEx(target.Get(), &original)) return false;
    if (AppendStaged(target.Get(), original)) return true;
    // All or nothing: cut the target back to what it was.
    ::SetFilePointerEx(target.Get(), original, nullptr, FILE_BEGIN);
    ::SetEndOfFile(target.Get());
    target.Reset();
    if (created) ::DeleteFileW(target_.c_str());
    return false;
  }

 private:
  bool AppendStaged(HANDLE target, LARGE_INTEGER at) {
    LARGE_INTEGER zero{};
    if (!::SetFilePointerEx(target, at, nullptr, FILE_BEGIN) ||
        !::SetFilePointerEx(file_.Get(), zero, nullptr, FILE_BEGIN)) {
      return false;
    }
    std::vector<char> buffer(256 * 1024);
    for (;;) {
      DWORD got = 0;
      if (!::ReadFile(file_.Get(), buffer.data(), static_cast<DWORD>(buffer.size()), &got,
                      nullptr)) {
        return false;
      }
      if (got == 0) break;
      if (!WriteAll(target, buffer.data(), got)) return false;
    }
    return ::FlushFileBuffers(target) != FALSE;
  }

  std::wstring target_;
  std::wstring temp_;
  ScopedFileHandle file_;
};

std::wstring FolderOf(const std::wstring& path) {
  const size_t slash = path.find_last_of(L"\\/");
  if (slash == std::wstring::npos) return L".";
  if (slash == 0 || (slash == 2 && path[1] == L':')) return path.substr(0, slash + 1);
  return path.substr(0, slash);
}

std::wstring InFolder(const std::wstring& folder, const std::wstring& name) {
  const bool ends = !folder.empty() && (folder.back() == L'\\' || folder.back() == L'/');
  return ends ? folder + name : folder + L"\\" + name;
}

// Access denied means someone's process is there; only a process id that names nothing is gone.
bool ProcessRunning(DWORD processId) {
  ScopedHandle process(::OpenProcess(SYNCHRONIZE, FALSE, processId));
  if (!process) return ::GetLastError() != ERROR_INVALID_PARAMETER;
  return ::WaitForSingleObject(process.Get(), 0) == WAIT_TIMEOUT;
}

// Creates a staging file of its own; a name that is taken (a process id come round again) is
// skipped.
ScopedFileHandle CreateStagingFile(const std::wstring& folder, std::wstring& path) {
  static std::atomic<uint32_t> counter{0};
  for (int attempt = 0; attempt < 100; ++attempt) {
    path = InFolder(folder, StagingFileName(::GetCurrentProcessId(), ++counter));
    ScopedFileHandle file(::CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                                        CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (file || ::GetLastError() != ERROR_FILE_EXISTS) return file;
  }
  return ScopedFileHandle();
}

}  // namespace

void WinFileStore::SweepOnce(const std::wstring& folder) {
  std::wstring key = folder;
  ::CharLowerBuffW(key.data(), static_cast<DWORD>(key.size()));
  {
    std::lock_guard lock(mutex_);
    if (!swept_.insert(key).second) return;
  }
  WIN32_FIND_DATAW found;
  ScopedFindHandle search(::FindFirstFileW(InFolder(folder, StagingFilePattern()).c_str(), &found));
  if (!search) return;
  do {
    uint32_t processId = 0;
    if (!StagingFileProcess(found.cFileName, processId) || processId == ::GetCurrentProcessId() ||
        ProcessRunning(processId)) {
      continue;
    }
    // A transfer still under way holds its file open without sharing: it cannot go by mistake.
    ::DeleteFileW(InFolder(folder, found.cFileName).c_str());
  } while (::FindNextFileW(search.Get(), &found));
}

std::unique_ptr<ISourceFile> WinFileStore::OpenSource(const std::wstring& path) {
  ScopedFileHandle file(::CreateFileW(path.c_str(), GENERIC_READ,
                                      FILE_SHARE_READ | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                      FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
  if (!file) return nullptr;
  LARGE_INTEGER size{};
  if (!::GetFileSizeEx(file.Get(), &size)) return nullptr;
  return std::make_unique<WinSourceFile>(std::move(file), static_cast<uint64_t>(size.QuadPart));
}

std::unique_ptr<IStagedFile> WinFileStore::Stage(const std::wstring& targetPath) {
  // In the target's folder, so that the final rename stays on one volume.
  const std::wstring folder = FolderOf(targetPath);
  SweepOnce(folder);
  std::wstring temp;
  ScopedFileHandle file = CreateStagingFile(folder, temp);
  if (!file) return nullptr;
  return std::make_unique<WinStagedFile>(targetPath, temp, std::move(file));
}

}  // namespace morvane::standin
