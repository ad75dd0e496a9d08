#pragma once
// Reading memory that another party handed us a pointer to (a copy-data payload). Such pointers
// are checked page by page before they are followed: a bad pointer is refused, never read.
#include <cstddef>
#include <string>

namespace morvane {

// True when [address, address + size) is committed, readable memory of this process.
bool IsReadableMemory(const void* address, size_t size);

// Reads the NUL-terminated 8-bit text at text. Fails for a null or unreadable pointer, and when no
// NUL comes within maxBytes bytes of readable memory.
bool ReadForeignText(const char* text, size_t maxBytes, std::string& out);

}  // namespace morvane
