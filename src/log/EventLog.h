#pragma once
// Where every step of the server is reported: one time-stamped line per call.
#include <string>

namespace morvane {

class IEventLog {
 public:
  virtual ~IEventLog() = default;
  // Appends one line; the implementation adds the time stamp and the line end.
  virtual void AddLogLine(const std::wstring& message) = 0;
};

}  // namespace morvane
