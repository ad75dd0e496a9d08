#pragma once
// The two moves of the options between memory and their store: the load at start-up and the save
// at exit, each in its own order; and the write of a single value that must not wait for the exit.
// The load takes every value it can read; the save stops at the first value failure, keeping what
// was written before it.
#include "settings/ServerSettings.h"
#include "settings/SettingsStore.h"
#include "terminal/TerminalComponent.h"

namespace morvane {

// Fills settings from the store and hands "Port", "Delay" and "Delimiter" to the component (when
// there is one). When the key cannot be opened every field keeps its value. A number that is
// missing, or of another type or size, keeps its field's value (the component its own); a text
// that is missing or of another type empties its field. Either way loading goes on.
void LoadSettingsFrom(ISettingsStore& store, ServerSettings& settings,
                      ITerminalComponent* component);

// Writes every value, taking "Port", "Delay" and "Delimiter" from the component (0 without one).
void SaveSettingsTo(ISettingsStore& store, const ServerSettings& settings,
                    ITerminalComponent* component);

// Writes the one setting of that registry name, as the save does (same key, same kind), and
// closes the key again. False when the name is not a field of settings or the store refused.
bool SaveSettingValue(ISettingsStore& store, const ServerSettings& settings, const wchar_t* name);

}  // namespace morvane
