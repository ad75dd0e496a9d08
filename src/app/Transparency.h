#pragma once
// The main window's transparency (a layered window with an opacity of 0..255).
#include <windows.h>

namespace morvane {

struct ServerSettings;

// Layered, with the given opacity (255 still layered).
void SetWindowOpacity(HWND window, int opacity);
// Not layered: fully opaque.
void ClearWindowOpacity(HWND window);
// The stored state: layered with AlphaBlendsCount when AlphaBlends is 1 and the count is below 255
// (a signed comparison), otherwise not layered.
void ApplyStoredTransparency(HWND window, const ServerSettings& settings);

}  // namespace morvane
