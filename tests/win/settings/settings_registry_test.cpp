// LoadSettings and SaveSettings against wine's registry: the real key under HKEY_CURRENT_USER of
// the test prefix, emptied before and after every test.
#include <gtest/gtest.h>

#include <iterator>
#include <optional>

#include "RawRegistry.h"
#include "settings/RegistrySettings.h"
#include "settings/SettingsTable.h"

namespace morvane {
namespace {

constexpr wchar_t kKey[] = L"Morvane\\Options\\Software";

// Holds Port, Delay and Delimiter as the component does. Its own start values are not ones the
// registry would give.
class FakeComponent : public ITerminalComponent {
 public:
  int port = 7001, delay = 7002, delimiter = 7003;
  int calls = 0;

  bool SetPort(int v) override { return Put(port, v); }
  bool GetPort(int& v) override { return Get(port, v); }
  bool SetDelay(int v) override { return Put(delay, v); }
  bool GetDelay(int& v) override { return Get(delay, v); }
  bool SetDelimiter(int v) override { return Put(delimiter, v); }
  bool GetDelimiter(int& v) override { return Get(delimiter, v); }
  int Attach() override { return Unexpected(); }
  bool Detach() override { return Unexpected(); }
  int SendFile(const std::wstring&, int) override { return Unexpected(); }
  int GetFile(const std::wstring&, int, int, int) override { return Unexpected(); }
  bool SetDeleteUploadedData(int) override { return Unexpected(); }
  bool GetErrorCode(int&) override { return Unexpected(); }
  bool GetErrorDescription(std::wstring&) override { return Unexpected(); }

 private:
  bool Put(int& field, int v) {
    ++calls;
    field = v;
    return true;
  }
  bool Get(int field, int& v) {
    ++calls;
    v = field;
    return true;
  }
  static int Unexpected() {
    ADD_FAILURE() << "the settings must not call this";
    return 0;
  }
};

// Every field away from its default: flags inverted, counts and texts of their own.
ServerSettings ChangedSettings() {
  ServerSettings s;
  int count = 300;
  for (const SettingEntry& entry : SettingsTable()) {
    switch (entry.kind) {
      case SettingKind::kFlag:
        s.*entry.number = 1 - s.*entry.number;
        break;
      case SettingKind::kCount:
        s.*entry.number = count++;
        break;
      case SettingKind::kText:
        s.*entry.text = std::wstring(L"C:\\Папка\\") + entry.name + L".txt";
        break;
      case SettingKind::kComponent:
        break;
    }
  }
  return s;
}

void ExpectSameSettings(const ServerSettings& actual, const ServerSettings& expected) {
  for (const SettingEntry& entry : SettingsTable()) {
    if (entry.kind == SettingKind::kText) {
      EXPECT_EQ(actual.*entry.text, expected.*entry.text) << entry.name;
    } else if (entry.kind != SettingKind::kComponent) {
      EXPECT_EQ(actual.*entry.number, expected.*entry.number) << entry.name;
    }
  }
}

class SettingsRegistryTest : public ::testing::Test {
 protected:
  void SetUp() override { test::DeleteUserKeyTree(L"Morvane"); }
  void TearDown() override { test::DeleteUserKeyTree(L"Morvane"); }

  // A key as a save of ChangedSettings() leaves it, with the component at 2000 / 3000 / 44.
  void StoreChangedSettings() {
    FakeComponent component;
    component.port = 2000;
    component.delay = 3000;
    component.delimiter = 44;
    SaveSettings(&registry, ChangedSettings(), &component);
    ASSERT_EQ(test::CountValues(kKey), 39u);
  }

  CRegistry registry;
};

TEST_F(SettingsRegistryTest, FirstStartKeepsTheDefaultsAndTheComponentsOwnValues) {
  ServerSettings settings;
  FakeComponent component;
  LoadSettings(&registry, settings, &component);
  ExpectSameSettings(settings, ServerSettings{});
  EXPECT_EQ(component.calls, 0);
  EXPECT_FALSE(test::UserKeyExists(kKey)) << "a load never creates the key";
  EXPECT_EQ(registry.Key(), nullptr);
}

TEST_F(SettingsRegistryTest, WithoutARegistryObjectNothingHappens) {
  ServerSettings settings = ChangedSettings();
  FakeComponent component;
  SaveSettings(nullptr, settings, &component);
  EXPECT_FALSE(test::UserKeyExists(kKey));
  StoreChangedSettings();
  ServerSettings untouched;
  LoadSettings(nullptr, untouched, &component);
  ExpectSameSettings(untouched, ServerSettings{});
  EXPECT_EQ(component.calls, 0);
}

TEST_F(SettingsRegistryTest, SaveThenLoadRestoresEveryFieldAndTheComponentValues) {
  StoreChangedSettings();
  EXPECT_EQ(registry.Key(), nullptr) << "the save closes the key";

  ServerSettings loaded;
  FakeComponent component;
  LoadSettings(&registry, loaded, &component);
  ExpectSameSettings(loaded, ChangedSettings());
  EXPECT_EQ(component.port, 2000);
  EXPECT_EQ(component.delay, 3000);
  EXPECT_EQ(component.delimiter, 44);
  EXPECT_EQ(registry.Key(), nullptr) << "the load closes the key";
}

TEST_F(SettingsRegistryTest, ValuesAreStoredUnderTheirNamesAsDwordsAndTexts) {
  StoreChangedSettings();
  for (const SettingEntry& entry : SettingsTable()) {
    auto value = test::GetRaw(kKey, entry.name);
    ASSERT_TRUE(value) << "missing: " << std::string(entry.name, entry.name + wcslen(entry.name));
    const DWORD type = entry.kind == SettingKind::kText ? REG_SZ : REG_DWORD;
    EXPECT_EQ(value->type, type);
    if (type == REG_DWORD) {
      EXPECT_EQ(value->bytes.size(), 4u);
    }
  }
  auto log = test::GetRaw(kKey, L"SaveLogWhenQuite");
  ASSERT_TRUE(log);
  EXPECT_EQ(*reinterpret_cast<const DWORD*>(log->bytes.data()), 0u);
  auto port = test::GetRaw(kKey, L"Port");
  ASSERT_TRUE(port);
  EXPECT_EQ(*reinterpret_cast<const DWORD*>(port->bytes.data()), 2000u);
}

TEST_F(SettingsRegistryTest, SaveWithoutAComponentWritesZeroForItsValues) {
  SaveSettings(&registry, ServerSettings{}, nullptr);
  for (const wchar_t* name : {L"Port", L"Delay", L"Delimiter"}) {
    auto value = test::GetRaw(kKey, name);
    ASSERT_TRUE(value);
    EXPECT_EQ(*reinterpret_cast<const DWORD*>(value->bytes.data()), 0u);
  }
}

// A key of an older version lacks the newer values: each keeps its default, the rest still loads.
TEST_F(SettingsRegistryTest, AMissingAddNumberBDKeepsItsDefaultAndTheRestLoads) {
  StoreChangedSettings();
  test::DeleteRawValue(kKey, L"AddNumberBD");
  ServerSettings loaded;
  LoadSettings(&registry, loaded, nullptr);
  ServerSettings expected = ChangedSettings();
  expected.AddNumberBD = 1;
  ExpectSameSettings(loaded, expected);
  EXPECT_EQ(registry.Key(), nullptr) << "the load closes the key";
}

TEST_F(SettingsRegistryTest, AMissingDirectoryLogLoadsEmptyAndTheRestStillLoads) {
  StoreChangedSettings();
  test::DeleteRawValue(kKey, L"DirectoryLog");
  ServerSettings loaded;
  loaded.DirectoryLog = L"C:\\before";
  FakeComponent component;
  LoadSettings(&registry, loaded, &component);
  ServerSettings expected = ChangedSettings();
  expected.DirectoryLog.clear();
  ExpectSameSettings(loaded, expected);
  EXPECT_EQ(component.delimiter, 44);
}

TEST_F(SettingsRegistryTest, AutoRunStoredAsTextKeepsZeroAndEveryLaterValueLoads) {
  StoreChangedSettings();
  test::PutText(kKey, L"AutoRun", L"1");
  ServerSettings loaded;
  LoadSettings(&registry, loaded, nullptr);
  ServerSettings expected = ChangedSettings();
  expected.AutoRun = 0;
  ExpectSameSettings(loaded, expected);
}

TEST_F(SettingsRegistryTest, AnyNonZeroFlagLoadsAsOneAndCountsLoadUnchanged) {
  StoreChangedSettings();
  test::PutDword(kKey, L"AlphaBlends", 7);
  test::PutDword(kKey, L"MinimizeToTaryWhenStart", 0xFFFFFFFFu);
  test::PutDword(kKey, L"AlphaBlendsCount", 300);
  test::PutDword(kKey, L"ColNumberIndex", 0xFFFFFFFFu);
  ServerSettings loaded;
  LoadSettings(&registry, loaded, nullptr);
  EXPECT_EQ(loaded.AlphaBlends, 1);
  EXPECT_EQ(loaded.MinimizeToTaryWhenStart, 1);
  EXPECT_EQ(loaded.AlphaBlendsCount, 300);
  EXPECT_EQ(loaded.ColNumberIndex, -1);
  EXPECT_EQ(loaded.PreficsFileName, ChangedSettings().PreficsFileName);
}

// A number must be exactly one REG_DWORD and a text a string: a value of another size or type
// keeps its default (the component its own value, a text empty), and every other value loads.
TEST_F(SettingsRegistryTest, ValuesOfAnotherSizeOrTypeKeepTheirDefaults) {
  StoreChangedSettings();
  const WORD shortNumber = 5;
  test::PutRaw(kKey, L"SuffiksIndex", REG_DWORD, &shortNumber, sizeof(shortNumber));
  const ULONGLONG wide = 5;
  test::PutRaw(kKey, L"ColNumberIndex", REG_QWORD, &wide, sizeof(wide));
  test::PutText(kKey, L"Port", L"5000");
  test::PutDword(kKey, L"DirectoryForUpload", 5);
  ServerSettings loaded;
  loaded.DirectoryForUpload = L"C:\before";
  FakeComponent component;
  LoadSettings(&registry, loaded, &component);

  ServerSettings expected = ChangedSettings();
  expected.SuffiksIndex = 1;
  expected.ColNumberIndex = 4;
  expected.DirectoryForUpload.clear();
  ExpectSameSettings(loaded, expected);
  EXPECT_EQ(component.port, 7001) << "the component keeps its own port";
  EXPECT_EQ(component.delay, 3000);
  EXPECT_EQ(component.delimiter, 44);
}

// Where each stored value belongs, written out by hand: expectations taken from the settings
// table would agree with any mistake in it, two fields swapped among them.
using S = ServerSettings;
struct NumberPlace {
  const wchar_t* name;
  int S::*field;
};
struct TextPlace {
  const wchar_t* name;
  std::wstring S::*field;
};
struct PropertyPlace {
  const wchar_t* name;
  int FakeComponent::*property;
};

const NumberPlace kFlagPlaces[] = {
    {L"OneFileForAllTSD", &S::OneFileForAllTSD},
    {L"StartAppBeforeDownload", &S::StartAppBeforeDownload},
    {L"StartAppAfterDownload", &S::StartAppAfterDownload},
    {L"OneFileForAll_TSD", &S::OneFileForAll_TSD},
    {L"MinimizeToTray", &S::MinimizeToTray},
    {L"AlphaBlends", &S::AlphaBlends},
    {L"DeleteFileBeforeDownload", &S::DeleteFileBeforeDownload},
    {L"SaveLogWhenQuite", &S::SaveLogWhenQuite},
    {L"SaveLogOneFile", &S::SaveLogOneFile},
    {L"StarAppBeforeUpload", &S::StarAppBeforeUpload},
    {L"StarAppAfterUpload", &S::StarAppAfterUpload},
    {L"AutoRun", &S::AutoRun},
    {L"ClearBDAfterUpload", &S::ClearBDAfterUpload},
    {L"ClearFilesAfterUpload", &S::ClearFilesAfterUpload},
    {L"SNFileName", &S::SNFileName},
    {L"SuffiksRadio", &S::SuffiksRadio},
    {L"AutoConnect", &S::AutoConnect},
    {L"AddNumberBD", &S::AddNumberBD},
    {L"MinimizeToTaryWhenStart", &S::MinimizeToTaryWhenStart},
};
const NumberPlace kCountPlaces[] = {
    {L"AlphaBlendsCount", &S::AlphaBlendsCount},
    {L"ColNumberIndex", &S::ColNumberIndex},
    {L"SuffiksIndex", &S::SuffiksIndex},
};
const TextPlace kTextPlaces[] = {
    {L"DirectoryLog", &S::DirectoryLog},
    {L"StartAppBeforeDownloadPath", &S::StartAppBeforeDownloadPath},
    {L"StartAppAfterDownloadPath", &S::StartAppAfterDownloadPath},
    {L"BaseFile1PathEdit", &S::BaseFile1PathEdit},
    {L"BaseFile2PathEdit", &S::BaseFile2PathEdit},
    {L"BaseFile3PathEdit", &S::BaseFile3PathEdit},
    {L"BaseFile4PathEdit", &S::BaseFile4PathEdit},
    {L"BaseFile5PathEdit", &S::BaseFile5PathEdit},
    {L"DirectoryWithBasaPath", &S::DirectoryWithBasaPath},
    {L"FileNameForUpload", &S::FileNameForUpload},
    {L"DirectoryForUpload", &S::DirectoryForUpload},
    {L"StartAppBeforeUploadPath", &S::StartAppBeforeUploadPath},
    {L"StartAppAfterUploadPath", &S::StartAppAfterUploadPath},
    {L"PreficsFileName", &S::PreficsFileName},
};
const PropertyPlace kPropertyPlaces[] = {
    {L"Port", &FakeComponent::port},
    {L"Delay", &FakeComponent::delay},
    {L"Delimiter", &FakeComponent::delimiter},
};

std::optional<DWORD> StoredDword(const wchar_t* name) {
  const auto value = test::GetRaw(kKey, name);
  if (!value || value->type != REG_DWORD || value->bytes.size() != sizeof(DWORD)) return {};
  return *reinterpret_cast<const DWORD*>(value->bytes.data());
}

std::optional<std::wstring> StoredText(const wchar_t* name) {
  const auto value = test::GetRaw(kKey, name);
  if (!value || value->type != REG_SZ) return {};
  std::wstring text(reinterpret_cast<const wchar_t*>(value->bytes.data()),
                    value->bytes.size() / sizeof(wchar_t));
  return text.substr(0, text.find(L'\0'));
}

// Each value under its own name after a save, and in its own field after a load. A flag holds
// only 0 or 1, so the flags are told apart over five rounds: in round r flag i holds bit r of
// i + 1, and no two flags agree in every round.
TEST_F(SettingsRegistryTest, EachValueIsStoredUnderItsNameAndLoadsIntoItsOwnField) {
  for (int round = 0; round < 5; ++round) {
    SCOPED_TRACE(round);
    const auto flag = [&](size_t i) { return static_cast<int>(((i + 1) >> round) & 1); };
    const auto count = [&](size_t i) { return 100 * (round + 1) + static_cast<int>(i); };
    const auto property = [&](size_t i) { return 7100 + 10 * round + static_cast<int>(i); };
    const auto text = [&](const wchar_t* name) {
      return L"C:\\Папка " + std::to_wstring(round) + L"\\" + name;
    };

    ServerSettings saved;
    FakeComponent component;
    for (size_t i = 0; i < std::size(kFlagPlaces); ++i)
      saved.*kFlagPlaces[i].field = flag(i);
    for (size_t i = 0; i < std::size(kCountPlaces); ++i)
      saved.*kCountPlaces[i].field = count(i);
    for (const TextPlace& place : kTextPlaces)
      saved.*place.field = text(place.name);
    for (size_t i = 0; i < std::size(kPropertyPlaces); ++i)
      component.*kPropertyPlaces[i].property = property(i);
    SaveSettings(&registry, saved, &component);

    ASSERT_EQ(test::CountValues(kKey), 39u);
    for (size_t i = 0; i < std::size(kFlagPlaces); ++i)
      EXPECT_EQ(StoredDword(kFlagPlaces[i].name), DWORD(flag(i))) << kFlagPlaces[i].name;
    for (size_t i = 0; i < std::size(kCountPlaces); ++i)
      EXPECT_EQ(StoredDword(kCountPlaces[i].name), DWORD(count(i))) << kCountPlaces[i].name;
    for (size_t i = 0; i < std::size(kPropertyPlaces); ++i)
      EXPECT_EQ(StoredDword(kPropertyPlaces[i].name), DWORD(property(i)))
          << kPropertyPlaces[i].name;
    for (const TextPlace& place : kTextPlaces)
      EXPECT_EQ(StoredText(place.name), text(place.name)) << place.name;

    ServerSettings loaded;
    FakeComponent target;
    LoadSettings(&registry, loaded, &target);
    for (size_t i = 0; i < std::size(kFlagPlaces); ++i)
      EXPECT_EQ(loaded.*kFlagPlaces[i].field, flag(i)) << kFlagPlaces[i].name;
    for (size_t i = 0; i < std::size(kCountPlaces); ++i)
      EXPECT_EQ(loaded.*kCountPlaces[i].field, count(i)) << kCountPlaces[i].name;
    for (size_t i = 0; i < std::size(kPropertyPlaces); ++i)
      EXPECT_EQ(target.*kPropertyPlaces[i].property, property(i)) << kPropertyPlaces[i].name;
    for (const TextPlace& place : kTextPlaces)
      EXPECT_EQ(loaded.*place.field, text(place.name)) << place.name;
  }
}

}  // namespace
}  // namespace morvane
