#include "settings/SettingsTable.h"

namespace morvane {
namespace {

using S = ServerSettings;
using C = ITerminalComponent;

constexpr SettingEntry Flag(const wchar_t* name, int S::*field, int load, int save) {
  return {name, SettingKind::kFlag, field, nullptr, nullptr, nullptr, load, save};
}
constexpr SettingEntry Count(const wchar_t* name, int S::*field, int load, int save) {
  return {name, SettingKind::kCount, field, nullptr, nullptr, nullptr, load, save};
}
constexpr SettingEntry Text(const wchar_t* name, std::wstring S::*field, int load, int save) {
  return {name, SettingKind::kText, nullptr, field, nullptr, nullptr, load, save};
}
constexpr SettingEntry Component(const wchar_t* name, bool (C::*put)(int), bool (C::*get)(int&),
                                 int load, int save) {
  return {name, SettingKind::kComponent, nullptr, nullptr, put, get, load, save};
}

// Names are the stored ones, old spellings included: existing installations depend on them.
const std::array<SettingEntry, kSettingCount> kTable = {{
    Flag(L"OneFileForAllTSD", &S::OneFileForAllTSD, 1, 1),
    Flag(L"StartAppBeforeDownload", &S::StartAppBeforeDownload, 2, 2),
    Flag(L"StartAppAfterDownload", &S::StartAppAfterDownload, 3, 3),
    Flag(L"OneFileForAll_TSD", &S::OneFileForAll_TSD, 4, 6),
    Flag(L"MinimizeToTray", &S::MinimizeToTray, 5, 4),
    Flag(L"AlphaBlends", &S::AlphaBlends, 6, 5),
    Count(L"AlphaBlendsCount", &S::AlphaBlendsCount, 7, 12),
    Count(L"ColNumberIndex", &S::ColNumberIndex, 8, 11),
    Count(L"SuffiksIndex", &S::SuffiksIndex, 9, 10),
    Flag(L"DeleteFileBeforeDownload", &S::DeleteFileBeforeDownload, 10, 9),
    Flag(L"SaveLogWhenQuite", &S::SaveLogWhenQuite, 11, 7),
    Flag(L"SaveLogOneFile", &S::SaveLogOneFile, 12, 8),
    Component(L"Port", &C::SetPort, &C::GetPort, 13, 13),
    Component(L"Delay", &C::SetDelay, &C::GetDelay, 14, 14),
    Component(L"Delimiter", &C::SetDelimiter, &C::GetDelimiter, 15, 15),
    Text(L"DirectoryLog", &S::DirectoryLog, 16, 16),
    Text(L"StartAppBeforeDownloadPath", &S::StartAppBeforeDownloadPath, 17, 17),
    Text(L"StartAppAfterDownloadPath", &S::StartAppAfterDownloadPath, 18, 18),
    Text(L"BaseFile1PathEdit", &S::BaseFile1PathEdit, 19, 19),
    Text(L"BaseFile2PathEdit", &S::BaseFile2PathEdit, 20, 20),
    Text(L"BaseFile3PathEdit", &S::BaseFile3PathEdit, 21, 21),
    Text(L"BaseFile4PathEdit", &S::BaseFile4PathEdit, 22, 22),
    Text(L"BaseFile5PathEdit", &S::BaseFile5PathEdit, 23, 23),
    Text(L"DirectoryWithBasaPath", &S::DirectoryWithBasaPath, 24, 24),
    Text(L"FileNameForUpload", &S::FileNameForUpload, 25, 25),
    Text(L"DirectoryForUpload", &S::DirectoryForUpload, 26, 26),
    Flag(L"StarAppBeforeUpload", &S::StarAppBeforeUpload, 27, 28),
    Flag(L"StarAppAfterUpload", &S::StarAppAfterUpload, 28, 29),
    Text(L"StartAppBeforeUploadPath", &S::StartAppBeforeUploadPath, 29, 30),
    Text(L"StartAppAfterUploadPath", &S::StartAppAfterUploadPath, 30, 31),
    Flag(L"AutoRun", &S::AutoRun, 31, 27),
    Flag(L"ClearBDAfterUpload", &S::ClearBDAfterUpload, 32, 32),
    Flag(L"ClearFilesAfterUpload", &S::ClearFilesAfterUpload, 33, 33),
    Flag(L"SNFileName", &S::SNFileName, 34, 34),
    Flag(L"SuffiksRadio", &S::SuffiksRadio, 35, 35),
    Flag(L"AutoConnect", &S::AutoConnect, 36, 36),
    Flag(L"AddNumberBD", &S::AddNumberBD, 37, 38),
    Flag(L"MinimizeToTaryWhenStart", &S::MinimizeToTaryWhenStart, 38, 37),
    Text(L"PreficsFileName", &S::PreficsFileName, 39, 39),
}};

// Places each entry at its position; a position outside 1..39 or used twice leaves a gap that
// the table's tests catch.
std::array<const SettingEntry*, kSettingCount> OrderBy(int SettingEntry::*position) {
  std::array<const SettingEntry*, kSettingCount> order{};
  for (const SettingEntry& entry : kTable) {
    const int index = entry.*position - 1;
    if (index >= 0 && index < kSettingCount) order[index] = &entry;
  }
  return order;
}

}  // namespace

const std::array<SettingEntry, kSettingCount>& SettingsTable() {
  return kTable;
}

std::array<const SettingEntry*, kSettingCount> LoadOrder() {
  return OrderBy(&SettingEntry::loadPosition);
}

std::array<const SettingEntry*, kSettingCount> SaveOrder() {
  return OrderBy(&SettingEntry::savePosition);
}

}  // namespace morvane
