#pragma once
// The DLL's own bookkeeping: its instance handle, the objects and server locks that keep it
// loaded, and pinning once threads of ours may outlive every object.
#include <windows.h>

namespace morvane::standin {

HINSTANCE ModuleInstance();
void SetModuleInstance(HINSTANCE instance);

void ObjectCreated();
void ObjectDestroyed();
void LockModule(bool lock);
// True when nothing needs the DLL any more (DllCanUnloadNow).
bool ModuleIdle();

// Keeps the DLL in the process until it ends. Called before the first thread starts: a thread
// that is still finishing a delivery after the last object is gone must find its code there.
void PinModule();

}  // namespace morvane::standin
