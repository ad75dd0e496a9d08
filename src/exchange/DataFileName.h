#pragma once
// Names of the separate upload files: the serial number or a fixed name, optionally the base
// number, then a counter or the UTC date and time, then ".txt". The options dialog's live sample
// is built from the same pieces.
#include <string>

#include "base/UtcTime.h"
#include "settings/ServerSettings.h"

namespace morvane {

// The counter's digit count, by ColNumberIndex: 0..4 stand for 1..5 digits; any other index
// prints the number as it is and wraps after 99999.
struct CounterFormat {
  int digits;   // zero-padded width; 0 = no padding
  int largest;  // above this the counter starts again at 1
};
CounterFormat CounterFormatFor(int colNumberIndex);

// The counter in a format: padded with leading zeros to the digit count (after the sign of a
// negative number), a longer number in full.
std::wstring FormatCounter(int value, const CounterFormat& format);

// "d.m.yyyy h-m-s", no leading zeros.
std::wstring FormatFileNameTime(const UtcTime& time);

// The name of a separate upload file. In counter mode SuffiksIndex is first set back to 1 when it
// is above the largest number of the digit count. Serial and base number come from the terminal
// and are made safe for a file name (SafeFileNamePart), as is the fixed name.
std::wstring BuildDataFileName(ServerSettings& settings, const std::wstring& serial,
                               const std::wstring& baseNumber, const UtcTime& now);

// After a successful counted upload: SuffiksIndex + 1, back to 1 above the largest number.
void AdvanceFileCounter(ServerSettings& settings);

// What the Upload page shows under its naming controls; the page's current (not yet applied)
// values, with placeholders for the terminal.
struct SampleNameChoices {
  bool serialNumber = true;  // "Серийный номер ТСД" selected, else the fixed name
  std::wstring fixedName;
  bool addBaseNumber = false;
  bool counterSuffix = true;  // "Суффикс" selected, else date and time
  int digitIndex = -1;        // selected item of the digit list; -1 when none is selected
  int startNumber = 1;
};
// "Образец: " and the name. Unlike an upload name: placeholders "SN1234567" and "Base1", the
// serial placeholder always shown, the start number shown without the reset to 1, and no last
// part when no digit count is selected.
std::wstring BuildSampleFileName(const SampleNameChoices& choices, const UtcTime& now);

}  // namespace morvane
