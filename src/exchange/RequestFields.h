#pragma once
// The data text of a terminal request, split into its fields. The split is plain: a single comma
// separates fields, nothing is trimmed or unquoted, and the last field takes the whole rest of the
// text, commas included.
#include <string>

namespace morvane {

// Takes the text before the first comma out of remainder, together with that comma. Without a
// comma the field is empty and remainder stays as it is.
std::wstring TakeField(std::wstring& remainder);

struct DownloadFields {
  std::wstring ip;
  std::wstring baseNumber;
  std::wstring unused;
  std::wstring serial;  // everything after the third comma
};

struct UploadFields {
  std::wstring ip;
  std::wstring baseNumber;
  std::wstring extra;
  std::wstring dataKind;
  std::wstring serial;  // everything after the fourth comma
};

DownloadFields SplitDownloadData(const std::wstring& data);
UploadFields SplitUploadData(const std::wstring& data);

}  // namespace morvane
