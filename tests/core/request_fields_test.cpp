#include "exchange/RequestFields.h"

#include <gtest/gtest.h>

namespace morvane {

TEST(RequestFields, DownloadSplitsThreeFieldsAndKeepsTheRest) {
  DownloadFields f = SplitDownloadData(L"10.0.0.7,2,0,A1B2C3");
  EXPECT_EQ(f.ip, L"10.0.0.7");
  EXPECT_EQ(f.baseNumber, L"2");
  EXPECT_EQ(f.unused, L"0");
  EXPECT_EQ(f.serial, L"A1B2C3");

  f = SplitDownloadData(L"1,2,3,4,5");
  EXPECT_EQ(f.serial, L"4,5") << "the last field takes the remainder, commas included";
}

TEST(RequestFields, MissingCommasLeaveEmptyFieldsAndTheWholeTextLast) {
  DownloadFields d = SplitDownloadData(L"A1B2C3");
  EXPECT_EQ(d.ip, L"");
  EXPECT_EQ(d.baseNumber, L"");
  EXPECT_EQ(d.serial, L"A1B2C3");

  UploadFields u = SplitUploadData(L"A1B2C3");
  EXPECT_EQ(u.ip + u.baseNumber + u.extra + u.dataKind, L"");
  EXPECT_EQ(u.serial, L"A1B2C3");

  u = SplitUploadData(L"ip,7");
  EXPECT_EQ(u.ip, L"ip");
  EXPECT_EQ(u.baseNumber, L"");
  EXPECT_EQ(u.serial, L"7") << "no comma after 7: the field is empty and 7 stays the remainder";
}

TEST(RequestFields, UploadSplitsFourFieldsAndKeepsTheRest) {
  UploadFields u = SplitUploadData(L"1,2,3,4,5,6");
  EXPECT_EQ(u.ip, L"1");
  EXPECT_EQ(u.baseNumber, L"2");
  EXPECT_EQ(u.extra, L"3");
  EXPECT_EQ(u.dataKind, L"4");
  EXPECT_EQ(u.serial, L"5,6");

  u = SplitUploadData(L",,,,");
  EXPECT_EQ(u.ip + u.baseNumber + u.extra + u.dataKind + u.serial, L"");
}

TEST(RequestFields, NoTrimmingOrQuoting) {
  UploadFields u = SplitUploadData(L" 1 ,\"2\",,1, SN ");
  EXPECT_EQ(u.ip, L" 1 ");
  EXPECT_EQ(u.baseNumber, L"\"2\"");
  EXPECT_EQ(u.serial, L" SN ");
}

}  // namespace morvane
