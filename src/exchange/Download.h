#pragma once
// A terminal's "Download" request: send it a base file, either from the shared set of five or
// its own file from the per-terminal folder, with the configured programs before and after.
#include <string>

#include "exchange/ExchangeContext.h"

namespace morvane {

// ip, baseNumber and serial are the request's fields 1, 2 and 4 as received.
void DownloadToTerminal(ExchangeContext& ctx, const std::wstring& ip,
                        const std::wstring& baseNumber, const std::wstring& serial);

}  // namespace morvane
