#include "exchange/RequestFields.h"

namespace morvane {

std::wstring TakeField(std::wstring& remainder) {
  const size_t comma = remainder.find(L',');
  if (comma == std::wstring::npos) return std::wstring();
  std::wstring field = remainder.substr(0, comma);
  remainder.erase(0, comma + 1);
  return field;
}

DownloadFields SplitDownloadData(const std::wstring& data) {
  std::wstring rest = data;
  DownloadFields fields;
  fields.ip = TakeField(rest);
  fields.baseNumber = TakeField(rest);
  fields.unused = TakeField(rest);
  fields.serial = rest;
  return fields;
}

UploadFields SplitUploadData(const std::wstring& data) {
  std::wstring rest = data;
  UploadFields fields;
  fields.ip = TakeField(rest);
  fields.baseNumber = TakeField(rest);
  fields.extra = TakeField(rest);
  fields.dataKind = TakeField(rest);
  fields.serial = rest;
  return fields;
}

}  // namespace morvane
