#pragma once
// Steps that downloads and uploads share: the outside programs around an exchange and the report
// of a failed component call.
#include <string>

#include "exchange/ExchangeContext.h"

namespace morvane {

// Runs the program when flag is set, and logs whether it started.
void RunExternalAppIfSet(ExchangeContext& ctx, int flag, const std::wstring& path);

// Logs failureLine, then "Описание ошибки: " with the component's description when its error
// code is not 0 (a code that cannot be read counts as 0).
void LogComponentFailure(ExchangeContext& ctx, const std::wstring& failureLine);

}  // namespace morvane
