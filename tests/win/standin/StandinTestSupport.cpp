#include "StandinTestSupport.h"

#include <objbase.h>

#include <random>

#include "framework/ScopedResource.h"
#include "standin/net/Socket.h"

namespace morvane::standin::testing {

ComPtr<IDispatch> CreateComponent() {
  CLSID clsid{};
  ComPtr<IDispatch> d;
  if (FAILED(::CLSIDFromProgID(L"AddIn.CipherLab9x00", &clsid))) return d;
  ::CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, IID_IDispatch, d.ReceiveVoid());
  return d;
}

HRESULT InvokeByName(IDispatch* d, const wchar_t* name, WORD flags, std::vector<ScopedVariant> args,
                     VARIANT* result, UINT* argError, bool putNamedArg) {
  DISPID id = DISPID_UNKNOWN;
  LPOLESTR names[] = {const_cast<LPOLESTR>(name)};
  HRESULT hr = d->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id);
  if (FAILED(hr)) return hr;
  std::vector<ScopedVariant> slots;
  for (auto it = args.rbegin(); it != args.rend(); ++it)
    slots.push_back(std::move(*it));
  DISPID put = DISPID_PROPERTYPUT;
  DISPPARAMS params{};
  params.cArgs = static_cast<UINT>(slots.size());
  params.rgvarg = slots.empty() ? nullptr : const_cast<VARIANT*>(&slots.front().Get());
  if ((flags & DISPATCH_PROPERTYPUT) && putNamedArg) {
    params.cNamedArgs = 1;
    params.rgdispidNamedArgs = &put;
  }
  if (result) ::VariantInit(result);
  EXCEPINFO exception{};
  return d->Invoke(id, IID_NULL, LOCALE_SYSTEM_DEFAULT, flags, &params, result, &exception,
                   argError);
}

bool PumpUntil(const std::function<bool()>& done, int timeoutMs) {
  const ULONGLONG until = ::GetTickCount64() + static_cast<ULONGLONG>(timeoutMs);
  for (;;) {
    MSG msg;
    while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      ::TranslateMessage(&msg);
      ::DispatchMessageW(&msg);
    }
    if (done()) return true;
    if (::GetTickCount64() >= until) return false;
    ::MsgWaitForMultipleObjectsEx(0, nullptr, 10, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
  }
}

int FreePort() {
  std::string error;
  net::Socket probe = net::ListenTcp(0, 1, error);
  return probe.Valid() ? probe.LocalPort() : 0;
}

ScratchFolder::ScratchFolder() {
  wchar_t temp[MAX_PATH];
  ::GetTempPathW(MAX_PATH, temp);
  static int counter = 0;
  // Process ids come round again; the tick count keeps a folder from an earlier run apart.
  path_ = std::wstring(temp) + L"standin-" + std::to_wstring(::GetCurrentProcessId()) + L"-" +
          std::to_wstring(::GetTickCount64()) + L"-" + std::to_wstring(++counter);
  ::CreateDirectoryW(path_.c_str(), nullptr);
}

ScratchFolder::~ScratchFolder() {
  for (const std::wstring& name : Names())
    ::DeleteFileW(File(name).c_str());
  ::RemoveDirectoryW(path_.c_str());
}

std::vector<std::wstring> ScratchFolder::Names() const {
  std::vector<std::wstring> names;
  WIN32_FIND_DATAW found;
  ScopedFindHandle search(::FindFirstFileW(File(L"*").c_str(), &found));
  if (!search) return names;
  do {
    const std::wstring name = found.cFileName;
    if (name != L"." && name != L"..") names.push_back(name);
  } while (::FindNextFileW(search.Get(), &found));
  return names;
}

bool WriteBytes(const std::wstring& path, const std::string& bytes) {
  ScopedFileHandle file(::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                      FILE_ATTRIBUTE_NORMAL, nullptr));
  DWORD written = 0;
  return file &&
         ::WriteFile(file.Get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written,
                     nullptr) &&
         written == bytes.size();
}

bool ReadBytes(const std::wstring& path, std::string& bytes) {
  ScopedFileHandle file(::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                      OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return false;
  LARGE_INTEGER size{};
  ::GetFileSizeEx(file.Get(), &size);
  bytes.assign(static_cast<size_t>(size.QuadPart), '\0');
  DWORD got = 0;
  return bytes.empty() ||
         (::ReadFile(file.Get(), &bytes[0], static_cast<DWORD>(bytes.size()), &got, nullptr) &&
          got == bytes.size());
}

bool Exists(const std::wstring& path) {
  return ::GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::string RandomBytes(size_t size, unsigned seed) {
  std::mt19937 random(seed);
  std::string bytes(size, '\0');
  for (char& c : bytes)
    c = static_cast<char>(random() & 0xff);
  return bytes;
}

std::wstring WindowsPath(const char* unixPath) {
  std::wstring path = L"Z:";
  for (const char* p = unixPath; *p; ++p)
    path += *p == '/' ? L'\\' : static_cast<wchar_t>(*p);
  return path;
}

std::string Narrow(const std::wstring& text) {
  std::string out;
  for (wchar_t c : text)
    out += c < 0x80 ? static_cast<char>(c) : '?';
  return out;
}

ProcessResult RunSimulator(const std::wstring& arguments, int timeoutMs) {
  ProcessResult result;
  ScratchFolder folder;
  const std::wstring outputPath = folder.File(L"output.txt");
  SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
  ScopedFileHandle output(::CreateFileW(outputPath.c_str(), GENERIC_WRITE, FILE_SHARE_READ,
                                        &inherit, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!output) return result;
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdOutput = output.Get();
  startup.hStdError = output.Get();
  std::wstring commandLine = L"\"" + WindowsPath(TERMINAL_SIM_EXE) + L"\" " + arguments;
  PROCESS_INFORMATION process{};
  if (!::CreateProcessW(nullptr, &commandLine[0], nullptr, nullptr, TRUE, 0, nullptr, nullptr,
                        &startup, &process)) {
    return result;
  }
  result.processId = process.dwProcessId;
  ScopedHandle processHandle(process.hProcess);
  ScopedHandle threadHandle(process.hThread);
  const bool ended = PumpUntil(
      [&] { return ::WaitForSingleObject(processHandle.Get(), 0) == WAIT_OBJECT_0; }, timeoutMs);
  if (!ended) ::TerminateProcess(processHandle.Get(), 99);
  ::GetExitCodeProcess(processHandle.Get(), &result.exitCode);
  output.Reset();
  ReadBytes(outputPath, result.output);
  return result;
}

}  // namespace morvane::standin::testing
