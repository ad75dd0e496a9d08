#pragma once
// The settings sequences over the registry: the key "Morvane\Options\Software" under the
// registry object's root (HKEY_CURRENT_USER for the settings).
#include "settings/Registry.h"
#include "settings/ServerSettings.h"
#include "settings/SettingsStore.h"
#include "terminal/TerminalComponent.h"

namespace morvane {

// ISettingsStore on a CRegistry: numbers are REG_DWORD values of exactly four bytes, texts REG_SZ.
class CRegistrySettingsStore : public ISettingsStore {
 public:
  explicit CRegistrySettingsStore(CRegistry& registry) : m_registry(registry) {}

  bool OpenSettingsKey(bool create) override;
  void CloseSettingsKey() override;
  bool ReadNumber(const wchar_t* name, int& value) override;
  bool ReadText(const wchar_t* name, std::wstring& text) override;
  bool WriteNumber(const wchar_t* name, int value) override;
  bool WriteText(const wchar_t* name, const std::wstring& text) override;

 private:
  CRegistry& m_registry;
};

// Both do nothing without a registry object. component may be null.
void LoadSettings(CRegistry* registry, ServerSettings& settings, ITerminalComponent* component);
void SaveSettings(CRegistry* registry, const ServerSettings& settings,
                  ITerminalComponent* component);

}  // namespace morvane
