#include "exchange/Folders.h"

namespace morvane {

namespace {

void StripTrailingBackslashes(std::wstring& text) {
  while (!text.empty() && text.back() == L'\\')
    text.pop_back();
}

}  // namespace

bool GetProgramFolder(IFileSystem& fs, std::wstring& path) {
  if (!fs.GetProgramPath(path)) return false;
  const size_t lastBackslash = path.rfind(L'\\');
  if (lastBackslash != std::wstring::npos) path.resize(lastBackslash + 1);
  return !path.empty() && fs.PathExists(path);
}

bool CheckFolder(IFileSystem& fs, std::wstring& folder) {
  StripTrailingBackslashes(folder);
  return !folder.empty() && fs.PathExists(folder);
}

std::wstring JoinFolder(const std::wstring& folder, const std::wstring& name) {
  std::wstring path = folder;
  StripTrailingBackslashes(path);
  path += L'\\';
  path += name;
  return path;
}

}  // namespace morvane
