#include "base/NumberText.h"

#include <cstdint>

namespace morvane {
namespace {

bool IsDigit(wchar_t c) {
  return c >= L'0' && c <= L'9';
}

// Accumulates digits from position i in unsigned arithmetic, so that overflow wraps instead of
// being undefined behaviour. Returns the number of digits read.
size_t ReadDigits(const std::wstring& text, size_t i, uint32_t& value) {
  size_t start = i;
  value = 0;
  while (i < text.size() && IsDigit(text[i])) {
    value = value * 10u + static_cast<uint32_t>(text[i] - L'0');
    ++i;
  }
  return i - start;
}

int Signed(uint32_t magnitude, bool negative) {
  uint32_t bits = negative ? 0u - magnitude : magnitude;
  return static_cast<int>(static_cast<int32_t>(bits));
}

}  // namespace

int StrToIntRule(const std::wstring& text) {
  size_t i = 0;
  bool negative = false;
  if (i < text.size() && text[i] == L'-') {
    negative = true;
    ++i;
  }
  uint32_t magnitude = 0;
  ReadDigits(text, i, magnitude);
  return Signed(magnitude, negative);
}

bool StrToIntExRule(const std::wstring& text, int& value) {
  size_t i = 0;
  while (i < text.size() && (text[i] == L' ' || text[i] == L'\t'))
    ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == L'-' || text[i] == L'+')) {
    negative = text[i] == L'-';
    ++i;
  }
  uint32_t magnitude = 0;
  if (ReadDigits(text, i, magnitude) == 0) return false;
  value = Signed(magnitude, negative);
  return true;
}

int LeadingNumberOrZero(const std::wstring& text) {
  int value = 0;
  StrToIntExRule(text, value);
  return value;
}

}  // namespace morvane
