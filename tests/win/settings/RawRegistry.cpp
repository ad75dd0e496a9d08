#include "RawRegistry.h"

#include <gtest/gtest.h>

#include "framework/ScopedResource.h"

namespace morvane::test {
namespace {

ScopedKey CreateUserKey(const std::wstring& path) {
  ScopedKey key;
  EXPECT_EQ(::RegCreateKeyExW(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS,
                              nullptr, key.Receive(), nullptr),
            ERROR_SUCCESS)
      << "cannot create HKCU\\" << std::string(path.begin(), path.end());
  return key;
}

ScopedKey OpenUserKey(const std::wstring& path) {
  ScopedKey key;
  if (::RegOpenKeyExW(HKEY_CURRENT_USER, path.c_str(), 0, KEY_READ, key.Receive()) != ERROR_SUCCESS)
    key.Reset();
  return key;
}

}  // namespace

void DeleteUserKeyTree(const wchar_t* path) {
  const LSTATUS status = ::RegDeleteTreeW(HKEY_CURRENT_USER, path);
  ASSERT_TRUE(status == ERROR_SUCCESS || status == ERROR_FILE_NOT_FOUND) << status;
  ::RegDeleteKeyW(HKEY_CURRENT_USER, path);  // RegDeleteTreeW leaves the key itself
  ASSERT_FALSE(UserKeyExists(path));
}

bool UserKeyExists(const std::wstring& path) {
  return OpenUserKey(path).IsValid();
}

void PutRaw(const std::wstring& path, const wchar_t* name, DWORD type, const void* data,
            DWORD size) {
  ScopedKey key = CreateUserKey(path);
  ASSERT_EQ(::RegSetValueExW(key.Get(), name, 0, type, static_cast<const BYTE*>(data), size),
            ERROR_SUCCESS);
}

void PutDword(const std::wstring& path, const wchar_t* name, DWORD value) {
  PutRaw(path, name, REG_DWORD, &value, sizeof(value));
}

void PutText(const std::wstring& path, const wchar_t* name, const std::wstring& text, DWORD type) {
  PutRaw(path, name, type, text.c_str(), static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
}

void DeleteRawValue(const std::wstring& path, const wchar_t* name) {
  ScopedKey key = CreateUserKey(path);
  ASSERT_EQ(::RegDeleteValueW(key.Get(), name), ERROR_SUCCESS);
}

std::optional<RawValue> GetRaw(const std::wstring& path, const wchar_t* name) {
  ScopedKey key = OpenUserKey(path);
  if (!key) return std::nullopt;
  RawValue value;
  DWORD size = 0;
  if (::RegQueryValueExW(key.Get(), name, nullptr, &value.type, nullptr, &size) != ERROR_SUCCESS)
    return std::nullopt;
  value.bytes.resize(size);
  if (::RegQueryValueExW(key.Get(), name, nullptr, &value.type, value.bytes.data(), &size) !=
      ERROR_SUCCESS)
    return std::nullopt;
  value.bytes.resize(size);
  return value;
}

DWORD CountValues(const std::wstring& path) {
  ScopedKey key = OpenUserKey(path);
  DWORD values = 0;
  if (key)
    ::RegQueryInfoKeyW(key.Get(), nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &values,
                       nullptr, nullptr, nullptr, nullptr);
  return values;
}

}  // namespace morvane::test
