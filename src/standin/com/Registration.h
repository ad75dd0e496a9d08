#pragma once
// Registry entries of the component: the ProgID, the class and its in-process server with the
// Apartment threading model. Per-user entries live under HKCU\Software\Classes (what a user
// without administrator rights can write, and what Windows looks at first); machine-wide ones
// under HKLM\Software\Classes.
#include <windows.h>

namespace morvane::standin {

enum class RegistrationScope { kUser, kMachine };

HRESULT RegisterComponent(RegistrationScope scope);
// Removes the class; the ProgID only while it still names this class (a different component
// registered under the same ProgID since is left alone).
HRESULT UnregisterComponent(RegistrationScope scope);

}  // namespace morvane::standin
