#pragma once
// The data text that goes to the server window with each request: comma-separated fields, the
// terminal's address first and its serial number last (the server's split lets the last field
// keep any commas).
#include <string>
#include <string_view>

namespace morvane::standin {

// "ip,base,0,serial"
std::string DownloadDataText(std::string_view ip, int base, std::string_view serial);
// "ip,base,extra,kind,serial"
std::string UploadDataText(std::string_view ip, int base, std::string_view extra, int dataKind,
                           std::string_view serial);

}  // namespace morvane::standin
