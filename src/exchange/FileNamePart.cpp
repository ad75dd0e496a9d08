#include "exchange/FileNamePart.h"

namespace morvane {

namespace {

bool IsForbiddenInFileName(wchar_t c) {
  if (c < 0x20 || c == 0x7F) return true;
  switch (c) {
    case L'\\':
    case L'/':
    case L':':
    case L'*':
    case L'?':
    case L'"':
    case L'<':
    case L'>':
    case L'|':
      return true;
    default:
      return false;
  }
}

}  // namespace

std::wstring SafeFileNamePart(const std::wstring& text) {
  std::wstring safe = text;
  for (wchar_t& c : safe) {
    if (IsForbiddenInFileName(c)) c = L'_';
  }
  return safe;
}

bool IsValidFileNamePart(const std::wstring& text) {
  for (const wchar_t c : text) {
    if (IsForbiddenInFileName(c)) return false;
  }
  return true;
}

}  // namespace morvane
