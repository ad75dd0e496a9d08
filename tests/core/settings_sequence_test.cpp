#include "settings/SettingsSequence.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "settings/SettingsTable.h"

namespace morvane {
namespace {

using ::testing::ElementsAreArray;

// The sequences' orders, written out from the stored format rather than taken from the table.
const std::vector<std::wstring> kLoadOrder = {L"OneFileForAllTSD",
                                              L"StartAppBeforeDownload",
                                              L"StartAppAfterDownload",
                                              L"OneFileForAll_TSD",
                                              L"MinimizeToTray",
                                              L"AlphaBlends",
                                              L"AlphaBlendsCount",
                                              L"ColNumberIndex",
                                              L"SuffiksIndex",
                                              L"DeleteFileBeforeDownload",
                                              L"SaveLogWhenQuite",
                                              L"SaveLogOneFile",
                                              L"Port",
                                              L"Delay",
                                              L"Delimiter",
                                              L"DirectoryLog",
                                              L"StartAppBeforeDownloadPath",
                                              L"StartAppAfterDownloadPath",
                                              L"BaseFile1PathEdit",
                                              L"BaseFile2PathEdit",
                                              L"BaseFile3PathEdit",
                                              L"BaseFile4PathEdit",
                                              L"BaseFile5PathEdit",
                                              L"DirectoryWithBasaPath",
                                              L"FileNameForUpload",
                                              L"DirectoryForUpload",
                                              L"StarAppBeforeUpload",
                                              L"StarAppAfterUpload",
                                              L"StartAppBeforeUploadPath",
                                              L"StartAppAfterUploadPath",
                                              L"AutoRun",
                                              L"ClearBDAfterUpload",
                                              L"ClearFilesAfterUpload",
                                              L"SNFileName",
                                              L"SuffiksRadio",
                                              L"AutoConnect",
                                              L"AddNumberBD",
                                              L"MinimizeToTaryWhenStart",
                                              L"PreficsFileName"};
const std::vector<std::wstring> kSaveOrder = {L"OneFileForAllTSD",
                                              L"StartAppBeforeDownload",
                                              L"StartAppAfterDownload",
                                              L"MinimizeToTray",
                                              L"AlphaBlends",
                                              L"OneFileForAll_TSD",
                                              L"SaveLogWhenQuite",
                                              L"SaveLogOneFile",
                                              L"DeleteFileBeforeDownload",
                                              L"SuffiksIndex",
                                              L"ColNumberIndex",
                                              L"AlphaBlendsCount",
                                              L"Port",
                                              L"Delay",
                                              L"Delimiter",
                                              L"DirectoryLog",
                                              L"StartAppBeforeDownloadPath",
                                              L"StartAppAfterDownloadPath",
                                              L"BaseFile1PathEdit",
                                              L"BaseFile2PathEdit",
                                              L"BaseFile3PathEdit",
                                              L"BaseFile4PathEdit",
                                              L"BaseFile5PathEdit",
                                              L"DirectoryWithBasaPath",
                                              L"FileNameForUpload",
                                              L"DirectoryForUpload",
                                              L"AutoRun",
                                              L"StarAppBeforeUpload",
                                              L"StarAppAfterUpload",
                                              L"StartAppBeforeUploadPath",
                                              L"StartAppAfterUploadPath",
                                              L"ClearBDAfterUpload",
                                              L"ClearFilesAfterUpload",
                                              L"SNFileName",
                                              L"SuffiksRadio",
                                              L"AutoConnect",
                                              L"MinimizeToTaryWhenStart",
                                              L"AddNumberBD",
                                              L"PreficsFileName"};

// An in-memory key. A stored value is a number or a text; a name listed in `broken` stands for a
// value of a kind the reader cannot take, and `refuseWriteOf` for a write that fails.
class FakeStore : public ISettingsStore {
 public:
  bool keyExists = true;
  bool keyOpen = false;
  int closes = 0;
  std::map<std::wstring, int> numbers;
  std::map<std::wstring, std::wstring> texts;
  std::wstring broken;
  std::wstring refuseWriteOf;
  std::vector<std::wstring> touched;  // every value read or written, in order

  bool OpenSettingsKey(bool create) override {
    if (create) keyExists = true;
    keyOpen = keyExists;
    return keyOpen;
  }
  void CloseSettingsKey() override {
    keyOpen = false;
    ++closes;
  }
  bool ReadNumber(const wchar_t* name, int& value) override {
    touched.push_back(name);
    auto it = numbers.find(name);
    if (!keyOpen || name == broken || it == numbers.end()) return false;
    value = it->second;
    return true;
  }
  bool ReadText(const wchar_t* name, std::wstring& text) override {
    touched.push_back(name);
    if (!keyOpen || name == broken) return false;
    auto it = texts.find(name);
    text = it == texts.end() ? L"" : it->second;
    return true;
  }
  bool WriteNumber(const wchar_t* name, int value) override {
    touched.push_back(name);
    if (!keyOpen || name == refuseWriteOf) return false;
    numbers[name] = value;
    return true;
  }
  bool WriteText(const wchar_t* name, const std::wstring& text) override {
    touched.push_back(name);
    if (!keyOpen || name == refuseWriteOf) return false;
    texts[name] = text;
    return true;
  }
};

// Holds Port, Delay and Delimiter as the real component does; every other call is unexpected.
class FakeComponent : public ITerminalComponent {
 public:
  int port = -5, delay = -5, delimiter = -5;
  int puts = 0;

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
    field = v;
    ++puts;
    return true;
  }
  static bool Get(int field, int& v) {
    v = field;
    return true;
  }
  static int Unexpected() {
    ADD_FAILURE() << "the settings must not call this";
    return 0;
  }
};

// A store holding every value, each different from its default.
FakeStore FullStore() {
  FakeStore store;
  int next = 2;
  for (const SettingEntry& entry : SettingsTable()) {
    if (entry.kind == SettingKind::kText)
      store.texts[entry.name] = std::wstring(L"текст ") + entry.name;
    else if (entry.kind == SettingKind::kFlag)
      store.numbers[entry.name] = 0;  // the flag defaults of 1 must change
    else
      store.numbers[entry.name] = 1000 + next++;
  }
  for (const wchar_t* flagSetByStore :
       {L"StartAppBeforeDownload", L"AutoRun", L"AutoConnect", L"MinimizeToTaryWhenStart"})
    store.numbers[flagSetByStore] = 1;
  return store;
}

TEST(LoadSettings, ReadsEveryValueInTheLoadOrderAndClosesTheKey) {
  FakeStore store = FullStore();
  ServerSettings settings;
  FakeComponent component;
  LoadSettingsFrom(store, settings, &component);
  EXPECT_THAT(store.touched, ElementsAreArray(kLoadOrder));
  EXPECT_FALSE(store.keyOpen);
  EXPECT_EQ(store.closes, 1);

  EXPECT_EQ(settings.OneFileForAllTSD, 0);
  EXPECT_EQ(settings.AddNumberBD, 0);
  EXPECT_EQ(settings.AutoRun, 1);
  EXPECT_EQ(settings.MinimizeToTaryWhenStart, 1);
  EXPECT_EQ(settings.AlphaBlendsCount, store.numbers[L"AlphaBlendsCount"]);
  EXPECT_EQ(settings.SuffiksIndex, store.numbers[L"SuffiksIndex"]);
  EXPECT_EQ(settings.DirectoryLog, L"текст DirectoryLog");
  EXPECT_EQ(settings.PreficsFileName, L"текст PreficsFileName");
  EXPECT_EQ(component.port, store.numbers[L"Port"]);
  EXPECT_EQ(component.delay, store.numbers[L"Delay"]);
  EXPECT_EQ(component.delimiter, store.numbers[L"Delimiter"]);
}

TEST(LoadSettings, WithoutTheKeyNothingChangesAndNothingIsRead) {
  FakeStore store;
  store.keyExists = false;
  ServerSettings settings;
  settings.DirectoryLog = L"kept";
  FakeComponent component;
  LoadSettingsFrom(store, settings, &component);
  EXPECT_TRUE(store.touched.empty());
  EXPECT_EQ(settings.DirectoryLog, L"kept");
  EXPECT_EQ(component.puts, 0);
}

// One unreadable value costs that value only: a text empties its field, a number keeps its
// field's value, a component value leaves the component's own; every later value still loads.
TEST(LoadSettings, AnUnreadableValueCostsOnlyThatValue) {
  FakeStore store = FullStore();
  store.broken = L"FileNameForUpload";
  ServerSettings settings;
  settings.FileNameForUpload = L"before";
  LoadSettingsFrom(store, settings, nullptr);
  EXPECT_EQ(settings.FileNameForUpload, L"");
  EXPECT_EQ(settings.DirectoryWithBasaPath, L"текст DirectoryWithBasaPath");
  EXPECT_EQ(settings.DirectoryForUpload, L"текст DirectoryForUpload");
  EXPECT_EQ(settings.PreficsFileName, L"текст PreficsFileName");

  store = FullStore();
  store.broken = L"SuffiksIndex";
  store.numbers.erase(L"AutoRun");
  ServerSettings numbers;
  LoadSettingsFrom(store, numbers, nullptr);
  EXPECT_EQ(numbers.SuffiksIndex, 1);
  EXPECT_EQ(numbers.AutoRun, 0);
  EXPECT_EQ(numbers.ColNumberIndex, store.numbers[L"ColNumberIndex"]);
  EXPECT_EQ(numbers.AutoConnect, 1) << "a value after both failures";
  EXPECT_EQ(store.touched.size(), kLoadOrder.size());
  EXPECT_EQ(store.closes, 1);
}

TEST(LoadSettings, AMissingComponentValueLeavesTheComponentsOwnAndTheRestLoads) {
  FakeStore store = FullStore();
  store.numbers.erase(L"Delay");
  ServerSettings settings;
  FakeComponent component;
  LoadSettingsFrom(store, settings, &component);
  EXPECT_EQ(component.port, store.numbers[L"Port"]);
  EXPECT_EQ(component.delay, -5);
  EXPECT_EQ(component.delimiter, store.numbers[L"Delimiter"]);
  EXPECT_EQ(settings.DirectoryLog, L"текст DirectoryLog");
}

// The upload counter is written on its own, as soon as it moves, into the same key and kind.
TEST(SaveSettingValue, WritesOnlyThatValueAndClosesTheKey) {
  FakeStore store;
  store.keyExists = false;  // created, as the save creates it
  ServerSettings settings;
  settings.SuffiksIndex = 42;
  EXPECT_TRUE(SaveSettingValue(store, settings, L"SuffiksIndex"));
  EXPECT_THAT(store.touched, ElementsAreArray({L"SuffiksIndex"}));
  EXPECT_EQ(store.numbers[L"SuffiksIndex"], 42);
  EXPECT_TRUE(store.texts.empty());
  EXPECT_FALSE(store.keyOpen);
  EXPECT_EQ(store.closes, 1);

  store.refuseWriteOf = L"SuffiksIndex";
  EXPECT_FALSE(SaveSettingValue(store, settings, L"SuffiksIndex"));
  EXPECT_FALSE(store.keyOpen);
  EXPECT_FALSE(SaveSettingValue(store, settings, L"Port")) << "the component's, not a field";
  EXPECT_FALSE(SaveSettingValue(store, settings, L"NoSuchValue"));
  EXPECT_EQ(store.touched.size(), 2u);
}

TEST(SaveSettings, WritesEveryValueInTheSaveOrderAndClosesTheKey) {
  FakeStore store;
  store.keyExists = false;  // created by the save
  ServerSettings settings;
  settings.AlphaBlendsCount = 17;
  settings.PreficsFileName = L"ТСД";
  FakeComponent component;
  component.port = 2001;
  component.delay = 3000;
  component.delimiter = 44;
  SaveSettingsTo(store, settings, &component);
  EXPECT_THAT(store.touched, ElementsAreArray(kSaveOrder));
  EXPECT_EQ(store.closes, 1);
  EXPECT_EQ(store.numbers.size() + store.texts.size(), 39u);
  EXPECT_EQ(store.numbers[L"AlphaBlendsCount"], 17);
  EXPECT_EQ(store.numbers[L"OneFileForAll_TSD"], 1);
  EXPECT_EQ(store.texts[L"PreficsFileName"], L"ТСД");
  EXPECT_EQ(store.numbers[L"Port"], 2001);
  EXPECT_EQ(store.numbers[L"Delay"], 3000);
  EXPECT_EQ(store.numbers[L"Delimiter"], 44);
}

// AutoRun is saved before the two upload flags that are loaded before it: a failure there shows
// which order the save followed.
TEST(SaveSettings, AFailingWriteStopsThereInTheSaveOrder) {
  FakeStore store;
  store.refuseWriteOf = L"AutoRun";
  SaveSettingsTo(store, ServerSettings{}, nullptr);
  EXPECT_EQ(store.touched.back(), L"AutoRun");
  EXPECT_EQ(store.closes, 1);
  EXPECT_EQ(store.texts.count(L"DirectoryForUpload"), 1u);
  EXPECT_EQ(store.numbers.count(L"StarAppBeforeUpload"), 0u);
  EXPECT_EQ(store.numbers.count(L"AutoRun"), 0u);
  EXPECT_EQ(store.numbers.size() + store.texts.size(), 26u);
}

TEST(SaveSettings, AKeyThatCannotBeCreatedWritesNothing) {
  class NoKey : public FakeStore {
    bool OpenSettingsKey(bool) override { return false; }
  } store;
  FakeComponent component;
  SaveSettingsTo(store, ServerSettings{}, &component);
  EXPECT_TRUE(store.touched.empty());
}

}  // namespace
}  // namespace morvane
