#include "exchange/OwnBaseFile.h"

#include <climits>

#include "base/NumberText.h"
#include "exchange/FileNamePart.h"
#include "exchange/Folders.h"

namespace morvane {

std::optional<OwnBaseFileSearch> MakeOwnBaseFileSearch(const std::wstring& folder,
                                                       const std::wstring& serial,
                                                       const std::wstring& baseNumber) {
  if (!IsValidFileNamePart(serial) || !IsValidFileNamePart(baseNumber)) return std::nullopt;
  const std::wstring stem = serial + L"_base" + baseNumber;
  return OwnBaseFileSearch{JoinFolder(folder, stem + L"*.*"), stem + L'_'};
}

std::wstring ChooseOwnBaseFile(IFileSystem& fs, const OwnBaseFileSearch& search) {
  int bestIndex = INT_MAX;
  std::wstring chosen;
  fs.FindFiles(search.pattern, [&](const std::wstring& name) {
    if (name.compare(0, search.prefix.size(), search.prefix) != 0) {
      chosen = name;
      return false;
    }
    int index = 0;
    if (StrToIntExRule(name.substr(search.prefix.size()), index) && index >= 0 &&
        index < bestIndex) {
      bestIndex = index;
      chosen = name;
    }
    return true;
  });
  return chosen;
}

}  // namespace morvane
