#include "terminal/InterfaceCipherLab.h"

#include <objbase.h>

#include <cstring>

#include "terminal/FatalError.h"

namespace morvane {

CInterfaceCipherLab* g_pCipherLab = nullptr;

namespace {

// The result VARIANT is read through its 32-bit value field without looking at the type tag:
// components answer integers as VT_I4 or VT_INT, which both live there.
int Int32Of(const VARIANT& v) {
  return static_cast<int>(v.lVal);
}

}  // namespace

CInterfaceCipherLab::CInterfaceCipherLab(HWND owner, const wchar_t* progId) : m_owner(owner) {
  ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  CLSID clsid{};
  if (FAILED(::CLSIDFromProgID(progId, &clsid))) ReportFatalAndExit(m_owner, kComponentLoadFailed);
  if (FAILED(::CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER | CLSCTX_LOCAL_SERVER,
                                IID_IDispatch, m_pDispatch.ReceiveVoid()))) {
    ReportFatalAndExit(m_owner, kComponentLoadFailed);
  }
  m_bLoaded = 1;
  Initial();
}

CInterfaceCipherLab::CInterfaceCipherLab(HWND owner, ComPtr<IDispatch> component)
    : m_owner(owner), m_pDispatch(std::move(component)) {
  ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  if (!m_pDispatch) ReportFatalAndExit(m_owner, kComponentLoadFailed);
  m_bLoaded = 1;
  Initial();
}

CInterfaceCipherLab::~CInterfaceCipherLab() {
  if (!m_bLoaded) return;
  CallComponent(L"Realize", DISPATCH_METHOD, {}, nullptr);
  m_bLoaded = 0;
  m_pDispatch.Reset();
  ::Sleep(m_shutdownWait);
  ::CoUninitialize();
}

bool CInterfaceCipherLab::CallComponent(const wchar_t* name, WORD kind,
                                        std::vector<ScopedVariant> args, VARIANT* result) {
  DISPID dispid = DISPID_UNKNOWN;
  LPOLESTR names[] = {const_cast<LPOLESTR>(name)};
  HRESULT hr = m_pDispatch->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &dispid);
  if (FAILED(hr)) ReportFatalAndExit(m_owner, ComponentCallFailureText(hr));

  // Automation takes the arguments last-first.
  std::vector<ScopedVariant> slots;
  slots.reserve(args.size());
  for (auto it = args.rbegin(); it != args.rend(); ++it)
    slots.push_back(std::move(*it));

  DISPID namedPut = DISPID_PROPERTYPUT;
  DISPPARAMS params{};
  params.cArgs = static_cast<UINT>(slots.size());
  params.rgvarg = slots.empty() ? nullptr : const_cast<VARIANT*>(&slots.front().Get());
  if (kind == DISPATCH_PROPERTYPUT) {
    params.cNamedArgs = 1;
    params.rgdispidNamedArgs = &namedPut;
  }
  // Every byte zero, not only the tag (VariantInit clears just the tag before Windows 8.1): a
  // component that answers with a 16-bit value leaves the rest of the 32-bit field as it was.
  if (result) std::memset(result, 0, sizeof(*result));

  EXCEPINFO exception{};
  hr = m_pDispatch->Invoke(dispid, IID_NULL, LOCALE_SYSTEM_DEFAULT, kind, &params, result,
                           &exception, nullptr);
  // The exception record is not examined, but its strings are ours to free.
  ::SysFreeString(exception.bstrSource);
  ::SysFreeString(exception.bstrDescription);
  ::SysFreeString(exception.bstrHelpFile);
  if (FAILED(hr)) ReportFatalAndExit(m_owner, ComponentCallFailureText(hr));
  return true;
}

bool CInterfaceCipherLab::PutInteger(const wchar_t* name, int value) {
  if (!m_bLoaded) return false;
  std::vector<ScopedVariant> args;
  args.push_back(ScopedVariant::I4(value));
  return CallComponent(name, DISPATCH_PROPERTYPUT, std::move(args), nullptr);
}

bool CInterfaceCipherLab::GetInteger(const wchar_t* name, int& value) {
  if (!m_bLoaded) return false;
  ScopedVariant result;
  CallComponent(name, DISPATCH_PROPERTYGET, {}, result.Receive());
  value = Int32Of(result.Get());
  return true;
}

int CInterfaceCipherLab::CallReturningInteger(const wchar_t* name,
                                              std::vector<ScopedVariant> args) {
  if (!m_bLoaded) return 0;
  ScopedVariant result;
  CallComponent(name, DISPATCH_METHOD, std::move(args), result.Receive());
  return Int32Of(result.Get());
}

bool CInterfaceCipherLab::Initial() {
  if (!m_bLoaded) return false;
  return CallComponent(L"Initial", DISPATCH_METHOD, {}, nullptr);
}

bool CInterfaceCipherLab::SetWiFi() {
  return PutInteger(L"WiFi", 1);
}

bool CInterfaceCipherLab::RegisterHWNDWindow(HWND window) {
  if (!m_bLoaded) return false;
  std::vector<ScopedVariant> args;
  // The handle travels as a 32-bit integer; window handles fit in 32 bits on 64-bit Windows too.
  args.push_back(ScopedVariant::I4(static_cast<LONG>(reinterpret_cast<LONG_PTR>(window))));
  return CallComponent(L"RegisterHWNDWindow", DISPATCH_METHOD, std::move(args), nullptr);
}

bool CInterfaceCipherLab::SetPort(int port) {
  return PutInteger(L"Port", port);
}
bool CInterfaceCipherLab::GetPort(int& port) {
  return GetInteger(L"Port", port);
}
bool CInterfaceCipherLab::SetDelay(int milliseconds) {
  return PutInteger(L"Delay", milliseconds);
}
bool CInterfaceCipherLab::GetDelay(int& milliseconds) {
  return GetInteger(L"Delay", milliseconds);
}
bool CInterfaceCipherLab::SetDelimiter(int code) {
  return PutInteger(L"Delimiter", code);
}
bool CInterfaceCipherLab::GetDelimiter(int& code) {
  return GetInteger(L"Delimiter", code);
}

int CInterfaceCipherLab::Attach() {
  return CallReturningInteger(L"Attach", {});
}

bool CInterfaceCipherLab::Detach() {
  if (!m_bLoaded) return false;
  return CallComponent(L"Detach", DISPATCH_METHOD, {}, nullptr);
}

int CInterfaceCipherLab::SendFile(const std::wstring& path, int baseNumber) {
  if (!m_bLoaded) return 0;
  std::vector<ScopedVariant> args;
  args.push_back(ScopedVariant::Bstr(ScopedBstr(path)));
  args.push_back(ScopedVariant::Int(baseNumber));
  return CallReturningInteger(L"SendFile", std::move(args));
}

int CInterfaceCipherLab::GetFile(const std::wstring& path, int dataKind, int baseNumber, int mode) {
  if (!m_bLoaded) return 0;
  std::vector<ScopedVariant> args;
  args.push_back(ScopedVariant::Bstr(ScopedBstr(path)));
  args.push_back(ScopedVariant::Int(dataKind));
  args.push_back(ScopedVariant::Int(baseNumber));
  args.push_back(ScopedVariant::Int(mode));
  return CallReturningInteger(L"GetFile", std::move(args));
}

bool CInterfaceCipherLab::SetDeleteUploadedData(int flag) {
  return PutInteger(L"DeleteUploadedData", flag);
}

bool CInterfaceCipherLab::GetErrorCode(int& code) {
  return GetInteger(L"ErrorCode", code);
}

bool CInterfaceCipherLab::GetErrorDescription(std::wstring& text) {
  if (!m_bLoaded) return false;
  ScopedVariant result;  // cleared (and its BSTR freed) when it goes out of scope
  CallComponent(L"ErrorDescription", DISPATCH_PROPERTYGET, {}, result.Receive());
  // Only a string is read as one: a component that answers with another type must not make us
  // follow an integer as if it were a pointer.
  const VARIANT& v = result.Get();
  text = (v.vt == VT_BSTR && v.bstrVal) ? std::wstring(v.bstrVal, ::SysStringLen(v.bstrVal))
                                        : std::wstring();
  return true;
}

}  // namespace morvane
