#pragma once
// Fakes for the exchange's interfaces. They all write into one journal, so that a test can see
// the order of component calls, log lines, program starts and file deletions together.
#include <algorithm>
#include <cwctype>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "base/UtcTime.h"
#include "exchange/ExchangeContext.h"
#include "exchange/FileSystem.h"
#include "exchange/ProgramLauncher.h"
#include "log/EventLog.h"
#include "settings/SettingsStore.h"
#include "terminal/TerminalComponent.h"

namespace morvane::testing {

using Journal = std::vector<std::wstring>;

class FakeLog : public IEventLog {
 public:
  explicit FakeLog(Journal& journal) : journal_(journal) {}
  void AddLogLine(const std::wstring& message) override {
    lines.push_back(message);
    journal_.push_back(L"log: " + message);
  }
  std::vector<std::wstring> lines;

 private:
  Journal& journal_;
};

class FakeComponent : public ITerminalComponent {
 public:
  explicit FakeComponent(Journal& journal) : journal_(journal) {}

  int attachResult = 1;
  int sendResult = 1;
  int getResult = 1;
  int errorCode = 0;
  bool errorCodeReadable = true;
  std::wstring description = L"нет связи";
  std::vector<std::wstring> sentPaths;
  std::function<void()> duringSend;  // what else happens while the component sends

  // The three properties, kept as the component keeps them.
  int port = 0;
  int delay = 0;
  int delimiter = 0;

  bool SetPort(int value) override { return Put(port, value); }
  bool GetPort(int& value) override { return Put(value, port); }
  bool SetDelay(int value) override { return Put(delay, value); }
  bool GetDelay(int& value) override { return Put(value, delay); }
  bool SetDelimiter(int value) override { return Put(delimiter, value); }
  bool GetDelimiter(int& value) override { return Put(value, delimiter); }
  int Attach() override {
    journal_.push_back(L"Attach");
    return attachResult;
  }
  bool Detach() override {
    journal_.push_back(L"Detach");
    return true;
  }
  int SendFile(const std::wstring& path, int baseNumber) override {
    sentPaths.push_back(path);
    journal_.push_back(L"SendFile(" + path + L"," + std::to_wstring(baseNumber) + L")");
    if (duringSend) duringSend();
    return sendResult;
  }
  int GetFile(const std::wstring& path, int kind, int baseNumber, int mode) override {
    journal_.push_back(L"GetFile(" + path + L"," + std::to_wstring(kind) + L"," +
                       std::to_wstring(baseNumber) + L"," + std::to_wstring(mode) + L")");
    return getResult;
  }
  bool SetDeleteUploadedData(int flag) override {
    journal_.push_back(L"SetDeleteUploadedData(" + std::to_wstring(flag) + L")");
    return true;
  }
  bool GetErrorCode(int& code) override {
    journal_.push_back(L"GetErrorCode");
    if (errorCodeReadable) code = errorCode;
    return errorCodeReadable;
  }
  bool GetErrorDescription(std::wstring& text) override {
    journal_.push_back(L"GetErrorDescription");
    text = description;
    return true;
  }

 private:
  static bool Put(int& to, int from) {
    to = from;
    return true;
  }
  Journal& journal_;
};

class FakeLauncher : public IProgramLauncher {
 public:
  explicit FakeLauncher(Journal& journal) : journal_(journal) {}
  // Programs that "exist"; anything else fails to start, as an empty path does.
  std::vector<std::wstring> startable;
  bool RunExternalApp(const std::wstring& commandLine) override {
    journal_.push_back(L"run: " + commandLine);
    return std::find(startable.begin(), startable.end(), commandLine) != startable.end();
  }

 private:
  Journal& journal_;
};

class FakeClock : public IClock {
 public:
  UtcTime now{2026, 12, 7, 9, 5, 3, 45};
  UtcTime NowUtc() const override { return now; }
};

// Folders and files by full path; a search returns names in the order the files were added, and
// matches wildcards case-insensitively as the Windows search does ("*.*" matches any name).
class FakeFileSystem : public IFileSystem {
 public:
  explicit FakeFileSystem(Journal& journal) : journal_(journal) {}

  std::vector<std::wstring> folders;
  std::vector<std::wstring> files;
  std::wstring programPath = L"C:\\Program\\Morvane.exe";
  bool programPathOk = true;
  bool makeFolderWorks = true;
  std::vector<std::wstring> undeletable;  // files that RemoveFile leaves in place
  std::vector<std::wstring> patterns;     // every search, in order

  void AddFile(const std::wstring& path) { files.push_back(path); }

  void FindFiles(const std::wstring& pattern,
                 const std::function<bool(const std::wstring&)>& visit) override {
    patterns.push_back(pattern);
    const size_t cut = pattern.rfind(L'\\');
    const std::wstring folder = pattern.substr(0, cut);
    std::wstring namePattern = pattern.substr(cut + 1);
    if (namePattern.size() >= 3 && namePattern.compare(namePattern.size() - 3, 3, L"*.*") == 0)
      namePattern.resize(namePattern.size() - 2);  // "*.*" is "*" to the Windows search
    const std::vector<std::wstring> snapshot = files;
    for (const std::wstring& file : snapshot) {
      const size_t slash = file.rfind(L'\\');
      if (!SameText(file.substr(0, slash), folder)) continue;
      const std::wstring name = file.substr(slash + 1);
      if (Matches(namePattern, name) && !visit(name)) return;
    }
  }
  bool FileExists(const std::wstring& path) override { return Contains(files, path); }
  bool PathExists(const std::wstring& path) override {
    std::wstring trimmed = path;
    if (trimmed.size() > 1 && trimmed.back() == L'\\') trimmed.pop_back();
    return Contains(folders, trimmed) || Contains(files, trimmed);
  }
  bool RemoveFile(const std::wstring& path) override {
    journal_.push_back(L"delete: " + path);
    if (Contains(undeletable, path)) return false;
    const auto it = std::find_if(files.begin(), files.end(),
                                 [&](const std::wstring& f) { return SameText(f, path); });
    if (it == files.end()) return false;
    files.erase(it);
    return true;
  }
  bool MakeFolder(const std::wstring& path) override {
    journal_.push_back(L"mkdir: " + path);
    if (makeFolderWorks) folders.push_back(path);
    return makeFolderWorks;
  }
  bool GetProgramPath(std::wstring& path) override {
    path = programPath;
    return programPathOk;
  }

 private:
  static bool SameText(const std::wstring& a, const std::wstring& b) {
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(),
                      [](wchar_t x, wchar_t y) { return std::towlower(x) == std::towlower(y); });
  }
  static bool Contains(const std::vector<std::wstring>& list, const std::wstring& path) {
    return std::any_of(list.begin(), list.end(),
                       [&](const std::wstring& item) { return SameText(item, path); });
  }
  static bool Matches(const std::wstring& pattern, const std::wstring& name, size_t p = 0,
                      size_t n = 0) {
    if (p == pattern.size()) return n == name.size();
    if (pattern[p] == L'*')
      return Matches(pattern, name, p + 1, n) ||
             (n < name.size() && Matches(pattern, name, p, n + 1));
    if (n == name.size()) return false;
    if (pattern[p] != L'?' && std::towlower(pattern[p]) != std::towlower(name[n])) return false;
    return Matches(pattern, name, p + 1, n + 1);
  }

  Journal& journal_;
};

// The settings key as the exchange reaches it: every write lands in the journal ("store:
// name=value") and in the map; refuseWrites stands for a registry that will not take them.
class FakeSettingsStore : public ISettingsStore {
 public:
  explicit FakeSettingsStore(Journal& journal) : journal_(journal) {}
  bool refuseWrites = false;
  bool keyOpen = false;
  std::map<std::wstring, int> numbers;

  bool OpenSettingsKey(bool create) override {
    keyOpen = create;  // a write needs the key created when missing
    return keyOpen;
  }
  void CloseSettingsKey() override { keyOpen = false; }
  bool ReadNumber(const wchar_t*, int&) override { return false; }
  bool ReadText(const wchar_t*, std::wstring&) override { return false; }
  bool WriteNumber(const wchar_t* name, int value) override {
    journal_.push_back(L"store: " + std::wstring(name) + L"=" + std::to_wstring(value));
    if (!keyOpen || refuseWrites) return false;
    numbers[name] = value;
    return true;
  }
  bool WriteText(const wchar_t* name, const std::wstring& text) override {
    journal_.push_back(L"store: " + std::wstring(name) + L"=" + text);
    return false;  // the exchange keeps no text in the store
  }

 private:
  Journal& journal_;
};

// One exchange's world: settings, fakes and the context that joins them.
struct ExchangeWorld {
  Journal journal;
  ServerSettings settings;
  FakeComponent component{journal};
  FakeLog log{journal};
  FakeFileSystem fs{journal};
  FakeLauncher launcher{journal};
  FakeClock clock;
  FakeSettingsStore store{journal};
  bool withComponent = true;
  bool withStore = false;

  ExchangeContext Context() {
    return ExchangeContext{settings, withComponent ? &component : nullptr, log, fs, launcher,
                           clock,    withStore ? &store : nullptr};
  }
};

}  // namespace morvane::testing
