// Any line, with any delimiter, through the request and reply parsers. What parses must survive
// a round trip through the formatters unchanged, and nothing that parses may carry bytes that
// could reach a file name or shift the server's comma-separated fields.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "standin/protocol/Messages.h"
#include "standin/protocol/ProtocolLimits.h"
#include "standin/protocol/RequestData.h"

using namespace morvane::standin;

namespace {

void Require(bool condition) {
  if (!condition) std::abort();
}

// Verbs are read in either case and written in upper case, so a letter for a delimiter can sit
// inside a verb read in the other case ("oK" with 'O') and split it once written out. The
// protocol advises against such delimiters; the round trip is checked for every other byte.
bool RoundTripHolds(char d) {
  const char lower = static_cast<char>(d | 0x20);
  return lower < 'a' || lower > 'z';
}

void CheckRequest(std::string_view line, char d) {
  const RequestParse p = ParseRequest(line, d);
  if (!p.ok) return;
  const Request& r = p.request;
  if (r.kind == RequestKind::kQuit) return;
  Require(IsValidSerial(r.serial));
  Require(r.base >= 0 && r.base <= kMaxBaseNumber);
  std::string again;
  if (r.kind == RequestKind::kDownload) {
    again = FormatDownloadRequest(r.serial, r.base, d);
    // The server splits at commas: exactly three of them, the serial after the last.
    const std::string text = DownloadDataText("1.2.3.4", r.base, r.serial);
    size_t commas = 0;
    for (char c : text)
      commas += c == ',';
    Require(commas == 3 && text.substr(text.rfind(',') + 1) == r.serial);
  } else {
    Require(r.dataKind == 1 || r.dataKind == 2);
    Require(IsValidExtra(r.extra) && r.extra.find(',') == std::string::npos);
    again = FormatUploadRequest(r.serial, r.base, r.dataKind, r.extra, d);
    // The server splits at commas: exactly four of them, the serial after the last.
    const std::string text = UploadDataText("1.2.3.4", r.base, r.extra, r.dataKind, r.serial);
    size_t commas = 0;
    for (char c : text)
      commas += c == ',';
    Require(commas == 4);
  }
  if (!RoundTripHolds(d)) return;
  Require(!again.empty() && again.back() == '\n');
  const RequestParse q = ParseRequest(std::string_view(again).substr(0, again.size() - 1), d);
  Require(q.ok && q.request.kind == r.kind && q.request.serial == r.serial &&
          q.request.base == r.base && q.request.dataKind == r.dataKind &&
          q.request.extra == r.extra);
}

void CheckReply(std::string_view line, char d) {
  Reply r;
  if (!ParseReply(line, d, r)) return;
  std::string again;
  switch (r.verb) {
    case ReplyVerb::kFile:
      Require(r.size <= kMaxTransferBytes);
      again = FormatFile(r.base, r.size, d);
      break;
    case ReplyVerb::kOk:
      again = FormatOk(r.size, d);
      break;
    case ReplyVerb::kData:
      again = FormatData(r.size, d);
      break;
    case ReplyVerb::kGet:
      again = FormatGet(r.dataKind, r.base, d);
      break;
    case ReplyVerb::kStored:
      Require(r.clear == 0 || r.clear == 1);
      again = FormatStored(r.clear == 1, d);
      break;
    case ReplyVerb::kErr:
    case ReplyVerb::kNoFile:
      again = FormatErr(r.code, r.text, d);
      // The delimiter may be any byte but the line ends; the text itself carries no control byte.
      for (size_t i = 0; i + 1 < again.size(); ++i) {
        Require(again[i] == d ||
                (static_cast<unsigned char>(again[i]) >= 0x20 && again[i] != 0x7f));
      }
      return;
    case ReplyVerb::kUnknown:
      std::abort();
  }
  if (!RoundTripHolds(d)) return;
  Reply back;
  Require(ParseReply(std::string_view(again).substr(0, again.size() - 1), d, back));
  Require(back.verb == r.verb && back.size == r.size && back.base == r.base &&
          back.dataKind == r.dataKind && back.clear == r.clear);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 1) return 0;
  const char d = EffectiveDelimiter(data[0]);
  const std::string_view line(reinterpret_cast<const char*>(data) + 1, size - 1);
  CheckRequest(line, d);
  CheckReply(line, d);
  return 0;
}
