#pragma once
// One line of the event log: "d.m.yyyy h:m:s " in UTC without leading zeros, the message, CR LF.
#include <string>

#include "base/UtcTime.h"

namespace morvane {

std::wstring FormatLogTimestamp(const UtcTime& time);

// A message may carry texts from terminals; control characters in it (a CR or LF among them)
// become blanks, so one call always makes exactly one line.
std::wstring FormatLogLine(const UtcTime& time, const std::wstring& message);

}  // namespace morvane
