#include "exchange/ForeignMemory.h"

#include <windows.h>

#include <cstdint>
#include <cstring>

namespace morvane {
namespace {

bool IsReadableProtection(DWORD protect) {
  if (protect & (PAGE_GUARD | PAGE_NOACCESS)) return false;
  constexpr DWORD kReadable = PAGE_READONLY | PAGE_READWRITE | PAGE_WRITECOPY | PAGE_EXECUTE_READ |
                              PAGE_EXECUTE_READWRITE | PAGE_EXECUTE_WRITECOPY;
  return (protect & kReadable) != 0;
}

// How many bytes from address on are readable within the region that holds address; 0 if none.
size_t ReadableSpan(const void* address) {
  MEMORY_BASIC_INFORMATION info{};
  if (::VirtualQuery(address, &info, sizeof(info)) != sizeof(info)) return 0;
  if (info.State != MEM_COMMIT || !IsReadableProtection(info.Protect)) return 0;
  const uintptr_t end = reinterpret_cast<uintptr_t>(info.BaseAddress) + info.RegionSize;
  return end - reinterpret_cast<uintptr_t>(address);
}

}  // namespace

bool IsReadableMemory(const void* address, size_t size) {
  if (!address) return false;
  auto at = reinterpret_cast<uintptr_t>(address);
  if (size > UINTPTR_MAX - at) return false;
  const uintptr_t end = at + size;
  while (at < end) {
    const size_t span = ReadableSpan(reinterpret_cast<const void*>(at));
    if (span == 0) return false;
    at += span;
  }
  return true;
}

bool ReadForeignText(const char* text, size_t maxBytes, std::string& out) {
  if (!text) return false;
  size_t scanned = 0;
  const char* at = text;
  while (scanned < maxBytes) {
    size_t span = ReadableSpan(at);
    if (span == 0) return false;
    if (span > maxBytes - scanned) span = maxBytes - scanned;
    if (const void* nul = std::memchr(at, '\0', span)) {
      out.assign(text, static_cast<const char*>(nul));
      return true;
    }
    scanned += span;
    at += span;
  }
  return false;
}

}  // namespace morvane
