#include "standin/com/DispatchTable.h"

#include <oleauto.h>

#include <cwctype>

namespace morvane::standin {

namespace {

constexpr Member kMembers[] = {
    {L"Initial", DispId::kInitial, kMethod, 0, {}},
    {L"Realize", DispId::kRealize, kMethod, 0, {}},
    {L"WiFi", DispId::kWiFi, kGet | kPut, 1, {VT_I4}},
    {L"RegisterHWNDWindow", DispId::kRegisterHWNDWindow, kMethod, 1, {VT_I4}},
    {L"Port", DispId::kPort, kGet | kPut, 1, {VT_I4}},
    {L"Delay", DispId::kDelay, kGet | kPut, 1, {VT_I4}},
    {L"Delimiter", DispId::kDelimiter, kGet | kPut, 1, {VT_I4}},
    {L"Attach", DispId::kAttach, kMethod, 0, {}},
    {L"Detach", DispId::kDetach, kMethod, 0, {}},
    {L"SendFile", DispId::kSendFile, kMethod, 2, {VT_BSTR, VT_I4}},
    {L"GetFile", DispId::kGetFile, kMethod, 4, {VT_BSTR, VT_I4, VT_I4, VT_I4}},
    {L"ErrorCode", DispId::kErrorCode, kGet, 0, {}},
    {L"ErrorDescription", DispId::kErrorDescription, kGet, 0, {}},
    {L"DeleteUploadedData", DispId::kDeleteUploadedData, kGet | kPut, 1, {VT_I4}},
};

bool SameName(const wchar_t* a, const wchar_t* b) {
  for (; *a && *b; ++a, ++b) {
    if (std::towlower(*a) != std::towlower(*b)) return false;
  }
  return *a == *b;
}

}  // namespace

const Member* FindMember(const wchar_t* name) {
  if (!name) return nullptr;
  for (const Member& m : kMembers) {
    if (SameName(m.name, name)) return &m;
  }
  return nullptr;
}

const Member* FindMember(DISPID id) {
  for (const Member& m : kMembers) {
    if (static_cast<DISPID>(m.id) == id) return &m;
  }
  return nullptr;
}

unsigned SelectKind(const Member& member, WORD flags) {
  if (flags & DISPATCH_PROPERTYPUT) return (member.kinds & kPut) ? kPut : 0u;
  if (flags & DISPATCH_PROPERTYPUTREF) return 0;  // no member holds an object
  if ((flags & DISPATCH_METHOD) && (member.kinds & kMethod)) return kMethod;
  if ((flags & (DISPATCH_PROPERTYGET | DISPATCH_METHOD)) && (member.kinds & kGet)) return kGet;
  return 0;
}

HRESULT CheckParams(const Member& member, unsigned kind, const DISPPARAMS& params) {
  if (kind == kPut) {
    if (params.cArgs != 1) return DISP_E_BADPARAMCOUNT;
    if (params.cNamedArgs != 1 || !params.rgdispidNamedArgs ||
        params.rgdispidNamedArgs[0] != DISPID_PROPERTYPUT) {
      return DISP_E_PARAMNOTOPTIONAL;
    }
    return S_OK;
  }
  if (params.cNamedArgs != 0) return DISP_E_NONAMEDARGS;
  const UINT expected = kind == kMethod ? member.paramCount : 0;
  return params.cArgs == expected ? S_OK : DISP_E_BADPARAMCOUNT;
}

HRESULT ArgumentAs(const DISPPARAMS& params, UINT index, VARTYPE type, VARIANT& out,
                   UINT* argError) {
  // Automation passes the arguments last-first.
  const UINT slot = params.cArgs - 1 - index;
  VARIANT source;
  ::VariantInit(&source);
  HRESULT hr = ::VariantCopyInd(&source, &params.rgvarg[slot]);
  if (SUCCEEDED(hr)) {
    if (source.vt == VT_ERROR && source.scode == DISP_E_PARAMNOTFOUND) {
      hr = DISP_E_PARAMNOTOPTIONAL;
    } else if (source.vt == VT_BSTR && type == VT_BSTR) {
      hr = ::VariantCopy(&out, &source);  // a null BSTR stays an (empty) string
    } else {
      // VT_INT is a 32-bit integer here; not every VariantChangeType knows it.
      if (source.vt == VT_INT) source.vt = VT_I4;
      if (source.vt == VT_UINT) source.vt = VT_UI4;
      hr = ::VariantChangeType(&out, &source, 0, type);
    }
  }
  ::VariantClear(&source);
  if (FAILED(hr)) {
    if (argError) *argError = slot;
    if (hr != DISP_E_OVERFLOW && hr != DISP_E_PARAMNOTOPTIONAL && hr != E_OUTOFMEMORY) {
      hr = DISP_E_TYPEMISMATCH;
    }
  }
  return hr;
}

}  // namespace morvane::standin
