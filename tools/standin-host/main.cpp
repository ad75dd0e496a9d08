// standin-host: serves terminals through the stand-in component until a stop file appears or a
// time runs out, then prints what it did.
//
//   standin-host --port P [--delay MS] [--delimiter CODE] [--base FILE]
//                [--upload-file FILE | --upload-dir DIR] [--clear 0|1]
//                [--seconds N] [--stop-file PATH] [--quiet]
#include <objbase.h>
#include <windows.h>

#include <cstdio>
#include <string>

#include "HostServer.h"
#include "base/NumberText.h"
#include "terminal/FatalError.h"

namespace {

void PrintFatal(HWND, const std::wstring& text, const std::wstring&) {
  std::fwprintf(stderr, L"standin-host: %ls\n", text.c_str());
}

bool ParseArguments(int argc, wchar_t** argv, morvane::host::HostSettings& s, int& seconds,
                    std::wstring& stopFile) {
  for (int i = 1; i < argc; ++i) {
    const std::wstring name = argv[i];
    if (name == L"--quiet") {
      s.quiet = true;
      continue;
    }
    if (i + 1 >= argc) return false;
    const std::wstring value = argv[++i];
    const int number = morvane::StrToIntRule(value);
    if (name == L"--port") {
      s.port = number;
    } else if (name == L"--delay") {
      s.delayMs = number;
    } else if (name == L"--delimiter") {
      s.delimiter = number;
    } else if (name == L"--base") {
      s.baseFile = value;
    } else if (name == L"--upload-file") {
      s.uploadFile = value;
    } else if (name == L"--upload-dir") {
      s.uploadDir = value;
    } else if (name == L"--clear") {
      s.clearAfterUpload = number;
    } else if (name == L"--seconds") {
      seconds = number;
    } else if (name == L"--stop-file") {
      stopFile = value;
    } else {
      return false;
    }
  }
  return true;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  std::setvbuf(stdout, nullptr, _IONBF, 0);
  morvane::host::HostSettings settings;
  int seconds = 0;
  std::wstring stopFile;
  if (!ParseArguments(argc, argv, settings, seconds, stopFile)) {
    std::fputs(
        "usage: standin-host --port P [--delay MS] [--delimiter CODE] [--base FILE]\n"
        "         [--upload-file FILE | --upload-dir DIR] [--clear 0|1]\n"
        "         [--seconds N] [--stop-file PATH] [--quiet]\n",
        stderr);
    return 3;
  }
  morvane::SetFatalMessageSink(&PrintFatal);
  ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  int exitCode = 0;
  {
    morvane::host::HostServer host(settings);
    if (!host.Start()) {
      std::printf("standin-host: cannot listen on port %d\n", settings.port);
      return 1;
    }
    std::printf("standin-host: listening on port %d\n", settings.port);
    const ULONGLONG until = seconds > 0 ? ::GetTickCount64() + seconds * 1000ULL : 0;
    ::SetTimer(host.Window(), 1, 100, nullptr);
    MSG msg;
    while (::GetMessageW(&msg, nullptr, 0, 0) > 0) {
      if (msg.message == WM_TIMER) {
        const bool stop = (!stopFile.empty() &&
                           ::GetFileAttributesW(stopFile.c_str()) != INVALID_FILE_ATTRIBUTES) ||
                          (until && ::GetTickCount64() >= until);
        if (stop) break;
        continue;
      }
      ::DispatchMessageW(&msg);
    }
    std::printf("standin-host: %d downloads, %d uploads, %d failed\n", host.Downloads(),
                host.Uploads(), host.Failures());
    exitCode = host.Failures() == 0 ? 0 : 1;
  }
  ::CoUninitialize();
  return exitCode;
}
