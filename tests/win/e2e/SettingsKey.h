#pragma once
// The server's settings key in the real registry, as a test prepares it before the program starts
// and reads it back after the program has closed.
#include <windows.h>

#include <map>
#include <optional>
#include <string>

namespace morvane::e2e {

inline constexpr wchar_t kSettingsKeyPath[] = L"Morvane\\Options\\Software";

// Every value the server loads, with the server's own defaults. Loading stops at the first missing
// number, so a test always writes the whole set and changes only what its case needs.
class SettingsKey {
 public:
  SettingsKey();

  SettingsKey& Set(const std::wstring& name, DWORD number);
  SettingsKey& Set(const std::wstring& name, const std::wstring& text);

  // Replaces the key in HKCU with exactly these values. False when the registry refused.
  bool Write() const;

  // Removes the key and its parents that only held it.
  static void Remove();
  static std::optional<DWORD> ReadNumber(const std::wstring& name);
  static std::optional<std::wstring> ReadText(const std::wstring& name);

 private:
  std::map<std::wstring, DWORD> numbers_;
  std::map<std::wstring, std::wstring> texts_;
};

}  // namespace morvane::e2e
