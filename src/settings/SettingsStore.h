#pragma once
// What the settings sequences need from the place the options are kept. The Win32 side puts the
// registry behind it; tests put a map behind it. A call that returns false is a value failure,
// never shown: the load goes on with the next value, the save stops there.
#include <string>

namespace morvane {

class ISettingsStore {
 public:
  virtual ~ISettingsStore() = default;

  // Opens (or, with create, creates) the settings key. False: the sequence does nothing.
  virtual bool OpenSettingsKey(bool create) = 0;
  virtual void CloseSettingsKey() = 0;

  // A stored 32-bit number. Fails when the value is missing or is not exactly one number.
  virtual bool ReadNumber(const wchar_t* name, int& value) = 0;
  // A stored text. A missing value is the empty text, not a failure; a value of another kind is.
  virtual bool ReadText(const wchar_t* name, std::wstring& text) = 0;

  virtual bool WriteNumber(const wchar_t* name, int value) = 0;
  virtual bool WriteText(const wchar_t* name, const std::wstring& text) = 0;
};

}  // namespace morvane
