#pragma once
// Number texts as the terminals and the option edits send them. Two readings are used, after the
// two shell functions the rest of the program was designed around.
#include <string>

namespace morvane {

// StrToIntW reading: an optional minus sign, then leading decimal digits; anything else stops the
// number. A text that does not start with a number gives 0. No blanks are skipped; overflow wraps
// around in 32 bits, as the shell function does.
int StrToIntRule(const std::wstring& text);

// StrToIntExW reading with default flags: leading blanks, one optional sign, then decimal digits.
// Returns false (and leaves value untouched) when no digit follows.
bool StrToIntExRule(const std::wstring& text, int& value);

// The option edits' numbers on Apply: the StrToIntExW reading, 0 when no digit follows.
int LeadingNumberOrZero(const std::wstring& text);

}  // namespace morvane
