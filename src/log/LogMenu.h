#pragma once
// The menu behind the log's button (menu 134): "Сохранить как...", "Сохранить", "Очистить",
// enabled only while the log holds lines added since it was last cleared.
#include <windows.h>

namespace morvane {

// Enables or grays the three commands of the log menu's popup.
void ApplyLogMenuState(HMENU popup, bool modified);

// Opens the log menu upwards from the button's top-left corner; the chosen command goes to owner.
void ShowLogMenu(HWND owner, HWND button, bool modified);

}  // namespace morvane
