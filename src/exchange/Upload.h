#pragma once
// A terminal's "Upload" request: have the component fetch the terminal's data into the shared
// data file or into a file of its own, with the configured programs before and after.
#include <string>

#include "exchange/ExchangeContext.h"

namespace morvane {

// The request's five fields as received: IP address, base number, a field passed on unused,
// data kind (1 = databases, 2 = data files) and serial number.
void UploadFromTerminal(ExchangeContext& ctx, const std::wstring& ip,
                        const std::wstring& baseNumber, const std::wstring& extra,
                        const std::wstring& dataKind, const std::wstring& serial);

}  // namespace morvane
