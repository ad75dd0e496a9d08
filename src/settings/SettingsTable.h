#pragma once
// The 39 values of the settings key: registry name, kind, where each lives, and its positions in
// the load and the save sequence. The two orders differ; the save's matters, because a failed write
// stops the save where it happens: everything before it is done, nothing after it.
#include <array>
#include <string>

#include "settings/ServerSettings.h"
#include "terminal/TerminalComponent.h"

namespace morvane {

// The key under HKEY_CURRENT_USER (not under its Software branch) that holds every option.
inline constexpr wchar_t kSettingsKeyPath[] = L"Morvane\\Options\\Software";

enum class SettingKind {
  kFlag,       // REG_DWORD; loads as 1 for any non-zero number
  kCount,      // REG_DWORD; loads unchanged
  kText,       // REG_SZ; a missing value loads as the empty text
  kComponent,  // REG_DWORD held by the component as a property of the same name
};

struct SettingEntry {
  const wchar_t* name;
  SettingKind kind;
  int ServerSettings::*number;         // flags and counts
  std::wstring ServerSettings::*text;  // texts
  bool (ITerminalComponent::*putToComponent)(int);
  bool (ITerminalComponent::*getFromComponent)(int&);
  int loadPosition;  // 1-based
  int savePosition;  // 1-based
};

inline constexpr int kSettingCount = 39;

// Every value, in the order of the load sequence.
const std::array<SettingEntry, kSettingCount>& SettingsTable();

// The entries in the order of each sequence.
std::array<const SettingEntry*, kSettingCount> LoadOrder();
std::array<const SettingEntry*, kSettingCount> SaveOrder();

}  // namespace morvane
