#include "SettingsKey.h"

#include <vector>

#include "framework/ScopedResource.h"

namespace morvane::e2e {

namespace {

ScopedKey OpenSettingsKey() {
  ScopedKey key;
  if (::RegOpenKeyExW(HKEY_CURRENT_USER, kSettingsKeyPath, 0, KEY_READ, key.Receive()) !=
      ERROR_SUCCESS) {
    key.Reset();
  }
  return key;
}

}  // namespace

SettingsKey::SettingsKey()
    : numbers_{
          {L"OneFileForAllTSD", 1},
          {L"StartAppBeforeDownload", 0},
          {L"StartAppAfterDownload", 0},
          {L"OneFileForAll_TSD", 1},
          {L"MinimizeToTray", 1},
          {L"AlphaBlends", 0},
          {L"AlphaBlendsCount", 255},
          {L"ColNumberIndex", 4},
          {L"SuffiksIndex", 1},
          {L"DeleteFileBeforeDownload", 0},
          {L"SaveLogWhenQuite", 1},
          {L"SaveLogOneFile", 1},
          {L"Port", 5000},
          {L"Delay", 5000},
          {L"Delimiter", 59},
          {L"StarAppBeforeUpload", 0},
          {L"StarAppAfterUpload", 0},
          {L"AutoRun", 0},
          {L"ClearBDAfterUpload", 0},
          {L"ClearFilesAfterUpload", 0},
          {L"SNFileName", 1},
          {L"SuffiksRadio", 0},
          {L"AutoConnect", 0},
          {L"AddNumberBD", 1},
          {L"MinimizeToTaryWhenStart", 0},
      },
      texts_{
          {L"DirectoryLog", L""},
          {L"StartAppBeforeDownloadPath", L""},
          {L"StartAppAfterDownloadPath", L""},
          {L"BaseFile1PathEdit", L""},
          {L"BaseFile2PathEdit", L""},
          {L"BaseFile3PathEdit", L""},
          {L"BaseFile4PathEdit", L""},
          {L"BaseFile5PathEdit", L""},
          {L"DirectoryWithBasaPath", L""},
          {L"FileNameForUpload", L""},
          {L"DirectoryForUpload", L""},
          {L"StartAppBeforeUploadPath", L""},
          {L"StartAppAfterUploadPath", L""},
          {L"PreficsFileName", L""},
      } {}

SettingsKey& SettingsKey::Set(const std::wstring& name, DWORD number) {
  numbers_[name] = number;
  return *this;
}

SettingsKey& SettingsKey::Set(const std::wstring& name, const std::wstring& text) {
  texts_[name] = text;
  return *this;
}

bool SettingsKey::Write() const {
  Remove();
  ScopedKey key;
  if (::RegCreateKeyExW(HKEY_CURRENT_USER, kSettingsKeyPath, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                        key.Receive(), nullptr) != ERROR_SUCCESS) {
    return false;
  }
  for (const auto& [name, number] : numbers_) {
    if (::RegSetValueExW(key.Get(), name.c_str(), 0, REG_DWORD,
                         reinterpret_cast<const BYTE*>(&number), sizeof number) != ERROR_SUCCESS) {
      return false;
    }
  }
  for (const auto& [name, text] : texts_) {
    const DWORD bytes = static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t));
    if (::RegSetValueExW(key.Get(), name.c_str(), 0, REG_SZ,
                         reinterpret_cast<const BYTE*>(text.c_str()), bytes) != ERROR_SUCCESS) {
      return false;
    }
  }
  return true;
}

void SettingsKey::Remove() {
  ::RegDeleteTreeW(HKEY_CURRENT_USER, L"Morvane");
  ::RegDeleteKeyW(HKEY_CURRENT_USER, L"Morvane");  // RegDeleteTreeW leaves the key itself
}

std::optional<DWORD> SettingsKey::ReadNumber(const std::wstring& name) {
  const ScopedKey key = OpenSettingsKey();
  DWORD type = 0;
  DWORD value = 0;
  DWORD size = sizeof value;
  if (!key ||
      ::RegQueryValueExW(key.Get(), name.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(&value),
                         &size) != ERROR_SUCCESS ||
      type != REG_DWORD || size != sizeof value) {
    return std::nullopt;
  }
  return value;
}

std::optional<std::wstring> SettingsKey::ReadText(const std::wstring& name) {
  const ScopedKey key = OpenSettingsKey();
  DWORD type = 0;
  DWORD size = 0;
  if (!key ||
      ::RegQueryValueExW(key.Get(), name.c_str(), nullptr, &type, nullptr, &size) !=
          ERROR_SUCCESS ||
      type != REG_SZ) {
    return std::nullopt;
  }
  std::vector<wchar_t> text(size / sizeof(wchar_t) + 1, L'\0');
  if (::RegQueryValueExW(key.Get(), name.c_str(), nullptr, &type,
                         reinterpret_cast<BYTE*>(text.data()), &size) != ERROR_SUCCESS) {
    return std::nullopt;
  }
  return std::wstring(text.data());
}

}  // namespace morvane::e2e
