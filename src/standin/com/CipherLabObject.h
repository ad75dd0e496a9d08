#pragma once
// The automation object "AddIn.CipherLab9x00": IDispatch over its own name table. It lives in
// the apartment of the thread that created it (the server's window thread), which makes every
// call on it; the terminals are served by threads of the terminal server underneath.
#include <oaidl.h>
#include <windows.h>

#include <atomic>
#include <memory>
#include <string>

#include "standin/com/DispatchTable.h"
#include "standin/server/CallOutcome.h"

namespace morvane::standin {

class TerminalServer;
class WindowDelivery;

class CipherLabObject : public IDispatch {
 public:
  CipherLabObject();
  virtual ~CipherLabObject();
  CipherLabObject(const CipherLabObject&) = delete;
  CipherLabObject& operator=(const CipherLabObject&) = delete;

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override;
  ULONG STDMETHODCALLTYPE AddRef() override;
  ULONG STDMETHODCALLTYPE Release() override;

  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override;
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT index, LCID lcid, ITypeInfo** info) override;
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID iid, LPOLESTR* names, UINT count, LCID lcid,
                                          DISPID* ids) override;
  HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID iid, LCID lcid, WORD flags, DISPPARAMS* params,
                                   VARIANT* result, EXCEPINFO* exception, UINT* argError) override;

 private:
  HRESULT Call(const Member& member, unsigned kind, const DISPPARAMS& params, VARIANT* result,
               UINT* argError);
  HRESULT PutProperty(DispId id, LONG value);
  LONG GetProperty(DispId id) const;

  LONG Attach();
  LONG Finish(const CallOutcome& outcome);
  void SetError(ComponentError code, const std::wstring& detail);

  std::atomic<ULONG> refs_{1};

  LONG port_;
  LONG delay_;
  LONG delimiter_;
  LONG wifi_ = 1;
  LONG deleteUploadedData_ = 0;
  LONG errorCode_ = 0;
  std::wstring errorDescription_;

  std::shared_ptr<WindowDelivery> delivery_;
  std::unique_ptr<TerminalServer> server_;
};

}  // namespace morvane::standin
