#include "standin/server/Transfers.h"

#include <algorithm>
#include <vector>

#include "standin/protocol/Messages.h"
#include "standin/protocol/ProtocolLimits.h"
#include "standin/server/ConnectionRules.h"
#include "standin/server/TransferPace.h"

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

// The terminal's own words, for the log: bytes as sent (in the ANSI code page), control bytes
// made visible.
std::string TerminalText(const std::string& text) {
  std::string out = text;
  for (char& c : out) {
    if (static_cast<unsigned char>(c) < 0x20 || c == 0x7f) c = '?';
  }
  return out;
}

CallOutcome Broken(Connection& c, IoStatus status) {
  c.broken = true;
  return CallOutcome::Failure(ErrorOf(status));
}

// A line the terminal owed did not come as it should: it is told why and dropped.
CallOutcome LineMissed(Connection& c, IoStatus status, char d, int delay) {
  switch (status) {
    case IoStatus::kTimeout:
      DropWith(c, ReplyCode::kTimedOut, "no answer within Delay", d, delay);
      break;
    case IoStatus::kTooLong:
      DropWith(c, ReplyCode::kLineTooLong, "line too long", d, delay);
      break;
    case IoStatus::kStopped:
      DropWith(c, ReplyCode::kNotReady, "server stopping", d, delay);
      break;
    default:
      break;
  }
  return Broken(c, status);
}

CallOutcome WrongAnswer(Connection& c, ReplyCode code, const char* text, char d, int delay) {
  DropWith(c, code, text, d, delay);
  return CallOutcome::Failure(ComponentError::kTerminalProtocol);
}

// A transfer that broke its pace: how far it got, for the log.
CallOutcome Stalled(Connection& c, const TransferPace& pace) {
  c.broken = true;
  if (!pace.TooSlow()) return CallOutcome::Failure(ComponentError::kTerminalTimeout);
  const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(TransferPace::Clock::now() -
                                                                        pace.Start());
  return CallOutcome::Failure(
      ComponentError::kTooSlow,
      std::to_wstring(pace.BytesMoved()) + L" байт за " + std::to_wstring(ms.count()) + L" мс");
}

// Sends bytes at the pace every transfer must keep.
IoStatus WritePaced(Connection& c, const char* bytes, size_t size, TransferPace& pace) {
  while (size > 0) {
    size_t sent = 0;
    const IoStatus s = c.channel.WriteSome(bytes, size, sent, pace.Next());
    if (s != IoStatus::kOk) return s;
    pace.Moved(sent);
    bytes += sent;
    size -= sent;
  }
  return IoStatus::kOk;
}

// While upload data is read, the acceptor must not take it for a QUIT.
class PayloadWindow {
 public:
  PayloadWindow(ServerCore& core, Connection& c) : core_(core), c_(c) { Set(true); }
  ~PayloadWindow() { Set(false); }
  PayloadWindow(const PayloadWindow&) = delete;
  PayloadWindow& operator=(const PayloadWindow&) = delete;

 private:
  void Set(bool on) {
    std::lock_guard lock(core_.mutex);
    c_.readingPayload = on;
  }
  ServerCore& core_;
  Connection& c_;
};

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
  switch (CheckTurn(c)) {
    case Turn::kSpoke:
      return WrongAnswer(c, ReplyCode::kOutOfTurn, "spoke out of turn", d, delay);
    case Turn::kGone:
      return Broken(c, IoStatus::kClosed);
    case Turn::kSilent:
      break;
  }

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

  TransferPace pace(delay);
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
    // No line can break into the file's bytes: a stalled terminal is only dropped.
    s = WritePaced(c, buffer.data(), pending, pace);
    if (s == IoStatus::kTimeout) return Stalled(c, pace);
    if (s != IoStatus::kOk) return Broken(c, s);
    pending = 0;
    if (read == size) break;
  }

  std::string line;
  s = c.channel.ReadLine(kMaxLineBytes, Deadline::AfterMs(delay), line);
  if (s != IoStatus::kOk) return LineMissed(c, s, d, delay);
  Reply answer;
  const bool parsed = ParseReply(line, d, answer);
  if (parsed && answer.verb == ReplyVerb::kErr)
    return CallOutcome::Refused(TerminalText(answer.text));
  if (!parsed || answer.verb != ReplyVerb::kOk) {
    return WrongAnswer(c, ReplyCode::kBadAcknowledge, "OK or ERR expected", d, delay);
  }
  if (answer.size != size) {
    return WrongAnswer(c, ReplyCode::kWrongSize, "OK names another size", d, delay);
  }
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
      return CallOutcome::Failure(upload->goneReason);
    }
    // The terminal may speak only after GET: whatever it sent before is out of turn, however
    // soon the fetch came. Its own thread tells it so.
    const Turn turn = CheckTurn(*upload->connection);
    if (turn != Turn::kSilent) {
      upload->state = PendingUpload::State::kGone;
      upload->goneReason =
          turn == Turn::kSpoke ? ComponentError::kTerminalProtocol : ComponentError::kTerminalGone;
      core.changed.notify_all();
      return CallOutcome::Failure(upload->goneReason);
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
  if (s != IoStatus::kOk) return LineMissed(c, s, d, delay);
  Reply header;
  const bool parsed = ParseReply(line, d, header);
  if (parsed && header.verb == ReplyVerb::kErr)
    return CallOutcome::Refused(TerminalText(header.text));
  if (!parsed || header.verb != ReplyVerb::kData) {
    return WrongAnswer(c, ReplyCode::kBadData, "DATA or ERR expected", d, delay);
  }
  if (header.size > kMaxTransferBytes) {
    // Not read: the connection cannot be kept in step.
    DropWith(c, ReplyCode::kDataTooLarge, "data too large", d, delay);
    return CallOutcome::Failure(ComponentError::kDataTooLarge,
                                std::wstring(header.text.begin(), header.text.end()));
  }

  // Without a place to stage the data it is still read, so the terminal stays in step and keeps
  // its data for another try.
  std::unique_ptr<IStagedFile> staged = core.files->Stage(path);
  bool stored = staged != nullptr;
  {
    PayloadWindow payload(core, c);
    TransferPace pace(delay);
    std::vector<char>& buffer = TransferBuffer(core);
    for (uint64_t left = header.size; left > 0;) {
      size_t got = 0;
      const size_t want = static_cast<size_t>(std::min<uint64_t>(buffer.size(), left));
      s = c.channel.ReadSome(buffer.data(), want, got, pace.Next());
      if (s == IoStatus::kTimeout) {
        const bool slow = pace.TooSlow();
        SendReply(c,
                  slow ? FormatErr(ReplyCode::kTooSlow, "transfer too slow", d)
                       : FormatErr(ReplyCode::kTimedOut, "no data within Delay", d),
                  delay);
        return Stalled(c, pace);
      }
      if (s != IoStatus::kOk) return LineMissed(c, s, d, delay);
      pace.Moved(got);
      if (stored && !staged->Write(buffer.data(), got)) stored = false;
      left -= got;
    }
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
