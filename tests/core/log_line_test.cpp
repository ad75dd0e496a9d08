#include <gtest/gtest.h>

#include "log/LogLine.h"

namespace morvane {
namespace {

TEST(LogLine, UtcStampWithoutLeadingZeros) {
  EXPECT_EQ(FormatLogLine({2026, 12, 7, 9, 5, 3, 999}, L"Сервер запущен!"),
            L"7.12.2026 9:5:3 Сервер запущен!\r\n");
  EXPECT_EQ(FormatLogLine({2027, 1, 31, 23, 59, 0, 0}, L""), L"31.1.2027 23:59:0 \r\n");
}

TEST(LogLine, ControlCharactersNeverSplitALine) {
  const std::wstring message(L"SN: A\rB\nC\r\nD\tE\0F\x1b\x7fG", 19);
  const std::wstring line = FormatLogLine({2026, 1, 1, 0, 0, 0, 0}, message);
  EXPECT_EQ(line, L"1.1.2026 0:0:0 SN: A B C  D E F  G\r\n");
  EXPECT_EQ(line.find_first_of(L"\r\n"), line.size() - 2);
}

}  // namespace
}  // namespace morvane
