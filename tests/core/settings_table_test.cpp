#include "settings/SettingsTable.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

namespace morvane {
namespace {

// A wrong position would silently move a value in a sequence or drop it from it.
TEST(SettingsTable, LoadAndSavePositionsAreEachAFullPermutation) {
  std::set<int> load;
  std::set<int> save;
  for (const SettingEntry& entry : SettingsTable()) {
    load.insert(entry.loadPosition);
    save.insert(entry.savePosition);
  }
  ASSERT_EQ(load.size(), 39u);
  ASSERT_EQ(save.size(), 39u);
  EXPECT_EQ(*load.begin(), 1);
  EXPECT_EQ(*load.rbegin(), 39);
  EXPECT_EQ(*save.begin(), 1);
  EXPECT_EQ(*save.rbegin(), 39);
}

// Two entries on one field would load one option into another's place.
TEST(SettingsTable, EveryFieldAndNameAppearsOnceWithTheMemberItsKindNeeds) {
  std::set<std::wstring> names;
  ServerSettings record;  // distinct fields have distinct addresses in one record
  std::set<const void*> numbers;
  std::set<const void*> texts;
  int components = 0;
  for (const SettingEntry& entry : SettingsTable()) {
    names.insert(entry.name);
    switch (entry.kind) {
      case SettingKind::kFlag:
      case SettingKind::kCount:
        ASSERT_NE(entry.number, nullptr) << entry.name;
        EXPECT_TRUE(numbers.insert(&(record.*entry.number)).second) << entry.name;
        break;
      case SettingKind::kText:
        ASSERT_NE(entry.text, nullptr) << entry.name;
        EXPECT_TRUE(texts.insert(&(record.*entry.text)).second) << entry.name;
        break;
      case SettingKind::kComponent:
        ASSERT_NE(entry.putToComponent, nullptr) << entry.name;
        ASSERT_NE(entry.getFromComponent, nullptr) << entry.name;
        ++components;
        break;
    }
  }
  EXPECT_EQ(names.size(), 39u);
  EXPECT_EQ(numbers.size(), 22u);
  EXPECT_EQ(texts.size(), 14u);
  EXPECT_EQ(components, 3);
}

// The counts are the only numbers that load unchanged; every other number is a flag.
TEST(SettingsTable, OnlyTheThreeCountsAreCounts) {
  std::set<std::wstring> counts;
  for (const SettingEntry& entry : SettingsTable())
    if (entry.kind == SettingKind::kCount) counts.insert(entry.name);
  EXPECT_EQ(counts,
            (std::set<std::wstring>{L"AlphaBlendsCount", L"ColNumberIndex", L"SuffiksIndex"}));
}

TEST(ServerSettings, DefaultsOfAFirstStart) {
  const ServerSettings s;
  for (const SettingEntry& entry : SettingsTable()) {
    if (entry.kind == SettingKind::kText) {
      EXPECT_TRUE((s.*entry.text).empty()) << entry.name;
    }
  }
  EXPECT_EQ(s.OneFileForAllTSD, 1);
  EXPECT_EQ(s.OneFileForAll_TSD, 1);
  EXPECT_EQ(s.MinimizeToTray, 1);
  EXPECT_EQ(s.AlphaBlendsCount, 255);
  EXPECT_EQ(s.ColNumberIndex, 4);
  EXPECT_EQ(s.SuffiksIndex, 1);
  EXPECT_EQ(s.SNFileName, 1);
  EXPECT_EQ(s.AddNumberBD, 1);
  EXPECT_EQ(s.SaveLogWhenQuite, 1);
  EXPECT_EQ(s.SaveLogOneFile, 1);
  const std::set<std::wstring> setByDefault = {
      L"OneFileForAllTSD", L"OneFileForAll_TSD", L"MinimizeToTray", L"SNFileName",
      L"AddNumberBD",      L"SaveLogWhenQuite",  L"SaveLogOneFile"};
  for (const SettingEntry& entry : SettingsTable()) {
    if (entry.kind == SettingKind::kFlag && !setByDefault.count(entry.name)) {
      EXPECT_EQ(s.*entry.number, 0) << entry.name;
    }
  }
}

}  // namespace
}  // namespace morvane
