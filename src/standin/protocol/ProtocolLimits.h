#pragma once
// The component's initial settings and the bounds it holds every terminal to. Terminals are
// untrusted: every length, size and wait below is finite.
#include <cstddef>
#include <cstdint>

namespace morvane::standin {

// Initial values of the component's properties, used until the server sets its own.
inline constexpr int kDefaultPort = 5000;      // "Port": TCP port the component listens on
inline constexpr int kDefaultDelayMs = 5000;   // "Delay": how long a terminal may keep us waiting
inline constexpr int kDefaultDelimiter = ';';  // "Delimiter": field separator in request lines

// "Delay" as the component applies it: values outside this range are clamped.
inline constexpr int kMinDelayMs = 100;
inline constexpr int kMaxDelayMs = 10 * 60 * 1000;

// One protocol line, without its line end.
inline constexpr size_t kMaxLineBytes = 256;
inline constexpr size_t kMaxSerialBytes = 32;
inline constexpr size_t kMaxExtraBytes = 32;
inline constexpr int kMaxBaseNumber = 99999;

// Largest file the component sends, and largest payload it accepts from a terminal.
inline constexpr uint64_t kMaxTransferBytes = uint64_t{1} << 30;  // 1 GiB

// Once Delay has passed, a transfer must have kept this average since it began (TransferPace).
inline constexpr uint64_t kMinTransferBytesPerSecond = 16 * 1024;

inline constexpr int kMaxConnections = 64;
// Consecutive malformed requests after which a connection is dropped.
inline constexpr int kMaxBadRequests = 8;
// Uploads waiting for their fetch; the oldest entries are forgotten beyond this.
inline constexpr size_t kMaxPendingUploads = 256;

}  // namespace morvane::standin
