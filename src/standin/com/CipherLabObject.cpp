#include "standin/com/CipherLabObject.h"

#include <new>
#include <string>

#include "framework/ScopedBstr.h"
#include "standin/com/ModuleState.h"
#include "standin/com/WinFileStore.h"
#include "standin/com/WindowDelivery.h"
#include "standin/net/Socket.h"
#include "standin/protocol/ProtocolLimits.h"
#include "standin/server/TerminalServer.h"

namespace morvane::standin {

namespace {

void SetI4(VARIANT* result, LONG value) {
  if (!result) return;
  ::VariantInit(result);
  result->vt = VT_I4;
  result->lVal = value;
}

// Every text of the protocol, and the system's error texts we take, are in the ANSI code page.
std::wstring FromAnsi(const std::string& text) {
  if (text.empty()) return std::wstring();
  const int size = static_cast<int>(text.size());
  const int chars = ::MultiByteToWideChar(CP_ACP, 0, text.data(), size, nullptr, 0);
  if (chars <= 0) return std::wstring();
  std::wstring wide(static_cast<size_t>(chars), L'\0');
  ::MultiByteToWideChar(CP_ACP, 0, text.data(), size, wide.data(), chars);
  return wide;
}

}  // namespace

CipherLabObject::CipherLabObject()
    : port_(kDefaultPort),
      delay_(kDefaultDelayMs),
      delimiter_(kDefaultDelimiter),
      delivery_(std::make_shared<WindowDelivery>()),
      server_(std::make_unique<TerminalServer>(delivery_, std::make_shared<WinFileStore>())) {
  ObjectCreated();
}

CipherLabObject::~CipherLabObject() {
  server_.reset();  // stops listening and ends the connections
  ObjectDestroyed();
}

HRESULT CipherLabObject::QueryInterface(REFIID iid, void** out) {
  if (!out) return E_POINTER;
  if (::IsEqualIID(iid, IID_IUnknown) || ::IsEqualIID(iid, IID_IDispatch)) {
    *out = static_cast<IDispatch*>(this);
    AddRef();
    return S_OK;
  }
  *out = nullptr;
  return E_NOINTERFACE;
}

ULONG CipherLabObject::AddRef() {
  return ++refs_;
}

ULONG CipherLabObject::Release() {
  const ULONG left = --refs_;
  if (left == 0) delete this;
  return left;
}

HRESULT CipherLabObject::GetTypeInfoCount(UINT* count) {
  if (!count) return E_INVALIDARG;
  *count = 0;  // no type library: late binding by name only
  return S_OK;
}

HRESULT CipherLabObject::GetTypeInfo(UINT, LCID, ITypeInfo** info) {
  if (info) *info = nullptr;
  return DISP_E_BADINDEX;
}

HRESULT CipherLabObject::GetIDsOfNames(REFIID iid, LPOLESTR* names, UINT count, LCID, DISPID* ids) {
  if (!::IsEqualIID(iid, IID_NULL)) return DISP_E_UNKNOWNINTERFACE;
  if (count == 0) return S_OK;
  if (!names || !ids) return E_POINTER;
  const Member* member = FindMember(names[0]);
  ids[0] = member ? static_cast<DISPID>(member->id) : DISPID_UNKNOWN;
  // No member has named parameters.
  for (UINT i = 1; i < count; ++i)
    ids[i] = DISPID_UNKNOWN;
  return member && count == 1 ? S_OK : DISP_E_UNKNOWNNAME;
}

HRESULT CipherLabObject::Invoke(DISPID id, REFIID iid, LCID, WORD flags, DISPPARAMS* params,
                                VARIANT* result, EXCEPINFO*, UINT* argError) {
  if (!::IsEqualIID(iid, IID_NULL)) return DISP_E_UNKNOWNINTERFACE;
  const Member* member = FindMember(id);
  if (!member) return DISP_E_MEMBERNOTFOUND;
  const unsigned kind = SelectKind(*member, flags);
  if (kind == 0) return DISP_E_MEMBERNOTFOUND;
  DISPPARAMS none{};
  const DISPPARAMS& p = params ? *params : none;
  if (p.cArgs > 0 && !p.rgvarg) return E_INVALIDARG;
  const HRESULT checked = CheckParams(*member, kind, p);
  if (FAILED(checked)) return checked;
  try {
    return Call(*member, kind, p, result, argError);
  } catch (const std::bad_alloc&) {
    return E_OUTOFMEMORY;
  }
}

HRESULT CipherLabObject::Call(const Member& member, unsigned kind, const DISPPARAMS& params,
                              VARIANT* result, UINT* argError) {
  ScopedVariant args[4];
  const UINT count = kind == kGet ? 0 : (kind == kPut ? 1 : member.paramCount);
  for (UINT i = 0; i < count; ++i) {
    const HRESULT hr = ArgumentAs(params, i, member.params[i], *args[i].Receive(), argError);
    if (FAILED(hr)) return hr;
  }
  auto intArg = [&](UINT i) { return args[i].Get().lVal; };

  if (kind == kPut) return PutProperty(member.id, intArg(0));
  if (kind == kGet) {
    if (member.id == DispId::kErrorDescription) {
      if (result) {
        ScopedBstr text(errorDescription_);
        ::VariantInit(result);
        result->vt = VT_BSTR;
        result->bstrVal = text.Release();
      }
      return S_OK;
    }
    SetI4(result, GetProperty(member.id));
    return S_OK;
  }

  switch (member.id) {
    case DispId::kInitial:
      SetError(ComponentError::kNone, {});
      SetI4(result, net::StartNetworking() ? 1 : 0);
      return S_OK;
    case DispId::kRealize:
      server_->Detach();
      delivery_->SetWindow(nullptr);
      SetI4(result, 1);
      return S_OK;
    case DispId::kRegisterHWNDWindow: {
      // Window handles travel as 32-bit integers and are sign-extended back, as Windows does.
      const HWND window = reinterpret_cast<HWND>(static_cast<LONG_PTR>(intArg(0)));
      delivery_->SetWindow(window);
      SetI4(result, window && ::IsWindow(window) ? 1 : 0);
      return S_OK;
    }
    case DispId::kAttach:
      SetI4(result, Attach());
      return S_OK;
    case DispId::kDetach:
      server_->Detach();
      SetI4(result, 1);
      return S_OK;
    case DispId::kSendFile: {
      const BSTR path = args[0].Get().bstrVal;
      SetI4(result, Finish(server_->SendFile(std::wstring(path, ::SysStringLen(path)), intArg(1))));
      return S_OK;
    }
    case DispId::kGetFile: {
      const BSTR path = args[0].Get().bstrVal;
      SetI4(result, Finish(server_->GetFile(std::wstring(path, ::SysStringLen(path)), intArg(1),
                                            intArg(2), intArg(3), deleteUploadedData_ == 1)));
      return S_OK;
    }
    default:
      return DISP_E_MEMBERNOTFOUND;
  }
}

HRESULT CipherLabObject::PutProperty(DispId id, LONG value) {
  switch (id) {
    case DispId::kWiFi:
      wifi_ = value;
      return S_OK;
    case DispId::kPort:
      port_ = value;  // used by the next Attach
      return S_OK;
    case DispId::kDelay:
      delay_ = value;
      server_->SetDelay(value);
      return S_OK;
    case DispId::kDelimiter:
      delimiter_ = value;
      server_->SetDelimiter(value);
      return S_OK;
    case DispId::kDeleteUploadedData:
      deleteUploadedData_ = value;
      return S_OK;
    default:
      return DISP_E_MEMBERNOTFOUND;
  }
}

LONG CipherLabObject::GetProperty(DispId id) const {
  switch (id) {
    case DispId::kWiFi:
      return wifi_;
    case DispId::kPort:
      return port_;
    case DispId::kDelay:
      return delay_;
    case DispId::kDelimiter:
      return delimiter_;
    case DispId::kDeleteUploadedData:
      return deleteUploadedData_;
    case DispId::kErrorCode:
      return errorCode_;
    default:
      return 0;
  }
}

LONG CipherLabObject::Attach() {
  if (wifi_ != 1) {
    SetError(ComponentError::kModeNotSupported, {});
    return 0;
  }
  if (port_ <= 0 || port_ > 65535) {
    SetError(ComponentError::kListenFailed, L"порт " + std::to_wstring(port_));
    return 0;
  }
  // From here on threads of ours may outlive this object.
  PinModule();
  std::string reason;
  if (!server_->Attach(port_, reason)) {
    SetError(ComponentError::kListenFailed,
             L"порт " + std::to_wstring(port_) + L" (" + FromAnsi(reason) + L")");
    return 0;
  }
  SetError(ComponentError::kNone, {});
  return 1;
}

LONG CipherLabObject::Finish(const CallOutcome& outcome) {
  SetError(outcome.error,
           outcome.terminalText.empty() ? outcome.detail : FromAnsi(outcome.terminalText));
  return outcome.result;
}

void CipherLabObject::SetError(ComponentError code, const std::wstring& detail) {
  errorCode_ = static_cast<LONG>(code);
  CallOutcome described{0, code, detail, {}};
  errorDescription_ = described.Description();
}

}  // namespace morvane::standin
