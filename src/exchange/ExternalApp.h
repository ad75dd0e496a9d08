#pragma once
// Outside programs before and after an exchange: started with the path setting as the whole
// command line (so it may carry arguments), then awaited without limit.
#include <string>

#include "exchange/ProgramLauncher.h"

namespace morvane {

// True when the program started; it has ended by the time this returns. The user-interface
// thread is blocked meanwhile: the exchange waits for its program by design.
bool RunExternalApp(const std::wstring& path);

class CProgramLauncher : public IProgramLauncher {
 public:
  bool RunExternalApp(const std::wstring& commandLine) override;
};

}  // namespace morvane
