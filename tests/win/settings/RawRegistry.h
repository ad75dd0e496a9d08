#pragma once
// Direct registry access for the tests, beside the code under test: to plant values of any kind
// and to see exactly what was stored.
#include <windows.h>

#include <optional>
#include <string>
#include <vector>

namespace morvane::test {

struct RawValue {
  DWORD type = REG_NONE;
  std::vector<BYTE> bytes;
};

// Removes HKCU\<path> with everything below it; a missing key is fine.
void DeleteUserKeyTree(const wchar_t* path);
bool UserKeyExists(const std::wstring& path);

// Creates HKCU\<path> when needed and stores the bytes under the given type.
void PutRaw(const std::wstring& path, const wchar_t* name, DWORD type, const void* data,
            DWORD size);
void PutDword(const std::wstring& path, const wchar_t* name, DWORD value);
void PutText(const std::wstring& path, const wchar_t* name, const std::wstring& text,
             DWORD type = REG_SZ);
void DeleteRawValue(const std::wstring& path, const wchar_t* name);
std::optional<RawValue> GetRaw(const std::wstring& path, const wchar_t* name);
DWORD CountValues(const std::wstring& path);

}  // namespace morvane::test
