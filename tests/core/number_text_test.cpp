#include "base/NumberText.h"

#include <gtest/gtest.h>

namespace morvane {

TEST(StrToIntRule, ReadsSignAndLeadingDigitsOnly) {
  EXPECT_EQ(StrToIntRule(L"2"), 2);
  EXPECT_EQ(StrToIntRule(L"-17abc"), -17);
  EXPECT_EQ(StrToIntRule(L"05"), 5);
  EXPECT_EQ(StrToIntRule(L"x1"), 0);
  EXPECT_EQ(StrToIntRule(L""), 0);
  EXPECT_EQ(StrToIntRule(L" 3"), 0) << "no blanks are skipped";
  EXPECT_EQ(StrToIntRule(L"-"), 0);
}

TEST(StrToIntRule, OverflowWrapsInsteadOfTrapping) {
  EXPECT_EQ(StrToIntRule(L"2147483647"), 2147483647);
  EXPECT_EQ(StrToIntRule(L"-2147483648"), -2147483647 - 1);
  EXPECT_EQ(StrToIntRule(L"4294967297"), 1);
}

TEST(StrToIntExRule, SkipsBlanksAndTakesOneSign) {
  int value = 42;
  EXPECT_TRUE(StrToIntExRule(L"  +7.txt", value));
  EXPECT_EQ(value, 7);
  EXPECT_TRUE(StrToIntExRule(L"-2.txt", value));
  EXPECT_EQ(value, -2);
  value = 42;
  EXPECT_FALSE(StrToIntExRule(L"x.txt", value));
  EXPECT_FALSE(StrToIntExRule(L"", value));
  EXPECT_FALSE(StrToIntExRule(L"--1", value));
  EXPECT_EQ(value, 42) << "a failed reading leaves the value alone";
}

}  // namespace morvane
