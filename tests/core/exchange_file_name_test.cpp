#include <gtest/gtest.h>

#include "exchange/DataFileName.h"
#include "exchange/FileNamePart.h"

namespace morvane {
namespace {

const UtcTime kNow{2026, 12, 7, 9, 5, 3, 45};

struct NamingCase {
  int snFileName;
  std::wstring serial;
  std::wstring prefics;
  int addNumberBD;
  std::wstring base;
  int suffiksRadio;
  int colNumberIndex;
  int suffiksIndex;
  std::wstring name;
  int indexAfterSuccess;
};

TEST(DataFileName, WorkedExamples) {
  const NamingCase cases[] = {
      {1, L"12345678", L"", 1, L"2", 1, 2, 7, L"12345678_Base2_007.txt", 8},
      {0, L"", L"Shop", 0, L"1", 0, 0, 5, L"Shop_7.12.2026 9-5-3.txt", 5},
      {1, L"", L"", 0, L"1", 1, 0, 12, L"1.txt", 2},
      {1, L"12345678", L"", 0, L"1", 1, 4, 123, L"12345678_00123.txt", 124},
      {1, L"12345678", L"", 0, L"1", 1, 1, 99, L"12345678_99.txt", 1},
  };
  for (const NamingCase& c : cases) {
    ServerSettings s;
    s.SNFileName = c.snFileName;
    s.PreficsFileName = c.prefics;
    s.AddNumberBD = c.addNumberBD;
    s.SuffiksRadio = c.suffiksRadio;
    s.ColNumberIndex = c.colNumberIndex;
    s.SuffiksIndex = c.suffiksIndex;
    EXPECT_EQ(BuildDataFileName(s, c.serial, c.base, kNow), c.name);
    if (IsSet(s.SuffiksRadio)) AdvanceFileCounter(s);
    EXPECT_EQ(s.SuffiksIndex, c.indexAfterSuccess) << c.name;
  }
}

TEST(DataFileName, CounterIsResetBeforeTheNameIsComposed) {
  ServerSettings s;
  s.SNFileName = 0;
  s.AddNumberBD = 0;
  s.SuffiksRadio = 1;
  s.ColNumberIndex = 1;
  s.SuffiksIndex = 100;
  EXPECT_EQ(BuildDataFileName(s, L"", L"", kNow), L"01.txt");
  EXPECT_EQ(s.SuffiksIndex, 1);

  s.ColNumberIndex = 2;
  s.SuffiksIndex = 999;
  EXPECT_EQ(BuildDataFileName(s, L"", L"", kNow), L"999.txt") << "the largest number stays";
  AdvanceFileCounter(s);
  EXPECT_EQ(s.SuffiksIndex, 1);
}

TEST(DataFileName, CounterOutsideTheTableAndBelowOne) {
  EXPECT_EQ(FormatCounter(7, CounterFormatFor(7)), L"7") << "no padding outside 0..4";
  EXPECT_EQ(FormatCounter(123456, CounterFormatFor(0)), L"123456") << "a longer number in full";
  EXPECT_EQ(FormatCounter(0, CounterFormatFor(2)), L"000");
  EXPECT_EQ(FormatCounter(-5, CounterFormatFor(2)), L"-05") << "printf pads after the sign";
  EXPECT_EQ(FormatCounter(-2147483647 - 1, CounterFormatFor(4)), L"-2147483648");

  ServerSettings s;
  s.ColNumberIndex = -1;
  s.SuffiksIndex = 99999;
  AdvanceFileCounter(s);
  EXPECT_EQ(s.SuffiksIndex, 1) << "wraps after 99999 outside the table";
  s.SuffiksIndex = -3;
  AdvanceFileCounter(s);
  EXPECT_EQ(s.SuffiksIndex, -2) << "values below 1 are not corrected";
  s.SuffiksIndex = 2147483647;
  AdvanceFileCounter(s);
  EXPECT_EQ(s.SuffiksIndex, 1) << "no overflow at the top";

  s.SNFileName = 1;
  s.AddNumberBD = 0;
  s.SuffiksRadio = 1;
  s.ColNumberIndex = 1;
  s.SuffiksIndex = 0;
  EXPECT_EQ(BuildDataFileName(s, L"S", L"1", kNow), L"S_00.txt");
  EXPECT_EQ(s.SuffiksIndex, 0);
}

TEST(DataFileName, DateModeAndEmptyParts) {
  ServerSettings s;
  s.SNFileName = 0;
  s.PreficsFileName = L"";
  s.AddNumberBD = 0;
  s.SuffiksRadio = 0;
  s.SuffiksIndex = 42;
  EXPECT_EQ(BuildDataFileName(s, L"12345678", L"1", kNow), L"7.12.2026 9-5-3.txt");
  EXPECT_EQ(BuildDataFileName(s, L"12345678", L"1", kNow), L"7.12.2026 9-5-3.txt")
      << "two uploads within one second get the same name";
  EXPECT_EQ(s.SuffiksIndex, 42) << "date mode leaves the counter alone";

  s.SNFileName = 1;
  s.AddNumberBD = 1;
  EXPECT_EQ(BuildDataFileName(s, L"SN", L"01a", kNow), L"SN_Base01a_7.12.2026 9-5-3.txt")
      << "the base number goes in as received";
}

TEST(DataFileName, TerminalTextsCannotLeaveTheFolder) {
  ServerSettings s;
  s.SNFileName = 1;
  s.AddNumberBD = 1;
  s.SuffiksRadio = 1;
  s.ColNumberIndex = 0;
  s.SuffiksIndex = 3;
  const std::wstring name = BuildDataFileName(s, L"..\\..\\Windows\\x", L"1/../../y", kNow);
  EXPECT_EQ(name, L".._.._Windows_x_Base1_.._.._y_3.txt");
  EXPECT_EQ(BuildDataFileName(s, L"C:evil", L"2", kNow), L"C_evil_Base2_3.txt");
  EXPECT_EQ(BuildDataFileName(s, L"a*b?\"<>|\r\n", L"1", kNow), L"a_b________Base1_3.txt");

  s.SNFileName = 0;
  s.PreficsFileName = L"..\\up";  // stored by hand past the options dialog's filter
  EXPECT_EQ(BuildDataFileName(s, L"", L"1", kNow), L".._up_Base1_3.txt");
}

TEST(FileNamePart, ValidNamesStayAsTheyAre) {
  EXPECT_EQ(SafeFileNamePart(L"12345678"), L"12345678");
  EXPECT_EQ(SafeFileNamePart(L"Склад 1.v2 (A)"), L"Склад 1.v2 (A)");
  EXPECT_EQ(SafeFileNamePart(L""), L"");
  EXPECT_EQ(SafeFileNamePart(std::wstring(L"a\0b\x7f", 4)), L"a_b_");
}

TEST(SampleFileName, AsTheUploadPageShowsIt) {
  SampleNameChoices c;
  c.serialNumber = true;
  c.addBaseNumber = true;
  c.counterSuffix = true;
  c.digitIndex = 2;
  c.startNumber = 7;
  EXPECT_EQ(BuildSampleFileName(c, kNow), L"Образец: SN1234567_Base1_007.txt");

  c.startNumber = 1500;
  c.digitIndex = 0;
  EXPECT_EQ(BuildSampleFileName(c, kNow), L"Образец: SN1234567_Base1_1500.txt")
      << "the start number is shown without the reset to 1";
  c.startNumber = 0;
  c.digitIndex = 1;
  EXPECT_EQ(BuildSampleFileName(c, kNow), L"Образец: SN1234567_Base1_00.txt");

  c.digitIndex = -1;
  EXPECT_EQ(BuildSampleFileName(c, kNow), L"Образец: SN1234567_Base1_.txt")
      << "no digit count selected: no last part";

  c.serialNumber = false;
  c.fixedName = L"";
  c.digitIndex = 2;
  c.startNumber = 7;
  EXPECT_EQ(BuildSampleFileName(c, kNow), L"Образец: Base1_007.txt");

  c.fixedName = L"Data";
  c.addBaseNumber = false;
  c.counterSuffix = false;
  EXPECT_EQ(BuildSampleFileName(c, kNow), L"Образец: Data_7.12.2026 9-5-3.txt");
}

}  // namespace
}  // namespace morvane
