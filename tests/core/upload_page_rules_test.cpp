#include <gtest/gtest.h>

#include "options/UploadPageRules.h"

namespace morvane {
namespace {

TEST(UploadPageRules, PrefixLosesExactlyTheNineCharacters) {
  EXPECT_EQ(CleanFileNamePrefix(L"a:b*c?"), L"abc");
  EXPECT_EQ(CleanFileNamePrefix(L"\\/:*?\"<>|"), L"");
  EXPECT_EQ(CleanFileNamePrefix(L"Склад 1.2_(a)+b;c,d'e"), L"Склад 1.2_(a)+b;c,d'e");
  EXPECT_EQ(CleanFileNamePrefix(L"::x||y"), L"xy");
}

struct Reading {
  std::wstring text;
  StartNumberReading outcome;
  int number;  // after reading, starting from 77
};

TEST(UploadPageRules, StartNumberReading) {
  const Reading cases[] = {
      {L"", StartNumberReading::NotANumber, 77},
      {L"   ", StartNumberReading::NotANumber, 77},
      {L"-", StartNumberReading::NotANumber, 77},
      {L"x12", StartNumberReading::NotANumber, 77},
      {L"12", StartNumberReading::Number, 12},
      {L"  +7abc", StartNumberReading::Number, 7},
      {L"\t99999", StartNumberReading::Number, 99999},
      {L"1", StartNumberReading::Number, 1},
      {L"0", StartNumberReading::OutOfRange, 0},
      {L"100000", StartNumberReading::OutOfRange, 100000},
      {L"-5", StartNumberReading::OutOfRange, -5},
      {L"99999999999999999999", StartNumberReading::OutOfRange, 2147483647},
      {L"-99999999999999999999", StartNumberReading::OutOfRange, -2147483647 - 1},
      // Only the first 63 characters are read: the digit after them does not count.
      {std::wstring(63, L' ') + L"5", StartNumberReading::NotANumber, 77},
  };
  for (const Reading& c : cases) {
    int number = 77;
    EXPECT_EQ(ReadStartNumber(c.text, number), c.outcome) << "text: [" << c.text.size() << "]";
    EXPECT_EQ(number, c.number);
  }
}

TEST(UploadPageRules, DigitListCutsTheStartNumberText) {
  EXPECT_EQ(CutStartNumberText(L"150", 0), L"1");
  EXPECT_EQ(CutStartNumberText(L"12345", 1), L"12");
  EXPECT_EQ(CutStartNumberText(L"1", 4), L"1");
  EXPECT_EQ(CutStartNumberText(L"150", -1), L"150");
}

TEST(UploadPageRules, FilterBarsBecomeSeparators) {
  const std::wstring filter =
      FileDialogFilter(L" Текстовый Файл (TXT) |*.txt| Все файлы (*.*) |*.*||");
  const wchar_t expected[] = L" Текстовый Файл (TXT) \0*.txt\0 Все файлы (*.*) \0*.*\0\0";
  EXPECT_EQ(filter, std::wstring(expected, sizeof(expected) / sizeof(wchar_t) - 1));
}

}  // namespace
}  // namespace morvane
