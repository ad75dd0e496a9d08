#pragma once
// The record a terminal request travels in: the communication component sends the registered
// window WM_COPYDATA whose lpData points at this record. Only the record is copied with the
// message; the texts stay in the sender's memory, so sender and receiver share one process.

namespace morvane {

struct TerminalRequest {
  const char* source;  // "CipherLab9x00"
  const char* event;   // "Download" or "Upload"
  const char* data;    // comma-separated fields, in the system's ANSI code page
};

inline constexpr char kRequestSource[] = "CipherLab9x00";
inline constexpr char kEventDownload[] = "Download";
inline constexpr char kEventUpload[] = "Upload";

}  // namespace morvane
