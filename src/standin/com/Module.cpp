// The DLL's entry points: class object, unload check, and self-registration.
//
//   regsvr32 CipherLab9x00.dll                register for the current user
//   regsvr32 /n /i:machine CipherLab9x00.dll  register for every user (administrator)
//   regsvr32 /u CipherLab9x00.dll             remove the per-user registration
//   regsvr32 /u /n /i:machine CipherLab9x00.dll  remove the machine-wide one
#include <objbase.h>
#include <olectl.h>
#include <windows.h>

#include <atomic>
#include <new>

#include "standin/com/ClassFactory.h"
#include "standin/com/ComponentIds.h"
#include "standin/com/ModuleState.h"
#include "standin/com/Registration.h"

namespace morvane::standin {

namespace {

HINSTANCE g_instance = nullptr;
std::atomic<long> g_objects{0};
std::atomic<long> g_locks{0};
std::atomic<bool> g_pinned{false};

bool ScopeFromText(const wchar_t* text, RegistrationScope& scope) {
  if (!text || !*text || ::lstrcmpiW(text, L"user") == 0) {
    scope = RegistrationScope::kUser;
    return true;
  }
  if (::lstrcmpiW(text, L"machine") == 0) {
    scope = RegistrationScope::kMachine;
    return true;
  }
  return false;
}

}  // namespace

HINSTANCE ModuleInstance() {
  return g_instance;
}
void SetModuleInstance(HINSTANCE instance) {
  g_instance = instance;
}
void ObjectCreated() {
  ++g_objects;
}
void ObjectDestroyed() {
  --g_objects;
}
void LockModule(bool lock) {
  lock ? ++g_locks : --g_locks;
}
bool ModuleIdle() {
  return g_objects == 0 && g_locks == 0 && !g_pinned;
}

void PinModule() {
  if (g_pinned.exchange(true)) return;
  HMODULE self = nullptr;
  ::GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_PIN,
                       reinterpret_cast<LPCWSTR>(&PinModule), &self);
}

}  // namespace morvane::standin

using namespace morvane::standin;

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
  if (reason == DLL_PROCESS_ATTACH) SetModuleInstance(instance);
  return TRUE;
}

extern "C" HRESULT STDAPICALLTYPE DllGetClassObject(REFCLSID clsid, REFIID iid, void** out) {
  if (!out) return E_POINTER;
  *out = nullptr;
  if (!::IsEqualCLSID(clsid, kClsid)) return CLASS_E_CLASSNOTAVAILABLE;
  auto* factory = new (std::nothrow) ClassFactory();
  if (!factory) return E_OUTOFMEMORY;
  const HRESULT hr = factory->QueryInterface(iid, out);
  factory->Release();
  return hr;
}

extern "C" HRESULT STDAPICALLTYPE DllCanUnloadNow() {
  return ModuleIdle() ? S_OK : S_FALSE;
}

extern "C" HRESULT STDAPICALLTYPE DllRegisterServer() {
  return RegisterComponent(RegistrationScope::kUser);
}

extern "C" HRESULT STDAPICALLTYPE DllUnregisterServer() {
  return UnregisterComponent(RegistrationScope::kUser);
}

// regsvr32 /i:<scope> passes the scope here: "user" (the default) or "machine".
extern "C" HRESULT STDAPICALLTYPE DllInstall(BOOL install, LPCWSTR commandLine) {
  RegistrationScope scope;
  if (!ScopeFromText(commandLine, scope)) return E_INVALIDARG;
  return install ? RegisterComponent(scope) : UnregisterComponent(scope);
}
