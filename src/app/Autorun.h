#pragma once
// The autorun entry: the value "Morvane" under the machine-wide Run key, holding the program's
// full path while the AutoRun option is set.
namespace morvane {

class CRegistry;

// Writes or removes the entry per autoRun (exactly 1 writes it). Missing rights to the key leave
// it as it is, silently. The registry's root is HKEY_CURRENT_USER again afterwards.
void UpdateAutorunEntry(CRegistry& registry, int autoRun);

}  // namespace morvane
