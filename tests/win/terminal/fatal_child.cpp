// Runs one fatal path of the component wrapper in a process of its own, so that the parent test
// can watch the process end. The message box is replaced by a sink that writes what it was given
// to a file:  wrapper_fatal_child <lookup|invoke:<status in hex>|progid:<ProgID>> <output file>
// File contents (UTF-16): owner handle in hex, U+001F, caption, U+001F, text.
#include <windows.h>

#include <objbase.h>

#include <cstdio>
#include <cwchar>
#include <string>

#include "RecordingDispatch.h"
#include "terminal/FatalError.h"
#include "terminal/InterfaceCipherLab.h"

namespace {

std::wstring g_outputPath;

// The value the owner window travels with; any value will do, it is only passed on.
const HWND kOwner = reinterpret_cast<HWND>(static_cast<LONG_PTR>(0x00C0FFEE));

// Exit codes that tell the parent how far the child got when the fatal path did not end it.
constexpr int kBadArguments = 2;
constexpr int kFatalPathReturned = 3;

void WriteToFile(HWND owner, const std::wstring& text, const std::wstring& caption) {
  wchar_t ownerText[32];
  std::swprintf(ownerText, 32, L"%lx",
                static_cast<unsigned long>(reinterpret_cast<ULONG_PTR>(owner)));
  const std::wstring record = std::wstring(ownerText) + L'\x1F' + caption + L'\x1F' + text;
  FILE* file = _wfopen(g_outputPath.c_str(), L"wb");
  if (!file) return;
  std::fwrite(record.data(), sizeof(wchar_t), record.size(), file);
  std::fclose(file);
}

// A component that does not know "RegisterHWNDWindow": the start-up dies at that call.
int LookupFails() {
  std::vector<std::wstring> names = morvane::test::RecordingDispatch::ComponentNames();
  std::erase(names, std::wstring(L"RegisterHWNDWindow"));
  morvane::test::RecordingDispatch component(names);
  morvane::CInterfaceCipherLab wrapper(kOwner, morvane::ComPtr<IDispatch>::CopyFrom(&component));
  wrapper.SetShutdownWait(0);
  wrapper.SetWiFi();
  wrapper.RegisterHWNDWindow(kOwner);
  return kFatalPathReturned;
}

// A component whose "Attach" fails with status (DISP_E_EXCEPTION: an exception inside the call).
int InvokeFails(HRESULT status) {
  morvane::test::RecordingDispatch component;
  component.FailInvoke(L"Attach", status);
  morvane::CInterfaceCipherLab wrapper(kOwner, morvane::ComPtr<IDispatch>::CopyFrom(&component));
  wrapper.SetShutdownWait(0);
  wrapper.Attach();
  return kFatalPathReturned;
}

int CreationFails(const std::wstring& progId) {
  morvane::CInterfaceCipherLab wrapper(kOwner, progId.c_str());
  wrapper.SetShutdownWait(0);
  return kFatalPathReturned;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc != 3) return kBadArguments;
  g_outputPath = argv[2];
  morvane::SetFatalMessageSink(&WriteToFile);
  ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);

  const std::wstring scenario = argv[1];
  if (scenario == L"lookup") return LookupFails();
  if (scenario.rfind(L"invoke:", 0) == 0)
    return InvokeFails(static_cast<HRESULT>(std::wcstoul(scenario.c_str() + 7, nullptr, 16)));
  if (scenario.rfind(L"progid:", 0) == 0) return CreationFails(scenario.substr(7));
  return kBadArguments;
}
