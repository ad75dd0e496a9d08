#include "Exchanges.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

#include "FleetSummary.h"

namespace morvane::simulator {

namespace {

using Clock = std::chrono::steady_clock;
using standin::ExchangeResult;
using standin::PayloadSource;
using standin::TerminalClient;

struct FileCloser {
  void operator()(std::FILE* f) const { std::fclose(f); }
};
using File = std::unique_ptr<std::FILE, FileCloser>;

double SecondsSince(Clock::time_point start) {
  return std::chrono::duration<double>(Clock::now() - start).count();
}

double Megabytes(uint64_t bytes) {
  return static_cast<double>(bytes) / (1024.0 * 1024.0);
}

bool ConnectOrSay(TerminalClient& client, const char* what) {
  std::string error;
  if (client.Connect(error)) return true;
  std::printf("%s: cannot connect: %s\n", what, error.c_str());
  return false;
}

PayloadSource FileSource(std::FILE* file, uint64_t size) {
  PayloadSource source;
  source.size = size;
  source.read = [file](char* buffer, size_t capacity, size_t& filled) {
    filled = std::fread(buffer, 1, capacity, file);
    return !std::ferror(file);
  };
  return source;
}

// Bytes that tell one upload from another in the server's files.
std::string UploadText(const std::string& serial, int exchange, size_t size) {
  std::string line = serial + ";" + std::to_string(exchange) + ";";
  std::string text;
  while (text.size() < size)
    text += line;
  text.resize(size);
  if (size > 0) text.back() = '\n';
  return text;
}

// Serves the same bytes to every terminal without copying them.
PayloadSource SharedSource(const std::shared_ptr<std::string>& bytes) {
  auto offset = std::make_shared<size_t>(0);
  PayloadSource source;
  source.size = bytes->size();
  source.read = [bytes, offset](char* buffer, size_t capacity, size_t& filled) {
    filled = std::min(capacity, bytes->size() - *offset);
    std::memcpy(buffer, bytes->data() + *offset, filled);
    *offset += filled;
    return true;
  };
  return source;
}

}  // namespace

int RunDownload(const Options& o) {
  TerminalClient client(o.client);
  if (!ConnectOrSay(client, "download")) return kExitFailed;
  // Written aside first: a broken download never leaves a file that looks complete.
  const std::string partPath = o.outPath + ".part";
  File out(std::fopen(partPath.c_str(), "wb"));
  if (!out) {
    std::printf("download: cannot write %s\n", partPath.c_str());
    return kExitFailed;
  }
  const auto start = Clock::now();
  const ExchangeResult r = client.Download(o.serial, o.base, [&](const char* b, size_t n) {
    return std::fwrite(b, 1, n, out.get()) == n;
  });
  const double seconds = SecondsSince(start);
  client.Quit();
  const bool flushed = std::fflush(out.get()) == 0;
  out.reset();
  if (!r.ok || !flushed) {
    std::remove(partPath.c_str());
    if (r.noFile) {
      std::printf("download: no file for %s base %d (code %d: %s)\n", o.serial.c_str(), o.base,
                  r.replyCode, r.error.c_str());
      return kExitNoFile;
    }
    std::printf("download: failed: %s\n", r.ok ? "cannot write the file" : r.error.c_str());
    return kExitFailed;
  }
  std::remove(o.outPath.c_str());
  if (std::rename(partPath.c_str(), o.outPath.c_str()) != 0) {
    std::printf("download: cannot rename %s\n", partPath.c_str());
    return kExitFailed;
  }
  std::printf("download: base %d, %llu bytes saved to %s in %.3f s (%.1f MB/s)\n", r.base,
              static_cast<unsigned long long>(r.bytes), o.outPath.c_str(), seconds,
              seconds > 0 ? Megabytes(r.bytes) / seconds : 0.0);
  return kExitOk;
}

int RunUpload(const Options& o) {
  File in(std::fopen(o.inPath.c_str(), "rb"));
  if (!in) {
    std::printf("upload: cannot read %s\n", o.inPath.c_str());
    return kExitFailed;
  }
  std::fseek(in.get(), 0, SEEK_END);
  const long size = std::ftell(in.get());
  std::fseek(in.get(), 0, SEEK_SET);
  if (size < 0) {
    std::printf("upload: cannot size %s\n", o.inPath.c_str());
    return kExitFailed;
  }
  TerminalClient client(o.client);
  if (!ConnectOrSay(client, "upload")) return kExitFailed;
  PayloadSource source = FileSource(in.get(), static_cast<uint64_t>(size));
  const auto start = Clock::now();
  const ExchangeResult r = client.Upload(o.serial, o.base, o.dataKind, o.extra, source);
  const double seconds = SecondsSince(start);
  client.Quit();
  if (!r.ok) {
    std::printf("upload: failed: %s\n", r.error.c_str());
    return kExitFailed;
  }
  std::printf("upload: %llu bytes of kind %d stored in %.3f s (terminal data %s)\n",
              static_cast<unsigned long long>(r.bytes), o.dataKind, seconds,
              r.cleared ? "cleared" : "kept");
  return kExitOk;
}

int RunFleet(const Options& o) {
  // One copy of the upload file for every terminal, read before the clock starts.
  auto fileBytes = std::make_shared<std::string>();
  if (!o.inPath.empty()) {
    File in(std::fopen(o.inPath.c_str(), "rb"));
    if (!in) {
      std::printf("fleet: cannot read %s\n", o.inPath.c_str());
      return kExitFailed;
    }
    char chunk[65536];
    for (size_t n; (n = std::fread(chunk, 1, sizeof chunk, in.get())) > 0;)
      fileBytes->append(chunk, n);
  }
  FleetSummary summary;
  std::mutex mutex;
  const auto start = Clock::now();
  std::vector<std::thread> fleet;
  for (int t = 0; t < o.terminals; ++t) {
    fleet.emplace_back([&, t] {
      char serial[16];
      std::snprintf(serial, sizeof serial, "SIM%04d", t + 1);
      for (int e = 0; e < o.exchanges; ++e) {
        const bool download =
            o.mix == FleetMix::kAlternate ? (t + e) % 2 == 0 : o.mix == FleetMix::kDownloads;
        const auto begun = Clock::now();
        TerminalClient client(o.client);
        std::string error;
        ExchangeResult r;
        const bool connected = client.Connect(error);
        const double connectMs = SecondsSince(begun) * 1000.0;
        if (!connected) {
          r.error = "connect: " + error;
        } else if (download) {
          File out;
          if (!o.outDir.empty()) {
            const std::string path = o.outDir + "/" + serial + "-" + std::to_string(e + 1) + ".bin";
            out.reset(std::fopen(path.c_str(), "wb"));
          }
          r = client.Download(serial, o.base, [&](const char* b, size_t n) {
            return o.outDir.empty() || (out && std::fwrite(b, 1, n, out.get()) == n);
          });
        } else {
          PayloadSource s =
              o.inPath.empty() ? PayloadSource::FromString(UploadText(serial, e + 1, o.uploadBytes))
                               : SharedSource(fileBytes);
          r = client.Upload(serial, o.base, 1 + e % 2, "", s);
        }
        client.Quit();
        const double ms = SecondsSince(begun) * 1000.0;
        std::lock_guard lock(mutex);
        summary.Add(download, r.ok, ms, connectMs, r.bytes, std::string(serial) + ": " + r.error);
      }
    });
  }
  for (auto& th : fleet)
    th.join();
  summary.Print(o.terminals, o.exchanges, SecondsSince(start));
  return summary.Failures() == 0 ? kExitOk : kExitFailed;
}

int RunTrickle(const Options& o) {
  TerminalClient client(o.client);
  if (!ConnectOrSay(client, "trickle")) return kExitFailed;
  PayloadSource source;
  source.size = o.declaredBytes;
  const auto every = std::chrono::milliseconds(o.byteEveryMs);
  source.read = [every](char* buffer, size_t, size_t& filled) {
    std::this_thread::sleep_for(every);
    buffer[0] = 'x';
    filled = 1;
    return true;
  };
  const auto start = Clock::now();
  const ExchangeResult r = client.Upload(o.serial, o.base, o.dataKind, o.extra, source);
  const double seconds = SecondsSince(start);
  if (r.ok) {
    std::printf("trickle: the component took all %llu bytes in %.1f s\n",
                static_cast<unsigned long long>(r.bytes), seconds);
    return kExitOk;
  }
  std::printf("trickle: dropped after %.1f s (code %d: %s)\n", seconds, r.replyCode,
              r.error.c_str());
  return kExitFailed;
}

}  // namespace morvane::simulator
