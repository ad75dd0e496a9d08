#pragma once
// The whole text of a window or control as a wide string.
#include <windows.h>

#include <string>
#include <vector>

namespace morvane {

inline std::wstring WindowText(HWND window) {
  const int length = window ? ::GetWindowTextLengthW(window) : 0;
  if (length <= 0) return std::wstring();
  std::vector<wchar_t> buffer(static_cast<size_t>(length) + 1);
  const int got = ::GetWindowTextW(window, buffer.data(), length + 1);
  return std::wstring(buffer.data(), got > 0 ? static_cast<size_t>(got) : 0);
}

}  // namespace morvane
