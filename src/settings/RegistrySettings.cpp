#include "settings/RegistrySettings.h"

#include "settings/SettingsSequence.h"
#include "settings/SettingsTable.h"

namespace morvane {

bool CRegistrySettingsStore::OpenSettingsKey(bool create) {
  return m_registry.Open(kSettingsKeyPath, create);
}

void CRegistrySettingsStore::CloseSettingsKey() {
  m_registry.Close();
}

bool CRegistrySettingsStore::ReadNumber(const wchar_t* name, int& value) {
  DWORD number = 0;
  DWORD size = sizeof(number);
  RegistryValueKind kind = kRegNone;
  if (!m_registry.ReadValue(name, &number, size, kind)) return false;
  if (kind != kRegDword || size != sizeof(number)) return false;
  value = static_cast<int>(number);
  return true;
}

bool CRegistrySettingsStore::ReadText(const wchar_t* name, std::wstring& text) {
  return m_registry.ReadString(name, text);
}

bool CRegistrySettingsStore::WriteNumber(const wchar_t* name, int value) {
  return m_registry.WriteDword(name, static_cast<DWORD>(value));
}

bool CRegistrySettingsStore::WriteText(const wchar_t* name, const std::wstring& text) {
  return m_registry.WriteString(name, text);
}

void LoadSettings(CRegistry* registry, ServerSettings& settings, ITerminalComponent* component) {
  if (!registry) return;
  CRegistrySettingsStore store(*registry);
  LoadSettingsFrom(store, settings, component);
}

void SaveSettings(CRegistry* registry, const ServerSettings& settings,
                  ITerminalComponent* component) {
  if (!registry) return;
  CRegistrySettingsStore store(*registry);
  SaveSettingsTo(store, settings, component);
}

}  // namespace morvane
