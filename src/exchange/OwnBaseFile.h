#pragma once
// The per-terminal base files: in one folder, named serial number, "_base", base number, "_",
// an index and an extension ("12345678_base1_3.txt"). A terminal gets the file with the smallest
// index; a sent file may be deleted so that the next request gets the next one.
#include <optional>
#include <string>

#include "exchange/FileSystem.h"

namespace morvane {

struct OwnBaseFileSearch {
  std::wstring pattern;  // folder\<serial>_base<base>*.*
  std::wstring prefix;   // <serial>_base<base>_
};

// Serial and base number come from the terminal. When either holds a character that a file name
// may not hold (IsValidFileNamePart), there is no search: such a terminal has no file of its own.
// Replacing the character instead would give serials "a*b" and "a_b" the same files, and a
// wildcard or a path could reach other terminals' files or another folder.
std::optional<OwnBaseFileSearch> MakeOwnBaseFileSearch(const std::wstring& folder,
                                                       const std::wstring& serial,
                                                       const std::wstring& baseNumber);

// The name (without folder) of the file to send; empty when none qualifies. Among names that
// begin with the prefix, the smallest non-negative index read after it wins (the first found on
// ties; names without a number are passed over). A name that the search finds but that does not
// begin with the prefix (no "_" after the base number, other letter case, a longer base number)
// is taken at once.
std::wstring ChooseOwnBaseFile(IFileSystem& fs, const OwnBaseFileSearch& search);

}  // namespace morvane
