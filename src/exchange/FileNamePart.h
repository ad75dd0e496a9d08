#pragma once
// Texts from a terminal (serial number, base number) become parts of file names, search patterns
// and paths. A part must never lead out of the configured folder or widen a search to other
// terminals' files: where a name is looked for, such a text matches nothing; where a name is made,
// the characters a file name may not hold are replaced.
#include <string>

namespace morvane {

// Every \ / : * ? " < > | and every control character becomes '_'; anything else stays. A name
// that is valid already comes back unchanged.
std::wstring SafeFileNamePart(const std::wstring& text);

// True when the text holds none of \ / : * ? " < > | and no control character.
bool IsValidFileNamePart(const std::wstring& text);

}  // namespace morvane
