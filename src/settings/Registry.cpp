#include "settings/Registry.h"

#include <vector>

namespace morvane {
namespace {

RegistryValueKind KindOf(DWORD type) {
  switch (type) {
    case REG_SZ:
      return kRegString;
    case REG_EXPAND_SZ:
      return kRegExpandString;
    case REG_DWORD:
      return kRegDword;
    case REG_BINARY:
      return kRegBinary;
    case REG_MULTI_SZ:
      return kRegMultiString;
    default:
      return kRegNone;
  }
}

}  // namespace

void CRegistry::SetRootKey(HKEY root) {
  if (root == m_hRootKey) return;
  Close();
  m_hRootKey = root;
}

bool CRegistry::Open(const std::wstring& path, bool create) {
  std::wstring subKey = path;
  const bool absolute = !subKey.empty() && subKey.front() == L'\\';
  if (absolute) subKey.erase(0, 1);
  const bool fromOpenKey = m_key.IsValid() && !absolute;
  const HKEY base = fromOpenKey ? m_key.Get() : m_hRootKey;

  ScopedKey opened;
  LSTATUS status;
  if (create && !subKey.empty()) {
    status = ::RegCreateKeyExW(base, subKey.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                               m_samAccess, nullptr, opened.Receive(), nullptr);
  } else {
    status = ::RegOpenKeyExW(base, subKey.c_str(), 0, m_samAccess, opened.Receive());
  }
  if (status != ERROR_SUCCESS) return false;

  std::wstring newPath = fromOpenKey ? m_keyPath + L"\\" + subKey : subKey;
  Close();
  m_key = std::move(opened);
  m_keyPath = std::move(newPath);
  return true;
}

void CRegistry::Close() {
  if (!m_key.IsValid()) return;
  if (!m_bLazyWrite) ::RegFlushKey(m_key.Get());
  m_key.Reset();
  m_keyPath.clear();
}

bool CRegistry::QueryValueInfo(const wchar_t* name, RegistryValueKind& kind, DWORD& size) const {
  if (!m_key.IsValid()) return false;
  DWORD type = REG_NONE;
  DWORD bytes = 0;
  if (::RegQueryValueExW(m_key.Get(), name, nullptr, &type, nullptr, &bytes) != ERROR_SUCCESS)
    return false;
  kind = KindOf(type);
  size = bytes;
  return true;
}

bool CRegistry::ReadValue(const wchar_t* name, void* buffer, DWORD& size,
                          RegistryValueKind& kind) const {
  if (!m_key.IsValid()) return false;
  DWORD type = REG_NONE;
  DWORD bytes = size;
  if (::RegQueryValueExW(m_key.Get(), name, nullptr, &type, static_cast<BYTE*>(buffer), &bytes) !=
      ERROR_SUCCESS) {
    return false;
  }
  kind = KindOf(type);
  size = bytes;
  return true;
}

bool CRegistry::ReadString(const wchar_t* name, std::wstring& text) const {
  RegistryValueKind kind = kRegNone;
  DWORD size = 0;
  if (!QueryValueInfo(name, kind, size) || size == 0) {
    text.clear();
    return true;
  }
  // Rounded up so that an odd byte count still fits.
  std::vector<wchar_t> characters((size + 1) / 2, L'\0');
  DWORD bytes = static_cast<DWORD>(characters.size() * sizeof(wchar_t));
  if (!ReadValue(name, characters.data(), bytes, kind)) return false;
  if (kind != kRegString && kind != kRegExpandString) return false;
  const size_t storedCharacters = bytes / sizeof(wchar_t);
  size_t length = 0;
  while (length < storedCharacters && characters[length] != L'\0')
    ++length;
  text.assign(characters.data(), length);
  return true;
}

bool CRegistry::WriteString(const wchar_t* name, const std::wstring& text) {
  if (!m_key.IsValid()) return false;
  const DWORD bytes = static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t));
  return ::RegSetValueExW(m_key.Get(), name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                          bytes) == ERROR_SUCCESS;
}

bool CRegistry::WriteDword(const wchar_t* name, DWORD value) {
  if (!m_key.IsValid()) return false;
  return ::RegSetValueExW(m_key.Get(), name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value),
                          sizeof(value)) == ERROR_SUCCESS;
}

}  // namespace morvane
