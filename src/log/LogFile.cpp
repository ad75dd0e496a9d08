#include "log/LogFile.h"

#include <commdlg.h>

#include <climits>

#include "framework/ScopedResource.h"

namespace morvane {

std::string WideToCodePage(const std::wstring& text, UINT codePage) {
  if (text.empty() || text.size() > INT_MAX) return {};
  const int length = static_cast<int>(text.size());
  const int bytes =
      ::WideCharToMultiByte(codePage, 0, text.data(), length, nullptr, 0, nullptr, nullptr);
  if (bytes <= 0) return {};
  std::string converted(static_cast<size_t>(bytes), '\0');
  ::WideCharToMultiByte(codePage, 0, text.data(), length, converted.data(), bytes, nullptr,
                        nullptr);
  return converted;
}

bool WriteLogFile(const std::wstring& path, const std::wstring& text, LogFileMode mode,
                  UINT codePage) {
  const bool append = mode == LogFileMode::Append;
  const ScopedFileHandle file(::CreateFileW(
      path.c_str(), append ? GENERIC_READ | GENERIC_WRITE : GENERIC_WRITE, FILE_SHARE_READ, nullptr,
      append ? OPEN_ALWAYS : CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return false;
  if (!::SetFilePointerEx(file.Get(), LARGE_INTEGER{}, nullptr, FILE_END)) return false;
  const std::string bytes = WideToCodePage(text, codePage);
  if (bytes.size() > MAXDWORD) return false;
  DWORD written = 0;
  return ::WriteFile(file.Get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written,
                     nullptr) &&
         written == bytes.size();
}

bool CLogFiles::PromptSaveAsPath(std::wstring& path) {
  // " Log (*.log) |*.log||" with its bars turned into the dialog's separators.
  static const wchar_t kFilter[] = L" Log (*.log) \0*.log\0";
  wchar_t file[MAX_PATH] = {};
  OPENFILENAMEW dialog{};
  dialog.lStructSize = sizeof(dialog);
  dialog.hwndOwner = m_owner;
  dialog.lpstrFilter = kFilter;
  dialog.lpstrFile = file;
  dialog.nMaxFile = MAX_PATH;
  dialog.lpstrDefExt = L"log";
  dialog.Flags = 0;  // no overwrite prompt: Save as replaces an existing file without asking
  if (!::GetSaveFileNameW(&dialog)) return false;
  path = file;
  return true;
}

bool CLogFiles::WriteLogFile(const std::wstring& path, const std::wstring& text, LogFileMode mode) {
  return morvane::WriteLogFile(path, text, mode);
}

}  // namespace morvane
