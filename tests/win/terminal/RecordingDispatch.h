#pragma once
// A hand-written automation object that stands where the communication component would: it knows
// a set of names, records every lookup and invocation exactly as it arrives, and answers with the
// results a test configures. Its lifetime belongs to the test; references are only counted.
#include <windows.h>

#include <oaidl.h>

#include <map>
#include <string>
#include <vector>

namespace morvane::test {

struct RecordedLookup {
  std::wstring name;
  LCID lcid = 0;
  bool iidNull = false;
  UINT nameCount = 0;
};

struct RecordedArgument {
  VARTYPE vt = VT_EMPTY;
  LONG number = 0;    // VT_I4 and VT_INT
  std::wstring text;  // VT_BSTR
  bool nullText = false;
};

struct RecordedInvoke {
  std::wstring name;
  LCID lcid = 0;
  WORD kind = 0;
  bool iidNull = false;
  std::vector<RecordedArgument> slots;  // as passed: last parameter first
  std::vector<DISPID> namedArguments;
  bool resultWanted = false;
  bool resultAllZero = false;  // the result VARIANT arrived with every byte zero
  bool exceptionInfoGiven = false;
  bool argumentErrorGiven = false;
};

class RecordingDispatch : public IDispatch {
 public:
  // The names the component answers to; a lookup of any other name fails as a real one does.
  static std::vector<std::wstring> ComponentNames();
  explicit RecordingDispatch(std::vector<std::wstring> names = ComponentNames());
  virtual ~RecordingDispatch() = default;

  RecordingDispatch(const RecordingDispatch&) = delete;
  RecordingDispatch& operator=(const RecordingDispatch&) = delete;

  // What an invocation of name writes into the result. VT_BOOL writes only the 16-bit field, as
  // a component that answers with a boolean does.
  void AnswerNumber(const std::wstring& name, VARTYPE vt, LONG value);
  void AnswerText(const std::wstring& name, const std::wstring& text);
  // The invocation of name fails with status (DISP_E_EXCEPTION also fills the exception record).
  void FailInvoke(const std::wstring& name, HRESULT status);

  const std::vector<RecordedLookup>& Lookups() const { return m_lookups; }
  const std::vector<RecordedInvoke>& Invokes() const { return m_invokes; }
  // "lookup <name>", "invoke <name>", "AddRef", "Release", in the order they happened.
  const std::vector<std::wstring>& Events() const { return m_events; }
  ULONG References() const { return m_references; }

  // IUnknown
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override;
  ULONG STDMETHODCALLTYPE AddRef() override;
  ULONG STDMETHODCALLTYPE Release() override;
  // IDispatch
  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override;
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT index, LCID lcid, ITypeInfo** info) override;
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID iid, LPOLESTR* names, UINT count, LCID lcid,
                                          DISPID* ids) override;
  HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID iid, LCID lcid, WORD kind, DISPPARAMS* params,
                                   VARIANT* result, EXCEPINFO* exception,
                                   UINT* argumentError) override;

 private:
  struct Answer {
    VARTYPE vt = VT_EMPTY;
    LONG number = 0;
    std::wstring text;
  };

  std::vector<std::wstring> m_names;  // dispatch id = index + 1
  std::map<std::wstring, Answer> m_answers;
  std::map<std::wstring, HRESULT> m_failures;
  std::vector<RecordedLookup> m_lookups;
  std::vector<RecordedInvoke> m_invokes;
  std::vector<std::wstring> m_events;
  ULONG m_references = 0;
};

}  // namespace morvane::test
