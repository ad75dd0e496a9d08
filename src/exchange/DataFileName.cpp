#include "exchange/DataFileName.h"

#include <cstdint>

#include "exchange/FileNamePart.h"

namespace morvane {

CounterFormat CounterFormatFor(int colNumberIndex) {
  switch (colNumberIndex) {
    case 0:
      return {1, 9};
    case 1:
      return {2, 99};
    case 2:
      return {3, 999};
    case 3:
      return {4, 9999};
    case 4:
      return {5, 99999};
    default:
      return {0, 99999};
  }
}

std::wstring FormatCounter(int value, const CounterFormat& format) {
  // Widened so that the smallest int has a magnitude too.
  const int64_t wide = value;
  const bool negative = wide < 0;
  std::wstring digits = std::to_wstring(negative ? -wide : wide);
  const size_t width = static_cast<size_t>(format.digits);
  const size_t used = digits.size() + (negative ? 1 : 0);
  if (used < width) digits.insert(0, width - used, L'0');
  return negative ? L"-" + digits : digits;
}

std::wstring FormatFileNameTime(const UtcTime& t) {
  return std::to_wstring(t.day) + L'.' + std::to_wstring(t.month) + L'.' + std::to_wstring(t.year) +
         L' ' + std::to_wstring(t.hour) + L'-' + std::to_wstring(t.minute) + L'-' +
         std::to_wstring(t.second);
}

std::wstring BuildDataFileName(ServerSettings& settings, const std::wstring& serial,
                               const std::wstring& baseNumber, const UtcTime& now) {
  std::wstring name;
  const std::wstring& first = IsSet(settings.SNFileName) ? serial : settings.PreficsFileName;
  if (!first.empty()) name += SafeFileNamePart(first) + L'_';
  if (IsSet(settings.AddNumberBD)) name += L"Base" + SafeFileNamePart(baseNumber) + L'_';
  if (IsSet(settings.SuffiksRadio)) {
    const CounterFormat format = CounterFormatFor(settings.ColNumberIndex);
    if (settings.SuffiksIndex > format.largest) settings.SuffiksIndex = 1;
    name += FormatCounter(settings.SuffiksIndex, format);
  } else {
    name += FormatFileNameTime(now);
  }
  name += L".txt";
  return name;
}

void AdvanceFileCounter(ServerSettings& settings) {
  const CounterFormat format = CounterFormatFor(settings.ColNumberIndex);
  const int64_t next = int64_t{settings.SuffiksIndex} + 1;
  settings.SuffiksIndex = next > format.largest ? 1 : static_cast<int>(next);
}

std::wstring BuildSampleFileName(const SampleNameChoices& choices, const UtcTime& now) {
  std::wstring sample = L"Образец: ";
  if (choices.serialNumber) {
    sample += L"SN1234567_";
  } else if (!choices.fixedName.empty()) {
    sample += choices.fixedName + L'_';
  }
  if (choices.addBaseNumber) sample += L"Base1_";
  if (choices.counterSuffix) {
    if (choices.digitIndex >= 0 && choices.digitIndex <= 4)
      sample += FormatCounter(choices.startNumber, CounterFormatFor(choices.digitIndex));
  } else {
    sample += FormatFileNameTime(now);
  }
  sample += L".txt";
  return sample;
}

}  // namespace morvane
