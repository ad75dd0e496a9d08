#include "log/LogSave.h"

#include "exchange/Folders.h"

namespace morvane {

std::wstring LogFileName(bool oneFile, const UtcTime& t) {
  if (oneFile) return L"Log.log";
  return L"Log_" + std::to_wstring(t.day) + L'.' + std::to_wstring(t.month) + L'.' +
         std::to_wstring(t.year) + L'_' + std::to_wstring(t.hour) + L'-' +
         std::to_wstring(t.minute) + L'-' + std::to_wstring(t.second) + L'_' +
         std::to_wstring(t.milliseconds) + L".log";
}

bool EnsureLogFolder(IFileSystem& fs, std::wstring& directoryLog) {
  if (!GetProgramFolder(fs, directoryLog)) return false;
  directoryLog += L"Log";
  return fs.PathExists(directoryLog) || fs.MakeFolder(directoryLog);
}

namespace {

std::wstring ChooseLogPath(ServerSettings& settings, IFileSystem& fs, const std::wstring& name) {
  if (!settings.DirectoryLog.empty() && CheckFolder(fs, settings.DirectoryLog))
    return JoinFolder(settings.DirectoryLog, name);
  if (EnsureLogFolder(fs, settings.DirectoryLog)) return JoinFolder(settings.DirectoryLog, name);
  return name;  // relative to the current folder
}

}  // namespace

void SaveLog(LogSaveMode mode, ServerSettings& settings, const ILogDocument& document,
             ILogFiles& files, IFileSystem& fs, const IClock& clock) {
  if (mode == LogSaveMode::Exit && !IsSet(settings.SaveLogWhenQuite)) return;
  std::wstring path;
  LogFileMode fileMode = LogFileMode::Replace;
  if (mode == LogSaveMode::SaveAs) {
    if (!files.PromptSaveAsPath(path)) return;
  } else {
    if (!document.IsModified()) return;
    const bool oneFile = IsSet(settings.SaveLogOneFile);
    path = ChooseLogPath(settings, fs, LogFileName(oneFile, clock.NowUtc()));
    if (oneFile) fileMode = LogFileMode::Append;
  }
  files.WriteLogFile(path, document.Text(), fileMode);
}

}  // namespace morvane
