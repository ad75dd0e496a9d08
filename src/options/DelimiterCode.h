#pragma once
// The field delimiter as the General page shows it: one character code 1..255 in three views
// (decimal, upper-case hexadecimal, the character). Each view's 8-bit text (ANSI code page) turns
// into a code by the C library's strtol rules (leading blanks and a sign allowed, digits up to the
// first other character, 0 when there are none) or, for the character view, its first byte; the
// code is the low 8 bits, and 0 becomes 9 (the tab character).
#include <string>

namespace morvane {

enum class DelimiterView { Decimal, Hexadecimal, Character };

int DelimiterCodeFrom(DelimiterView view, const std::string& ansiText);

// "2C" for 44: upper-case digits, no prefix or leading zero.
std::wstring HexText(int code);

}  // namespace morvane
