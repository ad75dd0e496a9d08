#pragma once
// Log files on disk: the log's wide text in the system's ANSI code page, written whole.
#include <windows.h>

#include <string>

#include "log/LogSave.h"

namespace morvane {

// The text in a code page; characters the code page cannot hold become its default character.
std::string WideToCodePage(const std::wstring& text, UINT codePage);

// Append: the existing file is kept (or a new one made) and the text goes after it. Replace: a
// new file, replacing one of that name. Writes every converted byte, which in a multibyte code
// page may be more than the text has characters. False when nothing or not all could be written.
bool WriteLogFile(const std::wstring& path, const std::wstring& text, LogFileMode mode,
                  UINT codePage = CP_ACP);

// The system's Save dialog for the log and the file writer, owned by the main window.
class CLogFiles : public ILogFiles {
 public:
  explicit CLogFiles(HWND owner) : m_owner(owner) {}
  bool PromptSaveAsPath(std::wstring& path) override;
  bool WriteLogFile(const std::wstring& path, const std::wstring& text, LogFileMode mode) override;

 private:
  HWND m_owner;
};

}  // namespace morvane
