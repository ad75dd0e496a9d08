#pragma once
// The two transfers the server asks for, run on the caller's thread: a file to the terminal whose
// download is being delivered, and the data of the oldest waiting upload into a file.
#include <string>

#include "standin/server/CallOutcome.h"
#include "standin/server/ServerCore.h"

namespace morvane::standin {

CallOutcome SendFileToTerminal(ServerCore& core, const std::wstring& path, int base);
CallOutcome FetchUploadedData(ServerCore& core, const std::wstring& path, int dataKind, int base,
                              int mode, bool clearAfter);

}  // namespace morvane::standin
