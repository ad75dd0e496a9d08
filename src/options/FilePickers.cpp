#include "options/FilePickers.h"

#include <commdlg.h>

#include "options/UploadPageRules.h"

namespace morvane {
namespace {

enum class FileDialogKind { Open, Save };

bool RunFileDialog(FileDialogKind kind, HWND owner, std::wstring_view filterBars,
                   const wchar_t* defaultExtension, std::wstring& path) {
  const std::wstring filter = FileDialogFilter(filterBars);
  wchar_t file[MAX_PATH] = {};
  OPENFILENAMEW dialog{};
  dialog.lStructSize = sizeof(dialog);
  dialog.hwndOwner = owner;
  dialog.lpstrFilter = filter.c_str();
  dialog.lpstrFile = file;
  dialog.nMaxFile = MAX_PATH;
  dialog.lpstrDefExt = defaultExtension;
  dialog.Flags = 0;
  const BOOL chosen =
      kind == FileDialogKind::Open ? ::GetOpenFileNameW(&dialog) : ::GetSaveFileNameW(&dialog);
  if (!chosen) return false;
  path = file;
  return true;
}

}  // namespace

bool PickExecutable(HWND owner, std::wstring& path) {
  return RunFileDialog(FileDialogKind::Open, owner,
                       L" Выполняемые файлы (BAT, COM, EXE) |*.bat;*.com;*.exe||", L"exe", path);
}

bool PickTextFile(HWND owner, std::wstring& path) {
  return RunFileDialog(FileDialogKind::Open, owner, L" Текстовый Файл (TXT) |*.txt||", L"txt",
                       path);
}

bool PickDataFileToSave(HWND owner, std::wstring& path) {
  return RunFileDialog(FileDialogKind::Save, owner,
                       L" Текстовый Файл (TXT) |*.txt| Все файлы (*.*) |*.*||", L"txt", path);
}

}  // namespace morvane
