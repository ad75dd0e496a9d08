#include "RecordingDispatch.h"

#include <algorithm>
#include <utility>

namespace morvane::test {
namespace {

bool AllZero(const VARIANT& v) {
  const BYTE* bytes = reinterpret_cast<const BYTE*>(&v);
  return std::all_of(bytes, bytes + sizeof(v), [](BYTE b) { return b == 0; });
}

RecordedArgument Record(const VARIANT& v) {
  RecordedArgument arg;
  arg.vt = v.vt;
  if (v.vt == VT_I4) arg.number = v.lVal;
  if (v.vt == VT_INT) arg.number = v.intVal;
  if (v.vt == VT_BSTR) {
    arg.nullText = v.bstrVal == nullptr;
    if (v.bstrVal) arg.text.assign(v.bstrVal, ::SysStringLen(v.bstrVal));
  }
  return arg;
}

}  // namespace

std::vector<std::wstring> RecordingDispatch::ComponentNames() {
  return {L"Initial",
          L"Realize",
          L"Port",
          L"Delay",
          L"Delimiter",
          L"WiFi",
          L"RegisterHWNDWindow",
          L"Attach",
          L"Detach",
          L"SendFile",
          L"GetFile",
          L"ErrorCode",
          L"ErrorDescription",
          L"DeleteUploadedData"};
}

RecordingDispatch::RecordingDispatch(std::vector<std::wstring> names) : m_names(std::move(names)) {}

void RecordingDispatch::AnswerNumber(const std::wstring& name, VARTYPE vt, LONG value) {
  m_answers[name] = Answer{vt, value, L""};
}

void RecordingDispatch::AnswerText(const std::wstring& name, const std::wstring& text) {
  m_answers[name] = Answer{VT_BSTR, 0, text};
}

void RecordingDispatch::FailInvoke(const std::wstring& name, HRESULT status) {
  m_failures[name] = status;
}

HRESULT RecordingDispatch::QueryInterface(REFIID iid, void** object) {
  if (!object) return E_POINTER;
  if (iid == IID_IUnknown || iid == IID_IDispatch) {
    *object = static_cast<IDispatch*>(this);
    AddRef();
    return S_OK;
  }
  *object = nullptr;
  return E_NOINTERFACE;
}

ULONG RecordingDispatch::AddRef() {
  m_events.push_back(L"AddRef");
  return ++m_references;
}

ULONG RecordingDispatch::Release() {
  m_events.push_back(L"Release");
  return --m_references;
}

HRESULT RecordingDispatch::GetTypeInfoCount(UINT* count) {
  if (count) *count = 0;
  return S_OK;
}

HRESULT RecordingDispatch::GetTypeInfo(UINT, LCID, ITypeInfo** info) {
  if (info) *info = nullptr;
  return E_NOTIMPL;
}

HRESULT RecordingDispatch::GetIDsOfNames(REFIID iid, LPOLESTR* names, UINT count, LCID lcid,
                                         DISPID* ids) {
  RecordedLookup lookup;
  lookup.name = (names && count > 0 && names[0]) ? names[0] : L"";
  lookup.lcid = lcid;
  lookup.iidNull = iid == IID_NULL;
  lookup.nameCount = count;
  m_lookups.push_back(lookup);
  m_events.push_back(L"lookup " + lookup.name);

  auto it = std::find(m_names.begin(), m_names.end(), lookup.name);
  if (it == m_names.end()) {
    if (ids) ids[0] = DISPID_UNKNOWN;
    return DISP_E_UNKNOWNNAME;
  }
  ids[0] = static_cast<DISPID>(it - m_names.begin() + 1);
  return S_OK;
}

HRESULT RecordingDispatch::Invoke(DISPID id, REFIID iid, LCID lcid, WORD kind, DISPPARAMS* params,
                                  VARIANT* result, EXCEPINFO* exception, UINT* argumentError) {
  if (id < 1 || static_cast<size_t>(id) > m_names.size()) return DISP_E_MEMBERNOTFOUND;
  RecordedInvoke call;
  call.name = m_names[id - 1];
  call.lcid = lcid;
  call.kind = kind;
  call.iidNull = iid == IID_NULL;
  if (params) {
    for (UINT i = 0; i < params->cArgs; ++i)
      call.slots.push_back(Record(params->rgvarg[i]));
    for (UINT i = 0; i < params->cNamedArgs; ++i)
      call.namedArguments.push_back(params->rgdispidNamedArgs[i]);
  }
  call.resultWanted = result != nullptr;
  call.resultAllZero = result && AllZero(*result);
  call.exceptionInfoGiven = exception != nullptr;
  call.argumentErrorGiven = argumentError != nullptr;
  m_invokes.push_back(call);
  m_events.push_back(L"invoke " + call.name);

  if (auto failure = m_failures.find(call.name); failure != m_failures.end()) {
    if (failure->second == DISP_E_EXCEPTION && exception) {
      exception->wCode = 1001;
      exception->bstrSource = ::SysAllocString(L"AddIn.CipherLab9x00");
      exception->bstrDescription = ::SysAllocString(L"терминал не отвечает");
    }
    return failure->second;
  }
  auto answer = m_answers.find(call.name);
  if (result && answer != m_answers.end()) {
    const Answer& a = answer->second;
    result->vt = a.vt;
    switch (a.vt) {
      case VT_I4:
        result->lVal = a.number;
        break;
      case VT_INT:
        result->intVal = a.number;
        break;
      case VT_BOOL:
        result->boolVal = static_cast<VARIANT_BOOL>(a.number);
        break;
      case VT_BSTR:
        result->bstrVal = ::SysAllocStringLen(a.text.data(), static_cast<UINT>(a.text.size()));
        break;
      default:
        break;
    }
  }
  return S_OK;
}

}  // namespace morvane::test
