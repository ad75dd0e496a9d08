#include "standin/protocol/Messages.h"

#include <vector>

#include "standin/protocol/ProtocolLimits.h"

namespace morvane::standin {

namespace {

constexpr std::string_view kDownloadVerb = "DOWNLOAD";
constexpr std::string_view kUploadVerb = "UPLOAD";
constexpr std::string_view kQuitVerb = "QUIT";

bool SameVerb(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    char c = a[i];
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    if (c != b[i]) return false;
  }
  return true;
}

// Splits at the delimiter; once maxFields is reached, the last field keeps the rest.
std::vector<std::string_view> SplitFields(std::string_view line, char delimiter, size_t maxFields) {
  std::vector<std::string_view> fields;
  while (fields.size() + 1 < maxFields) {
    const size_t at = line.find(delimiter);
    if (at == std::string_view::npos) break;
    fields.push_back(line.substr(0, at));
    line.remove_prefix(at + 1);
  }
  fields.push_back(line);
  return fields;
}

bool IsNameByte(char c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '_' ||
         c == '.' || c == '-';
}

bool AllNameBytes(std::string_view text) {
  for (char c : text) {
    if (!IsNameByte(c)) return false;
  }
  return true;
}

bool ParseInt(std::string_view text, int max, int& value) {
  uint64_t v = 0;
  if (!ParseDecimal(text, static_cast<uint64_t>(max), v)) return false;
  value = static_cast<int>(v);
  return true;
}

bool ParseSaturating(std::string_view text, uint64_t& value) {
  if (text.empty()) return false;
  uint64_t v = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return false;
    const uint64_t digit = static_cast<uint64_t>(c - '0');
    v = v > (UINT64_MAX - digit) / 10 ? UINT64_MAX : v * 10 + digit;
  }
  value = v;
  return true;
}

std::string SignificantDigits(std::string_view digits) {
  const size_t first = digits.find_first_not_of('0');
  return first == std::string_view::npos ? std::string("0") : std::string(digits.substr(first));
}

// Error texts travel inside one line: control bytes become blanks.
std::string LineSafe(std::string_view text) {
  std::string out(text.substr(0, kMaxLineBytes / 2));
  for (char& c : out) {
    if (static_cast<unsigned char>(c) < 0x20 || c == 0x7f) c = ' ';
  }
  return out;
}

std::string Join(std::initializer_list<std::string_view> fields, char delimiter) {
  std::string line;
  for (std::string_view f : fields) {
    if (!line.empty()) line += delimiter;
    line.append(f);
  }
  line += '\n';
  return line;
}

RequestParse Fail(ReplyCode code, std::string text) {
  RequestParse r;
  r.error = code;
  r.errorText = std::move(text);
  return r;
}

}  // namespace

char EffectiveDelimiter(int code) {
  if (code <= 0 || code > 255 || code == '\n' || code == '\r') return kDefaultDelimiter;
  return static_cast<char>(static_cast<unsigned char>(code));
}

bool ParseDecimal(std::string_view text, uint64_t max, uint64_t& value) {
  if (text.empty() || text.size() > 20) return false;
  uint64_t v = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return false;
    const uint64_t digit = static_cast<uint64_t>(c - '0');
    if (v > max / 10 || (v == max / 10 && digit > max % 10)) return false;
    v = v * 10 + digit;
  }
  value = v;
  return true;
}

bool IsValidSerial(std::string_view serial) {
  return !serial.empty() && serial.size() <= kMaxSerialBytes && AllNameBytes(serial);
}

bool IsValidExtra(std::string_view extra) {
  return extra.size() <= kMaxExtraBytes && AllNameBytes(extra);
}

RequestParse ParseRequest(std::string_view line, char delimiter) {
  const std::vector<std::string_view> f = SplitFields(line, delimiter, 6);
  if (SameVerb(f[0], kQuitVerb)) {
    if (f.size() != 1) return Fail(ReplyCode::kBadRequest, "QUIT takes no fields");
    RequestParse r;
    r.ok = true;
    r.request.kind = RequestKind::kQuit;
    return r;
  }
  const bool download = SameVerb(f[0], kDownloadVerb);
  const bool upload = SameVerb(f[0], kUploadVerb);
  if (!download && !upload) return Fail(ReplyCode::kBadRequest, "unknown request");
  if (download && f.size() != 3) return Fail(ReplyCode::kBadRequest, "DOWNLOAD needs 2 fields");
  if (upload && f.size() != 4 && f.size() != 5) {
    return Fail(ReplyCode::kBadRequest, "UPLOAD needs 3 or 4 fields");
  }

  RequestParse r;
  r.request.kind = download ? RequestKind::kDownload : RequestKind::kUpload;
  if (!IsValidSerial(f[1])) return Fail(ReplyCode::kBadSerial, "bad serial number");
  r.request.serial.assign(f[1]);
  if (!ParseInt(f[2], kMaxBaseNumber, r.request.base)) {
    return Fail(ReplyCode::kBadBase, "bad base number");
  }
  if (upload) {
    if (!ParseInt(f[3], 2, r.request.dataKind) || r.request.dataKind < 1) {
      return Fail(ReplyCode::kBadKind, "data kind must be 1 or 2");
    }
    const std::string_view extra = f.size() == 5 ? f[4] : std::string_view();
    if (!IsValidExtra(extra)) return Fail(ReplyCode::kBadExtra, "bad extra field");
    r.request.extra = extra.empty() ? std::string("0") : std::string(extra);
  }
  r.ok = true;
  return r;
}

std::string FormatDownloadRequest(std::string_view serial, int base, char delimiter) {
  return Join({kDownloadVerb, serial, std::to_string(base)}, delimiter);
}

std::string FormatUploadRequest(std::string_view serial, int base, int dataKind,
                                std::string_view extra, char delimiter) {
  if (extra.empty()) {
    return Join({kUploadVerb, serial, std::to_string(base), std::to_string(dataKind)}, delimiter);
  }
  return Join({kUploadVerb, serial, std::to_string(base), std::to_string(dataKind), extra},
              delimiter);
}

std::string FormatQuit() {
  return std::string(kQuitVerb) + "\n";
}

bool ParseReply(std::string_view line, char delimiter, Reply& reply) {
  reply = Reply();
  const std::vector<std::string_view> f = SplitFields(line, delimiter, 3);
  const std::string_view verb = f[0];
  Reply r;
  bool ok = false;
  uint64_t number = 0;
  if (SameVerb(verb, "FILE")) {
    ok = f.size() == 3 && ParseInt(f[1], kMaxBaseNumber, r.base) &&
         ParseDecimal(f[2], kMaxTransferBytes, r.size);
    r.verb = ReplyVerb::kFile;
  } else if (SameVerb(verb, "OK")) {
    ok = f.size() == 2 && ParseDecimal(f[1], kMaxTransferBytes, r.size);
    r.verb = ReplyVerb::kOk;
  } else if (SameVerb(verb, "DATA")) {
    // Any run of digits is a size, however long: an oversized payload is told apart from garbage.
    ok = f.size() == 2 && ParseSaturating(f[1], r.size);
    if (ok) r.text = SignificantDigits(f[1]);
    r.verb = ReplyVerb::kData;
  } else if (SameVerb(verb, "GET")) {
    ok = f.size() == 3 && ParseInt(f[1], 2, r.dataKind) && ParseInt(f[2], kMaxBaseNumber, r.base);
    r.verb = ReplyVerb::kGet;
  } else if (SameVerb(verb, "STORED")) {
    ok = f.size() == 2 && ParseDecimal(f[1], 1, number);
    r.clear = static_cast<int>(number);
    r.verb = ReplyVerb::kStored;
  } else if (SameVerb(verb, "ERR") || SameVerb(verb, "NOFILE")) {
    ok = f.size() >= 2 && ParseInt(f[1], 999, r.code);
    if (f.size() == 3) r.text.assign(f[2]);
    r.verb = SameVerb(verb, "ERR") ? ReplyVerb::kErr : ReplyVerb::kNoFile;
  }
  if (!ok) return false;
  reply = std::move(r);
  return true;
}

std::string FormatFile(int base, uint64_t size, char delimiter) {
  return Join({"FILE", std::to_string(base), std::to_string(size)}, delimiter);
}

std::string FormatNoFile(ReplyCode code, std::string_view text, char delimiter) {
  return Join({"NOFILE", std::to_string(static_cast<int>(code)), LineSafe(text)}, delimiter);
}

std::string FormatOk(uint64_t size, char delimiter) {
  return Join({"OK", std::to_string(size)}, delimiter);
}

std::string FormatErr(int code, std::string_view text, char delimiter) {
  return Join({"ERR", std::to_string(code), LineSafe(text)}, delimiter);
}

std::string FormatErr(ReplyCode code, std::string_view text, char delimiter) {
  return FormatErr(static_cast<int>(code), text, delimiter);
}

std::string FormatGet(int dataKind, int base, char delimiter) {
  return Join({"GET", std::to_string(dataKind), std::to_string(base)}, delimiter);
}

std::string FormatData(uint64_t size, char delimiter) {
  return Join({"DATA", std::to_string(size)}, delimiter);
}

std::string FormatStored(bool clear, char delimiter) {
  return Join({"STORED", clear ? "1" : "0"}, delimiter);
}

}  // namespace morvane::standin
