#pragma once
// The two moves of the options between memory and their store: the load at start-up and the save
// at exit. Each walks the values in its own order and stops at the first value failure, keeping
// what was done before it.
#include "settings/ServerSettings.h"
#include "settings/SettingsStore.h"
#include "terminal/TerminalComponent.h"

namespace morvane {

// Fills settings from the store and hands "Port", "Delay" and "Delimiter" to the component (when
// there is one). When the key cannot be opened every field keeps its value.
void LoadSettingsFrom(ISettingsStore& store, ServerSettings& settings,
                      ITerminalComponent* component);

// Writes every value, taking "Port", "Delay" and "Delimiter" from the component (0 without one).
void SaveSettingsTo(ISettingsStore& store, const ServerSettings& settings,
                    ITerminalComponent* component);

}  // namespace morvane
