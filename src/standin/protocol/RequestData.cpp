#include "standin/protocol/RequestData.h"

namespace morvane::standin {

std::string DownloadDataText(std::string_view ip, int base, std::string_view serial) {
  std::string text(ip);
  text += ',';
  text += std::to_string(base);
  text += ",0,";
  text.append(serial);
  return text;
}

std::string UploadDataText(std::string_view ip, int base, std::string_view extra, int dataKind,
                           std::string_view serial) {
  std::string text(ip);
  text += ',';
  text += std::to_string(base);
  text += ',';
  text.append(extra);
  text += ',';
  text += std::to_string(dataKind);
  text += ',';
  text.append(serial);
  return text;
}

}  // namespace morvane::standin
