#pragma once
// Starts an outside program and waits for it to end (RunExternalApp). The Win32 implementation is
// CProgramLauncher.
#include <string>

namespace morvane {

class IProgramLauncher {
 public:
  virtual ~IProgramLauncher() = default;
  // commandLine is the whole command line, program and arguments. True when the program started
  // (and has ended); its exit code is not read.
  virtual bool RunExternalApp(const std::wstring& commandLine) = 0;
};

}  // namespace morvane
