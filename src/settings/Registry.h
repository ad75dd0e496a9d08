#pragma once
// All registry access of the server goes through one CRegistry: a root key, at most one open key
// below it, and reads and writes of that key's values. Nothing here shows a message; callers
// treat a failed value call as the end of what they were doing.
#include <windows.h>

#include <string>

#include "framework/ScopedResource.h"

namespace morvane {

// The registry's value types as this class reports them.
enum RegistryValueKind : int {
  kRegNone = 0,  // none, or a type not listed here
  kRegString = 1,
  kRegExpandString = 2,
  kRegDword = 3,
  kRegBinary = 4,
  kRegMultiString = 5,
};

class CRegistry {
 public:
  CRegistry() = default;
  ~CRegistry() { Close(); }

  CRegistry(const CRegistry&) = delete;
  CRegistry& operator=(const CRegistry&) = delete;

  // Makes root (a predefined key) the base of relative paths; an open key is closed first.
  void SetRootKey(HKEY root);
  HKEY RootKey() const { return m_hRootKey; }

  // Opens, or with create creates, a key. A path that begins with a backslash is taken from the
  // root; any other path from the open key when there is one, else from the root. On success the
  // new key replaces the open one; on failure the open key stays as it was.
  bool Open(const std::wstring& path, bool create);
  void Close();

  // The open key (null when none), e.g. for RegDeleteValueW, and its path below the root.
  HKEY Key() const { return m_key.Get(); }
  const std::wstring& KeyPath() const { return m_keyPath; }

  // Whether the value exists, with its kind and its size in bytes.
  bool QueryValueInfo(const wchar_t* name, RegistryValueKind& kind, DWORD& size) const;
  // Reads the value into buffer; size is the buffer's size in bytes on entry and the number of
  // bytes read on return. False (missing value, buffer too small, no key open): a value failure.
  bool ReadValue(const wchar_t* name, void* buffer, DWORD& size, RegistryValueKind& kind) const;
  // A missing or empty value reads as the empty text. A REG_SZ or REG_EXPAND_SZ value (the latter
  // unexpanded) is cut at its first zero character. Any other kind is a value failure (false).
  bool ReadString(const wchar_t* name, std::wstring& text) const;

  bool WriteString(const wchar_t* name, const std::wstring& text);
  bool WriteDword(const wchar_t* name, DWORD value);

 private:
  HKEY m_hRootKey = HKEY_CURRENT_USER;
  REGSAM m_samAccess = KEY_ALL_ACCESS;
  ScopedKey m_key;
  std::wstring m_keyPath;
  // Closing without RegFlushKey leaves the writing to the system, which is always good enough
  // for a handful of options; nothing clears it.
  bool m_bLazyWrite = true;
};

}  // namespace morvane
