#include "app/Autorun.h"

#include <windows.h>

#include "settings/Registry.h"

namespace morvane {

namespace {
constexpr wchar_t kRunKey[] = L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run";
constexpr wchar_t kAutorunValue[] = L"Morvane";
}  // namespace

void UpdateAutorunEntry(CRegistry& registry, int autoRun) {
  registry.SetRootKey(HKEY_LOCAL_MACHINE);
  if (registry.Open(kRunKey, false)) {
    if (autoRun == 1) {
      wchar_t path[MAX_PATH] = {};
      const DWORD length = ::GetModuleFileNameW(nullptr, path, MAX_PATH);
      // A path that filled the buffer was cut short: better no entry than a wrong one.
      if (length != 0 && length != MAX_PATH) registry.WriteString(kAutorunValue, path);
    } else {
      RegistryValueKind kind = kRegNone;
      DWORD size = 0;
      if (registry.QueryValueInfo(kAutorunValue, kind, size)) {
        ::RegDeleteValueW(registry.Key(), kAutorunValue);
      }
    }
    registry.Close();
  }
  registry.SetRootKey(HKEY_CURRENT_USER);
}

}  // namespace morvane
