#pragma once
// Helpers for the stand-in component's Windows tests: the component itself, a pumping wait,
// free ports, scratch folders, and running the simulator.
#include <oaidl.h>
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "framework/ComPtr.h"
#include "framework/ScopedBstr.h"

namespace morvane::standin::testing {

// The component created by its ProgID, as the server creates it.
ComPtr<IDispatch> CreateComponent();

// Looks name up and invokes it; args in the component's order. named: pass DISPID_PROPERTYPUT.
HRESULT InvokeByName(IDispatch* d, const wchar_t* name, WORD flags, std::vector<ScopedVariant> args,
                     VARIANT* result, UINT* argError = nullptr, bool putNamedArg = true);

// Runs the thread's messages (sent ones included) until done() holds or timeoutMs pass.
bool PumpUntil(const std::function<bool()>& done, int timeoutMs = 10000);

// A port nobody listens on right now.
int FreePort();

// A folder of its own under %TEMP%, removed with everything in it.
class ScratchFolder {
 public:
  ScratchFolder();
  ~ScratchFolder();
  ScratchFolder(const ScratchFolder&) = delete;
  ScratchFolder& operator=(const ScratchFolder&) = delete;
  const std::wstring& Path() const { return path_; }
  std::wstring File(const std::wstring& name) const { return path_ + L"\\" + name; }
  std::vector<std::wstring> Names() const;

 private:
  std::wstring path_;
};

bool WriteBytes(const std::wstring& path, const std::string& bytes);
bool ReadBytes(const std::wstring& path, std::string& bytes);
bool Exists(const std::wstring& path);
std::string RandomBytes(size_t size, unsigned seed);

struct ProcessResult {
  DWORD exitCode = 0xFFFFFFFF;
  DWORD processId = 0;
  std::string output;
};
// Runs the Windows build of terminal-sim with the given arguments, pumping this thread's
// messages while it runs (the component delivers to a window of this thread).
ProcessResult RunSimulator(const std::wstring& arguments, int timeoutMs = 60000);

// A build path (Unix) as wine's Windows path.
std::wstring WindowsPath(const char* unixPath);
std::string Narrow(const std::wstring& text);

}  // namespace morvane::standin::testing
