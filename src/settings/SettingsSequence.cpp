#include "settings/SettingsSequence.h"

#include <cwchar>
#include <utility>

#include "settings/SettingsTable.h"

namespace morvane {
namespace {

// Reads one value into its place. A value that cannot be read leaves the number (or the component's
// property) as it was, and empties a text, as a missing text does.
void LoadOne(ISettingsStore& store, const SettingEntry& entry, ServerSettings& settings,
             ITerminalComponent* component) {
  if (entry.kind == SettingKind::kText) {
    std::wstring text;
    if (!store.ReadText(entry.name, text)) text.clear();
    settings.*entry.text = std::move(text);
    return;
  }

  int number = 0;
  if (!store.ReadNumber(entry.name, number)) return;
  switch (entry.kind) {
    case SettingKind::kFlag:
      settings.*entry.number = number != 0 ? 1 : 0;
      break;
    case SettingKind::kCount:
      settings.*entry.number = number;
      break;
    case SettingKind::kComponent:
      if (component) (component->*entry.putToComponent)(number);
      break;
    case SettingKind::kText:
      break;
  }
}

bool SaveOne(ISettingsStore& store, const SettingEntry& entry, const ServerSettings& settings,
             ITerminalComponent* component) {
  switch (entry.kind) {
    case SettingKind::kText:
      return store.WriteText(entry.name, settings.*entry.text);
    case SettingKind::kFlag:
    case SettingKind::kCount:
      return store.WriteNumber(entry.name, settings.*entry.number);
    case SettingKind::kComponent: {
      int number = 0;  // what is written when there is no component
      if (component) (component->*entry.getFromComponent)(number);
      return store.WriteNumber(entry.name, number);
    }
  }
  return false;
}

}  // namespace

void LoadSettingsFrom(ISettingsStore& store, ServerSettings& settings,
                      ITerminalComponent* component) {
  if (!store.OpenSettingsKey(false)) return;
  // One damaged or missing value must not cost the values after it: an exit save would otherwise
  // write their defaults over the user's folders, paths and counter.
  for (const SettingEntry* entry : LoadOrder()) {
    if (entry) LoadOne(store, *entry, settings, component);
  }
  store.CloseSettingsKey();
}

void SaveSettingsTo(ISettingsStore& store, const ServerSettings& settings,
                    ITerminalComponent* component) {
  if (!store.OpenSettingsKey(true)) return;
  for (const SettingEntry* entry : SaveOrder()) {
    if (!entry || !SaveOne(store, *entry, settings, component)) break;
  }
  store.CloseSettingsKey();
}

bool SaveSettingValue(ISettingsStore& store, const ServerSettings& settings, const wchar_t* name) {
  for (const SettingEntry& entry : SettingsTable()) {
    if (std::wcscmp(entry.name, name) != 0) continue;
    if (entry.kind == SettingKind::kComponent || !store.OpenSettingsKey(true)) return false;
    const bool written = SaveOne(store, entry, settings, nullptr);
    store.CloseSettingsKey();
    return written;
  }
  return false;
}

}  // namespace morvane
