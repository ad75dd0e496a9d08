#pragma once
// Texts from a terminal (serial number, base number) become parts of file names, search patterns
// and paths. A part must never lead out of the configured folder or widen a search to other
// terminals' files, so the characters a file name may not hold are replaced.
#include <string>

namespace morvane {

// Every \ / : * ? " < > | and every control character becomes '_'; anything else stays. A name
// that is valid already comes back unchanged.
std::wstring SafeFileNamePart(const std::wstring& text);

}  // namespace morvane
