// A small outside program for the launcher tests: after a pause (so that a launcher that does not
// wait would be caught), writes its arguments after the first, joined by '|', as UTF-16 into the
// file named by the first argument.
#include <windows.h>

#include <string>

#include "framework/ScopedResource.h"

int wmain(int argc, wchar_t** argv) {
  if (argc < 2) return 2;
  ::Sleep(300);
  std::wstring text;
  for (int i = 2; i < argc; ++i) {
    if (i > 2) text += L'|';
    text += argv[i];
  }
  const morvane::ScopedFileHandle file(
      ::CreateFileW(argv[1], GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
  if (!file) return 3;
  DWORD written = 0;
  ::WriteFile(file.Get(), text.data(), static_cast<DWORD>(text.size() * sizeof(wchar_t)), &written,
              nullptr);
  return 0;
}
