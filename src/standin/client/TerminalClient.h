#pragma once
// The terminal's side of the protocol: what a CipherLab terminal does on the network, used by the
// simulator and by the tests. One client is one connection; exchanges on it run one after another.
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "standin/net/Channel.h"
#include "standin/protocol/ProtocolLimits.h"

namespace morvane::standin {

struct ClientOptions {
  std::string host = "127.0.0.1";
  int port = kDefaultPort;
  char delimiter = static_cast<char>(kDefaultDelimiter);
  // Longest pause inside a transfer, and for the component's short answers.
  int stepTimeoutMs = 10000;
  // How long the terminal waits for the server to act on its request (the server may run other
  // programs first).
  int answerTimeoutMs = 120000;
};

// Where received bytes go; false when they cannot be kept (the rest is still read).
using ByteSink = std::function<bool(const char* bytes, size_t size)>;

// Where uploaded bytes come from.
struct PayloadSource {
  uint64_t size = 0;
  // Fills up to capacity bytes; false on a read error.
  std::function<bool(char* buffer, size_t capacity, size_t& filled)> read;
  static PayloadSource FromString(const std::string& bytes);
};

struct ExchangeResult {
  bool ok = false;
  std::string error;     // what went wrong, for people
  int replyCode = 0;     // the component's ERR or NOFILE code, when it sent one
  bool noFile = false;   // download: the server had no file for us
  int base = 0;          // download: the base the file belongs to
  uint64_t bytes = 0;    // payload bytes moved
  bool cleared = false;  // upload: the component told us to clear what we sent
};

class TerminalClient {
 public:
  explicit TerminalClient(ClientOptions options) : options_(std::move(options)) {}

  bool Connect(std::string& error);
  bool Connected() const { return channel_ != nullptr; }

  ExchangeResult Download(std::string_view serial, int base, const ByteSink& sink);
  ExchangeResult Upload(std::string_view serial, int base, int dataKind, std::string_view extra,
                        PayloadSource& payload);
  // Says goodbye and closes the connection.
  void Quit();

  // Raw access for tests that play a misbehaving terminal.
  net::Channel& channel() { return *channel_; }

 private:
  ExchangeResult Fail(std::string error, int code = 0);
  ExchangeResult FailHearingWhy(const char* step, net::IoStatus status);

  ClientOptions options_;
  std::unique_ptr<net::Channel> channel_;
};

}  // namespace morvane::standin
