#pragma once
// What "ErrorCode" and "ErrorDescription" report after a failed "SendFile", "GetFile" or
// "Attach". The server writes both into its log; the descriptions are in Russian like the rest
// of its log.
#include <string>

namespace morvane::standin {

enum class ComponentError : int {
  kNone = 0,
  kEmptyPath = 1,          // no file was named
  kFileNotFound = 2,       // the file to send cannot be opened
  kFileReadFailed = 3,     // the file to send could not be read to the end
  kFileTooLarge = 4,       // the file to send is over the transfer limit
  kNoRequest = 5,          // no terminal request that this call could belong to
  kTerminalGone = 6,       // the terminal closed the connection
  kTerminalTimeout = 7,    // the terminal did not answer within "Delay"
  kTerminalProtocol = 8,   // the terminal answered something the protocol does not allow
  kTerminalRefused = 9,    // the terminal reported an error of its own
  kWriteFailed = 10,       // the received data could not be written to the file
  kDataTooLarge = 11,      // the terminal announced more data than the component accepts
  kBadArgument = 12,       // a call argument is out of range
  kStopped = 13,           // the server was stopped during the exchange
  kListenFailed = 14,      // "Attach" could not listen on "Port"
  kModeNotSupported = 15,  // "WiFi" is not 1
  kTooSlow = 16,           // the transfer fell below the pace every transfer must keep
};

// The fixed Russian description of a code; details (a path, the terminal's own text) are added
// by the caller.
std::wstring DescribeError(ComponentError code);

}  // namespace morvane::standin
