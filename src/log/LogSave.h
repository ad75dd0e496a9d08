#pragma once
// Saving the on-screen log to a file: by hand (Save, Save as) and at program end. Every save
// writes the whole current log; in the one-file mode it is appended to "Log.log", so a second save
// repeats what the first wrote.
#include <string>

#include "base/UtcTime.h"
#include "exchange/FileSystem.h"
#include "settings/ServerSettings.h"

namespace morvane {

enum class LogSaveMode { Exit, Save, SaveAs };
enum class LogFileMode { Append, Replace };

// The log as the save sees it.
class ILogDocument {
 public:
  virtual ~ILogDocument() = default;
  // Lines were added since the log was last cleared.
  virtual bool IsModified() const = 0;
  virtual std::wstring Text() const = 0;
};

// Where the log goes: the Save dialog and the file writer (ANSI code page text).
class ILogFiles {
 public:
  virtual ~ILogFiles() = default;
  // The system's Save dialog; false when cancelled.
  virtual bool PromptSaveAsPath(std::wstring& path) = 0;
  // Append: the existing file is kept and the text goes after it; Replace: a new file. False when
  // the file cannot be opened or written; nothing is reported to the user either way.
  virtual bool WriteLogFile(const std::wstring& path, const std::wstring& text,
                            LogFileMode mode) = 0;
};

// "Log.log" in the one-file mode, else "Log_d.m.yyyy_h-m-s_ms.log" from the UTC time.
std::wstring LogFileName(bool oneFile, const UtcTime& now);

// Sets directoryLog to the program's folder followed by "Log" and creates that folder when it
// does not exist. False when the program's folder is unknown or the folder can be neither found
// nor created.
bool EnsureLogFolder(IFileSystem& fs, std::wstring& directoryLog);

// Exit: only with SaveLogWhenQuite set, then as Save. Save: only when the log was modified, into
// DirectoryLog (or the program's "Log" folder, or the bare name when that fails). SaveAs: wherever
// the dialog says, modified or not. DirectoryLog may be written back.
void SaveLog(LogSaveMode mode, ServerSettings& settings, const ILogDocument& document,
             ILogFiles& files, IFileSystem& fs, const IClock& clock);

}  // namespace morvane
