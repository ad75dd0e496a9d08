#pragma once
// The one wrapper of the communication component "AddIn.CipherLab9x00". It is the only code that
// talks to the component, always by name through IDispatch: every call looks the name up afresh,
// so a component that is re-registered with other dispatch ids between calls still works.
//
// A failed lookup or invocation is fatal (message box, exit code -1): the server cannot serve
// terminals without its component, and operational failures never surface as failed calls (they
// come back as result values and ErrorCode).
#include <windows.h>

#include <oaidl.h>

#include <string>
#include <vector>

#include "framework/ComPtr.h"
#include "framework/ScopedBstr.h"
#include "terminal/TerminalComponent.h"

namespace morvane {

inline constexpr wchar_t kComponentProgId[] = L"AddIn.CipherLab9x00";

class CInterfaceCipherLab : public ITerminalComponent {
 public:
  // Initialises COM on this thread (STA), creates the component by ProgID (in-process or local
  // server) and calls "Initial". A creation failure ends the process. owner is the window that
  // fatal message boxes belong to.
  explicit CInterfaceCipherLab(HWND owner, const wchar_t* progId = kComponentProgId);
  // Wraps an existing object (tests, and hosts that created it themselves); calls "Initial".
  CInterfaceCipherLab(HWND owner, ComPtr<IDispatch> component);
  // "Realize", release, one second for the component to finish, COM shut down. Nothing at all
  // when the component was never loaded.
  ~CInterfaceCipherLab() override;

  CInterfaceCipherLab(const CInterfaceCipherLab&) = delete;
  CInterfaceCipherLab& operator=(const CInterfaceCipherLab&) = delete;

  bool IsLoaded() const { return m_bLoaded != 0; }

  bool Initial();
  bool SetWiFi();  // always 1
  bool RegisterHWNDWindow(HWND window);

  bool SetPort(int port) override;
  bool GetPort(int& port) override;
  bool SetDelay(int milliseconds) override;
  bool GetDelay(int& milliseconds) override;
  bool SetDelimiter(int characterCode) override;
  bool GetDelimiter(int& characterCode) override;
  int Attach() override;
  bool Detach() override;
  int SendFile(const std::wstring& path, int baseNumber) override;
  int GetFile(const std::wstring& path, int dataKind, int baseNumber, int mode) override;
  bool SetDeleteUploadedData(int flag) override;
  bool GetErrorCode(int& code) override;
  bool GetErrorDescription(std::wstring& text) override;

  // How long the destructor waits after "Realize"; tests shorten it.
  void SetShutdownWait(DWORD milliseconds) { m_shutdownWait = milliseconds; }

 private:
  // Looks name up and invokes it with kind (DISPATCH_METHOD, _PROPERTYGET or _PROPERTYPUT).
  // args are in the component's parameter order; they travel last-first as automation wants.
  // result may be null when no result is wanted. Any failure is fatal.
  bool CallComponent(const wchar_t* name, WORD kind, std::vector<ScopedVariant> args,
                     VARIANT* result);
  bool PutInteger(const wchar_t* name, int value);
  bool GetInteger(const wchar_t* name, int& value);
  int CallReturningInteger(const wchar_t* name, std::vector<ScopedVariant> args);

  HWND m_owner;
  ComPtr<IDispatch> m_pDispatch;
  int m_bLoaded = 0;
  DWORD m_shutdownWait = 1000;
};

// The process-wide wrapper; null before start-up and after the close sequence. Every caller tests
// it before a call.
extern CInterfaceCipherLab* g_pCipherLab;

}  // namespace morvane
