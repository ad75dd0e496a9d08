#include "options/UploadPageRules.h"

#include <climits>
#include <cstdint>

namespace morvane {

bool IsForbiddenInFileName(wchar_t c) {
  return std::wstring_view(L"\\/:*?\"<>|").find(c) != std::wstring_view::npos;
}

std::wstring CleanFileNamePrefix(const std::wstring& text) {
  std::wstring clean;
  clean.reserve(text.size());
  for (wchar_t c : text) {
    if (!IsForbiddenInFileName(c)) clean += c;
  }
  return clean;
}

StartNumberReading ReadStartNumber(const std::wstring& text, int& number) {
  const std::wstring_view field = std::wstring_view(text).substr(0, 63);
  size_t i = 0;
  while (i < field.size() && (field[i] == L' ' || (field[i] >= L'\t' && field[i] <= L'\r')))
    ++i;
  bool negative = false;
  if (i < field.size() && (field[i] == L'-' || field[i] == L'+')) {
    negative = field[i] == L'-';
    ++i;
  }
  const size_t firstDigit = i;
  int64_t magnitude = 0;
  for (; i < field.size() && field[i] >= L'0' && field[i] <= L'9'; ++i) {
    if (magnitude <= INT_MAX) magnitude = magnitude * 10 + (field[i] - L'0');
  }
  if (i == firstDigit) return StartNumberReading::NotANumber;
  const int64_t value = negative ? -magnitude : magnitude;
  number = static_cast<int>(value > INT_MAX ? INT_MAX : value < INT_MIN ? INT_MIN : value);
  return number >= kStartNumberMin && number <= kStartNumberMax ? StartNumberReading::Number
                                                                : StartNumberReading::OutOfRange;
}

std::wstring CutStartNumberText(const std::wstring& text, int digitIndex) {
  if (digitIndex < 0) return text;
  return text.substr(0, static_cast<size_t>(digitIndex) + 1);
}

std::wstring FileDialogFilter(std::wstring_view bars) {
  std::wstring filter(bars);
  for (wchar_t& c : filter) {
    if (c == L'|') c = L'\0';
  }
  return filter;
}

}  // namespace morvane
