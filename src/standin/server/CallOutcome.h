#pragma once
// The answer of "SendFile" and "GetFile": the integer result and, on failure, what "ErrorCode"
// and "ErrorDescription" report.
#include <string>

#include "standin/protocol/ComponentError.h"

namespace morvane::standin {

struct CallOutcome {
  int result = -1;  // 1 = done, -1 = failed
  ComponentError error = ComponentError::kNone;
  std::wstring detail;  // added to the description after ": " (a path, a size)
  // The terminal's own words (its ERR text) as it sent them, in the ANSI code page; whoever
  // knows that code page adds them to the description.
  std::string terminalText;

  static CallOutcome Success() { return CallOutcome{1, ComponentError::kNone, {}, {}}; }
  static CallOutcome Failure(ComponentError error, std::wstring detail = {}) {
    return CallOutcome{-1, error, std::move(detail), {}};
  }
  static CallOutcome Refused(std::string terminalText) {
    return CallOutcome{-1, ComponentError::kTerminalRefused, {}, std::move(terminalText)};
  }
  std::wstring Description() const {
    std::wstring text = DescribeError(error);
    if (!detail.empty()) text += L": " + detail;
    return text;
  }
};

}  // namespace morvane::standin
