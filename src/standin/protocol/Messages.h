#pragma once
// The lines of the terminal protocol (docs/terminal-protocol.md): what a terminal asks, what the
// component answers, and back. Each line is fields separated by the delimiter character; the
// first field names the message, the last field of an error takes the rest of the line.
#include <cstdint>
#include <string>
#include <string_view>

namespace morvane::standin {

// The delimiter the component uses for a "Delimiter" value: any byte but NUL and the line end
// characters; anything else falls back to the initial ';'.
char EffectiveDelimiter(int code);

// Codes carried by ERR and NOFILE lines.
enum class ReplyCode : int {
  kBadRequest = 10,  // unknown message or wrong number of fields
  kBadSerial = 11,
  kBadBase = 12,
  kBadKind = 13,
  kBadExtra = 14,
  kLineTooLong = 20,
  kTimedOut = 21,         // nothing came within Delay
  kTooSlow = 22,          // a transfer fell below its pace
  kOutOfTurn = 23,        // the terminal spoke while it was the component's turn
  kBusy = 30,             // too many terminals connected
  kNotReady = 31,         // no server window registered, or the server is stopping
  kNoAnswer = 32,         // the server did not answer the request
  kNothingSelected = 40,  // NOFILE: the server has no file for this terminal
  kFileMissing = 41,      // NOFILE: the server's file cannot be opened
  kFileTooLarge = 42,     // NOFILE
  kBadAcknowledge = 43,   // OK or ERR was expected after a file
  kWrongSize = 44,        // OK named another size than the file's
  kBadData = 50,          // DATA or ERR was expected after GET
  kDataTooLarge = 51,
  kStoreFailed = 52,  // the data could not be written on the workstation
};

enum class RequestKind { kDownload, kUpload, kQuit };

struct Request {
  RequestKind kind = RequestKind::kQuit;
  std::string serial;
  int base = 0;
  int dataKind = 0;   // upload: 1 = databases, 2 = data files
  std::string extra;  // upload: passed on to the server as it is; "0" when the terminal sent none
};

struct RequestParse {
  bool ok = false;
  Request request;
  ReplyCode error = ReplyCode::kBadRequest;  // when !ok
  std::string errorText;
};

// Reads one request line (line end already removed).
RequestParse ParseRequest(std::string_view line, char delimiter);

std::string FormatDownloadRequest(std::string_view serial, int base, char delimiter);
std::string FormatUploadRequest(std::string_view serial, int base, int dataKind,
                                std::string_view extra, char delimiter);
std::string FormatQuit();

enum class ReplyVerb { kUnknown, kFile, kNoFile, kOk, kErr, kGet, kData, kStored };

// Any line other than a request: the component's answers and the terminal's answers to them.
struct Reply {
  ReplyVerb verb = ReplyVerb::kUnknown;
  uint64_t size = 0;  // FILE, OK, DATA (DATA: UINT64_MAX when too large to count)
  int base = 0;       // FILE, GET
  int dataKind = 0;   // GET
  int code = 0;       // ERR, NOFILE
  int clear = 0;      // STORED: 1 = the terminal clears the data it sent
  std::string text;   // ERR, NOFILE; DATA: the size as sent (it may not fit in size)
};

// False for a line that is not a well-formed message; reply.verb is then kUnknown.
bool ParseReply(std::string_view line, char delimiter, Reply& reply);

std::string FormatFile(int base, uint64_t size, char delimiter);
std::string FormatNoFile(ReplyCode code, std::string_view text, char delimiter);
std::string FormatOk(uint64_t size, char delimiter);
std::string FormatErr(int code, std::string_view text, char delimiter);
std::string FormatErr(ReplyCode code, std::string_view text, char delimiter);
std::string FormatGet(int dataKind, int base, char delimiter);
std::string FormatData(uint64_t size, char delimiter);
std::string FormatStored(bool clear, char delimiter);

// Strict decimal: 1 to 20 digits, nothing else, at most max.
bool ParseDecimal(std::string_view text, uint64_t max, uint64_t& value);

// Serial numbers and the extra field go into file names and comma-separated texts on the
// workstation: only letters, digits, '_', '.' and '-' are let through.
bool IsValidSerial(std::string_view serial);
bool IsValidExtra(std::string_view extra);

}  // namespace morvane::standin
