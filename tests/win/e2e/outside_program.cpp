// The outside program the end-to-end tests let the server run before and after exchanges. A
// windowed program, as the server's users would run, so that no console comes up:
//   outside_program append FILE TEXT   adds TEXT and a line end to FILE (created when missing)
//   outside_program copy FROM TO       copies FROM over TO
#include <windows.h>

#include <shellapi.h>

#include <string>

#include "framework/ScopedResource.h"

namespace {

int Append(const wchar_t* path, const std::wstring& text) {
  const morvane::ScopedFileHandle file(
      ::CreateFileW(path, FILE_APPEND_DATA, FILE_SHARE_READ, nullptr, OPEN_ALWAYS, 0, nullptr));
  if (!file) return 3;
  std::string line(text.begin(), text.end());
  line += '\n';
  DWORD written = 0;
  return ::WriteFile(file.Get(), line.data(), static_cast<DWORD>(line.size()), &written, nullptr) &&
                 written == line.size()
             ? 0
             : 4;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  int argc = 0;
  wchar_t** argv = ::CommandLineToArgvW(::GetCommandLineW(), &argc);
  if (!argv || argc != 4) return 2;
  const std::wstring verb = argv[1];
  int result = 2;
  if (verb == L"append") result = Append(argv[2], argv[3]);
  if (verb == L"copy") result = ::CopyFileW(argv[2], argv[3], FALSE) ? 0 : 5;
  ::LocalFree(argv);
  return result;
}
