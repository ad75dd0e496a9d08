#pragma once
// The Upload page's rules for its naming fields, apart from the controls: the characters a file
// name may not hold, the fixed name's length, the start number's reading and range, and the
// digit list's cut. Also the file dialogs' filter texts, written as "description|pattern||".
#include <string>
#include <string_view>

namespace morvane {

// The fixed file name is shown and edited with at most this many characters.
inline constexpr size_t kFileNamePrefixMaxChars = 40;

// The start number of the upload counter lies in [1, 99999].
inline constexpr int kStartNumberMin = 1;
inline constexpr int kStartNumberMax = 99999;

// One of \ / : * ? " < > |.
bool IsForbiddenInFileName(wchar_t c);

// The text without any of those characters; the others keep their order.
std::wstring CleanFileNamePrefix(const std::wstring& text);

enum class StartNumberReading {
  Number,      // a number was found and lies in the range
  NotANumber,  // no digit: the number is left as it was
  OutOfRange,  // a number outside the range: it is taken all the same
};

// Reads the start number field: of its first 63 characters, leading blanks are skipped, one sign
// may come, then the digits up to the first other character; the rest is ignored. A number too
// large for 32 bits is kept at the nearest 32-bit limit (out of range either way).
StartNumberReading ReadStartNumber(const std::wstring& text, int& number);

// The start number's text after choosing digitIndex + 1 digits: its first digitIndex + 1
// characters. A text that is short enough, or an index below 0, leaves it whole.
std::wstring CutStartNumberText(const std::wstring& text, int digitIndex);

// The file dialogs' filter: every '|' becomes the NUL that separates descriptions and patterns.
std::wstring FileDialogFilter(std::wstring_view bars);

}  // namespace morvane
