#include "standin/client/TerminalClient.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <vector>

#include "standin/protocol/Messages.h"

namespace morvane::standin {

namespace {

using net::Deadline;
using net::IoStatus;

constexpr size_t kChunkBytes = 256 * 1024;
constexpr int kLastWordMs = 1000;

std::string IoError(const char* step, IoStatus status) {
  return std::string(step) + ": " + net::Describe(status);
}

}  // namespace

PayloadSource PayloadSource::FromString(const std::string& bytes) {
  auto data = std::make_shared<std::string>(bytes);
  auto offset = std::make_shared<size_t>(0);
  PayloadSource source;
  source.size = bytes.size();
  source.read = [data, offset](char* buffer, size_t capacity, size_t& filled) {
    filled = std::min(capacity, data->size() - *offset);
    std::memcpy(buffer, data->data() + *offset, filled);
    *offset += filled;
    return true;
  };
  return source;
}

bool TerminalClient::Connect(std::string& error) {
  net::Socket s = net::ConnectTcp(options_.host, options_.port,
                                  Deadline::AfterMs(options_.stepTimeoutMs), error);
  if (!s.Valid()) return false;
  channel_ = std::make_unique<net::Channel>(std::move(s));
  return true;
}

void TerminalClient::Quit() {
  if (!channel_) return;
  channel_->Write(FormatQuit(), Deadline::AfterMs(options_.stepTimeoutMs));
  channel_.reset();
}

ExchangeResult TerminalClient::FailHearingWhy(const char* step, IoStatus status) {
  // The component may have said why it stopped listening before it closed.
  std::string line;
  Reply why;
  if (channel_->ReadLine(kMaxLineBytes, Deadline::AfterMs(kLastWordMs), line) == IoStatus::kOk &&
      ParseReply(line, options_.delimiter, why) && why.verb == ReplyVerb::kErr) {
    return Fail(IoError(step, status) + ", refused: " + why.text, why.code);
  }
  return Fail(IoError(step, status));
}

ExchangeResult TerminalClient::Fail(std::string error, int code) {
  ExchangeResult r;
  r.error = std::move(error);
  r.replyCode = code;
  channel_.reset();  // out of step: this connection is done
  return r;
}

ExchangeResult TerminalClient::Download(std::string_view serial, int base, const ByteSink& sink) {
  if (!channel_) return Fail("not connected");
  const char d = options_.delimiter;
  const int step = options_.stepTimeoutMs;
  IoStatus s = channel_->Write(FormatDownloadRequest(serial, base, d), Deadline::AfterMs(step));
  if (s != IoStatus::kOk) return Fail(IoError("request", s));

  std::string line;
  s = channel_->ReadLine(kMaxLineBytes, Deadline::AfterMs(options_.answerTimeoutMs), line);
  if (s != IoStatus::kOk) return Fail(IoError("answer", s));
  Reply header;
  if (!ParseReply(line, d, header)) return Fail("unexpected answer: " + line);
  if (header.verb == ReplyVerb::kNoFile || header.verb == ReplyVerb::kErr) {
    ExchangeResult r;
    r.noFile = header.verb == ReplyVerb::kNoFile;
    r.replyCode = header.code;
    r.error = (r.noFile ? "no file: " : "refused: ") + header.text;
    return r;
  }
  if (header.verb != ReplyVerb::kFile) return Fail("unexpected answer: " + line);

  bool kept = true;
  std::vector<char> buffer(static_cast<size_t>(std::min<uint64_t>(kChunkBytes, header.size)));
  for (uint64_t left = header.size; left > 0;) {
    size_t got = 0;
    const size_t want = static_cast<size_t>(std::min<uint64_t>(buffer.size(), left));
    s = channel_->ReadSome(buffer.data(), want, got, Deadline::AfterMs(step));
    if (s != IoStatus::kOk) return Fail(IoError("file", s));
    if (kept && !sink(buffer.data(), got)) kept = false;
    left -= got;
  }
  const std::string ack =
      kept ? FormatOk(header.size, d) : FormatErr(60, "terminal cannot store the file", d);
  s = channel_->Write(ack, Deadline::AfterMs(step));
  if (s != IoStatus::kOk) return Fail(IoError("acknowledge", s));
  ExchangeResult r;
  r.ok = kept;
  r.base = header.base;
  r.bytes = header.size;
  if (!kept) r.error = "could not store the file";
  return r;
}

ExchangeResult TerminalClient::Upload(std::string_view serial, int base, int dataKind,
                                      std::string_view extra, PayloadSource& payload) {
  if (!channel_) return Fail("not connected");
  const char d = options_.delimiter;
  const int step = options_.stepTimeoutMs;
  IoStatus s = channel_->Write(FormatUploadRequest(serial, base, dataKind, extra, d),
                               Deadline::AfterMs(step));
  if (s != IoStatus::kOk) return Fail(IoError("request", s));

  std::string line;
  s = channel_->ReadLine(kMaxLineBytes, Deadline::AfterMs(options_.answerTimeoutMs), line);
  if (s != IoStatus::kOk) return Fail(IoError("answer", s));
  Reply get;
  if (!ParseReply(line, d, get)) return Fail("unexpected answer: " + line);
  if (get.verb == ReplyVerb::kErr) {
    ExchangeResult r;
    r.replyCode = get.code;
    r.error = "refused: " + get.text;
    return r;
  }
  if (get.verb != ReplyVerb::kGet) return Fail("unexpected answer: " + line);

  s = channel_->Write(FormatData(payload.size, d), Deadline::AfterMs(step));
  if (s != IoStatus::kOk) return Fail(IoError("data header", s));
  std::vector<char> buffer(static_cast<size_t>(std::min<uint64_t>(kChunkBytes, payload.size)));
  for (uint64_t left = payload.size; left > 0;) {
    size_t filled = 0;
    const size_t want = static_cast<size_t>(std::min<uint64_t>(buffer.size(), left));
    if (!payload.read(buffer.data(), want, filled) || filled == 0) {
      return Fail("cannot read the data to upload");
    }
    s = channel_->Write(buffer.data(), filled, Deadline::AfterMs(step));
    if (s != IoStatus::kOk) return FailHearingWhy("data", s);
    left -= filled;
  }
  // Storing may take the workstation a while (a large file, a slow disk).
  s = channel_->ReadLine(kMaxLineBytes, Deadline::AfterMs(options_.answerTimeoutMs), line);
  if (s != IoStatus::kOk) return Fail(IoError("confirmation", s));
  Reply done;
  if (!ParseReply(line, d, done)) return Fail("unexpected answer: " + line);
  ExchangeResult r;
  if (done.verb == ReplyVerb::kErr) {
    r.replyCode = done.code;
    r.error = "not stored: " + done.text;
    return r;
  }
  if (done.verb != ReplyVerb::kStored) return Fail("unexpected answer: " + line);
  r.ok = true;
  r.bytes = payload.size;
  r.cleared = done.clear == 1;
  return r;
}

}  // namespace morvane::standin
