#include "standin/server/Transfers.h"

#include <algorithm>
#include <vector>

#include "standin/protocol/Messages.h"
#include "standin/protocol/ProtocolLimits.h"

namespace morvane::standin {

namespace {

using net::Deadline;
using net::IoStatus;

constexpr size_t kChunkBytes = 1024 * 1024;

// Made once: a fresh buffer for every transfer costs the system a megabyte of zeroed pages each
// time. Transfers run on the caller's one thread, one at a time.
std::vector<char>& TransferBuffer(ServerCore& core) {
  if (core.transferBuffer.empty()) core.transferBuffer.resize(kChunkBytes);
  return core.transferBuffer;
}

ComponentError ErrorOf(IoStatus status) {
  switch (status) {
    case IoStatus::kTimeout:
      return ComponentError::kTerminalTimeout;
    case IoStatus::kStopped:
      return ComponentError::kStopped;
    case IoStatus::kTooLong:
      return ComponentError::kTerminalProtocol;
    default:
      return ComponentError::kTerminalGone;
  }
}

// The terminal's own words, for the log: printable ASCII only.
std::wstring TerminalText(const std::string& text) {
  std::wstring out;
  for (char c : text)
    out += (c >= 0x20 && c < 0x7f) ? static_cast<wchar_t>(c) : L'?';
  return out;
}

// How long a whole transfer of size bytes may take.
Deadline TransferDeadline(int delayMs, uint64_t size) {
  return Deadline::AfterMs(delayMs +
                           static_cast<int64_t>(size * 1000 / kMinTransferBytesPerSecond));
}

CallOutcome Broken(Connection& c, IoStatus status) {
  c.broken = true;
  return CallOutcome::Failure(ErrorOf(status));
}

CallOutcome ProtocolBreach(Connection& c) {
  c.broken = true;
  return CallOutcome::Failure(ComponentError::kTerminalProtocol);
}

// Marks the upload fetched whatever way the fetch ends, and wakes its connection's thread.
class FetchDone {
 public:
  FetchDone(ServerCore& core, PendingUpload& upload) : core_(core), upload_(upload) {}
  ~FetchDone() {
    std::lock_guard lock(core_.mutex);
    upload_.state = PendingUpload::State::kFinished;
    core_.changed.notify_all();
  }
  FetchDone(const FetchDone&) = delete;
  FetchDone& operator=(const FetchDone&) = delete;

 private:
  ServerCore& core_;
  PendingUpload& upload_;
};

}  // namespace

CallOutcome SendFileToTerminal(ServerCore& core, const std::wstring& path, int base) {
  std::shared_ptr<DownloadDelivery> delivery;
  {
    std::lock_guard lock(core.mutex);
    delivery = core.currentDownload;
  }
  if (!delivery) return CallOutcome::Failure(ComponentError::kNoRequest);
  if (delivery->answered.exchange(true)) {
    return CallOutcome::Failure(ComponentError::kNoRequest, L"терминалу уже отправлен ответ");
  }
  Connection& c = *delivery->connection;
  if (c.broken) return CallOutcome::Failure(ComponentError::kTerminalGone);
  const char d = core.Delimiter();
  const int delay = core.DelayMs();

  auto refuse = [&](ReplyCode code, const char* text, CallOutcome outcome) {
    const IoStatus s = c.channel.Write(FormatNoFile(code, text, d), Deadline::AfterMs(delay));
    if (s != IoStatus::kOk) c.broken = true;
    return outcome;
  };
  if (path.empty()) {
    return refuse(ReplyCode::kNothingSelected, "no file for this terminal",
                  CallOutcome::Failure(ComponentError::kEmptyPath));
  }
  std::unique_ptr<ISourceFile> source = core.files->OpenSource(path);
  if (!source) {
    return refuse(ReplyCode::kFileMissing, "file not available",
                  CallOutcome::Failure(ComponentError::kFileNotFound, path));
  }
  const uint64_t size = source->Size();
  if (size > kMaxTransferBytes) {
    return refuse(ReplyCode::kFileTooLarge, "file too large",
                  CallOutcome::Failure(ComponentError::kFileTooLarge, path));
  }

  const Deadline whole = TransferDeadline(delay, size);
  // The header goes out with the first bytes of the file: one send, and one wake-up of the
  // terminal, less per download.
  const std::string header = FormatFile(base, size, d);
  std::vector<char>& buffer = TransferBuffer(core);
  std::copy(header.begin(), header.end(), buffer.begin());
  size_t pending = header.size();
  IoStatus s = IoStatus::kOk;
  for (uint64_t read = 0;;) {
    if (read < size) {
      size_t got = 0;
      const size_t want =
          static_cast<size_t>(std::min<uint64_t>(buffer.size() - pending, size - read));
      if (!source->Read(buffer.data() + pending, want, got) || got == 0) {
        // The header promised more bytes than we can give: the stream cannot be resumed.
        c.broken = true;
        return CallOutcome::Failure(ComponentError::kFileReadFailed, path);
      }
      read += got;
      pending += got;
    }
    s = c.channel.Write(buffer.data(), pending, Deadline::AfterMs(delay).EarlierOf(whole));
    if (s != IoStatus::kOk) return Broken(c, s);
    pending = 0;
    if (read == size) break;
  }

  std::string line;
  s = c.channel.ReadLine(kMaxLineBytes, Deadline::AfterMs(delay), line);
  if (s != IoStatus::kOk) return Broken(c, s);
  Reply answer;
  if (!ParseReply(line, d, answer)) return ProtocolBreach(c);
  if (answer.verb == ReplyVerb::kErr) {
    return CallOutcome::Failure(ComponentError::kTerminalRefused, TerminalText(answer.text));
  }
  if (answer.verb != ReplyVerb::kOk || answer.size != size) return ProtocolBreach(c);
  return CallOutcome::Success();
}

CallOutcome FetchUploadedData(ServerCore& core, const std::wstring& path, int dataKind, int base,
                              int mode, bool clearAfter) {
  if (path.empty()) return CallOutcome::Failure(ComponentError::kBadArgument, L"пустой путь");
  if (mode != 0 && mode != 1) {
    return CallOutcome::Failure(ComponentError::kBadArgument,
                                L"режим записи " + std::to_wstring(mode));
  }
  std::shared_ptr<PendingUpload> upload;
  {
    std::lock_guard lock(core.mutex);
    auto& q = core.uploads;
    const auto it = std::find_if(q.begin(), q.end(), [&](const auto& u) {
      return u->dataKind == dataKind && u->base == base;
    });
    if (it == q.end()) return CallOutcome::Failure(ComponentError::kNoRequest);
    upload = *it;
    q.erase(it);
    if (upload->state == PendingUpload::State::kGone) {
      return CallOutcome::Failure(ComponentError::kTerminalGone);
    }
    upload->state = PendingUpload::State::kFetching;
  }
  FetchDone done(core, *upload);
  Connection& c = *upload->connection;
  if (c.broken) return CallOutcome::Failure(ComponentError::kTerminalGone);
  const char d = core.Delimiter();
  const int delay = core.DelayMs();

  IoStatus s = c.channel.Write(FormatGet(dataKind, base, d), Deadline::AfterMs(delay));
  if (s != IoStatus::kOk) return Broken(c, s);
  std::string line;
  s = c.channel.ReadLine(kMaxLineBytes, Deadline::AfterMs(delay), line);
  if (s != IoStatus::kOk) return Broken(c, s);
  Reply header;
  if (!ParseReply(line, d, header)) return ProtocolBreach(c);
  if (header.verb == ReplyVerb::kErr) {
    return CallOutcome::Failure(ComponentError::kTerminalRefused, TerminalText(header.text));
  }
  if (header.verb != ReplyVerb::kData) return ProtocolBreach(c);
  if (header.size > kMaxTransferBytes) {
    // Not read: the connection cannot be kept in step.
    c.channel.Write(FormatErr(ReplyCode::kDataTooLarge, "data too large", d),
                    Deadline::AfterMs(delay));
    c.broken = true;
    return CallOutcome::Failure(ComponentError::kDataTooLarge, std::to_wstring(header.size));
  }

  // Without a place to stage the data it is still read, so the terminal stays in step and keeps
  // its data for another try.
  std::unique_ptr<IStagedFile> staged = core.files->Stage(path);
  bool stored = staged != nullptr;
  const Deadline whole = TransferDeadline(delay, header.size);
  std::vector<char>& buffer = TransferBuffer(core);
  for (uint64_t left = header.size; left > 0;) {
    size_t got = 0;
    const size_t want = static_cast<size_t>(std::min<uint64_t>(buffer.size(), left));
    s = c.channel.ReadSome(buffer.data(), want, got, Deadline::AfterMs(delay).EarlierOf(whole));
    if (s != IoStatus::kOk) return Broken(c, s);
    if (stored && !staged->Write(buffer.data(), got)) stored = false;
    left -= got;
  }
  if (stored) stored = mode == 1 ? staged->CommitReplace() : staged->CommitAppend();
  if (!stored) {
    c.channel.Write(FormatErr(ReplyCode::kStoreFailed, "data not stored", d),
                    Deadline::AfterMs(delay));
    return CallOutcome::Failure(ComponentError::kWriteFailed, path);
  }
  // The data is on disk whatever happens to this last line.
  if (c.channel.Write(FormatStored(clearAfter, d), Deadline::AfterMs(delay)) != IoStatus::kOk) {
    c.broken = true;
  }
  return CallOutcome::Success();
}

}  // namespace morvane::standin
