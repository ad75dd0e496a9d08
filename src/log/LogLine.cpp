#include "log/LogLine.h"

namespace morvane {

std::wstring FormatLogTimestamp(const UtcTime& t) {
  return std::to_wstring(t.day) + L'.' + std::to_wstring(t.month) + L'.' + std::to_wstring(t.year) +
         L' ' + std::to_wstring(t.hour) + L':' + std::to_wstring(t.minute) + L':' +
         std::to_wstring(t.second) + L' ';
}

std::wstring FormatLogLine(const UtcTime& time, const std::wstring& message) {
  std::wstring line = FormatLogTimestamp(time);
  line.reserve(line.size() + message.size() + 2);
  for (wchar_t c : message)
    line += (c < 0x20 || c == 0x7F) ? L' ' : c;
  line += L"\r\n";
  return line;
}

}  // namespace morvane
