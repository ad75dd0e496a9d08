#include "settings/DownloadPage.h"

#include <array>
#include <string>

#include "res/resource.h"
#include "settings/FilePickers.h"
#include "settings/PageControls.h"
#include "settings/ServerSettings.h"

namespace morvane {
namespace {

struct BaseFileRow {
  int edit;
  int browse;
  std::wstring ServerSettings::*setting;
};
// Base files 1 to 5, in the order Apply reads them.
constexpr std::array<BaseFileRow, 5> kBaseFiles = {{
    {IDC_BASE1_PATH, IDC_BASE1_BROWSE, &ServerSettings::BaseFile1PathEdit},
    {IDC_BASE2_PATH, IDC_BASE2_BROWSE, &ServerSettings::BaseFile2PathEdit},
    {IDC_BASE3_PATH, IDC_BASE3_BROWSE, &ServerSettings::BaseFile3PathEdit},
    {IDC_BASE4_PATH, IDC_BASE4_BROWSE, &ServerSettings::BaseFile4PathEdit},
    {IDC_BASE5_PATH, IDC_BASE5_BROWSE, &ServerSettings::BaseFile5PathEdit},
}};

// The embedded dialogs sit between the group "Вид загрузки" (ending at 42 dialog units) and the
// group "Запуск внешних приложений" (starting at 138): 46 units, 75 pixels with the usual font.
constexpr int kEmbeddedTopDialogUnits = 46;

}  // namespace

COneFileForAllTSD::COneFileForAllTSD(const ServerSettings& settings)
    : CEmbeddedDlg(IDD_DOWNLOAD_SHARED), m_settings(settings) {}

std::span<const MessageEntry<COneFileForAllTSD>> COneFileForAllTSD::MessageMap() {
  using D = COneFileForAllTSD;
  static constexpr MessageEntry<D> kMap[] = {
      OnCommandCodeEntry<D>(IDC_BASE1_BROWSE, BN_CLICKED, &D::OnBrowse),
      OnCommandCodeEntry<D>(IDC_BASE2_BROWSE, BN_CLICKED, &D::OnBrowse),
      OnCommandCodeEntry<D>(IDC_BASE3_BROWSE, BN_CLICKED, &D::OnBrowse),
      OnCommandCodeEntry<D>(IDC_BASE4_BROWSE, BN_CLICKED, &D::OnBrowse),
      OnCommandCodeEntry<D>(IDC_BASE5_BROWSE, BN_CLICKED, &D::OnBrowse),
  };
  return kMap;
}

BOOL COneFileForAllTSD::OnInit() {
  for (const BaseFileRow& row : kBaseFiles)
    SetItemText(row.edit, m_settings.*row.setting);
  return TRUE;
}

INT_PTR COneFileForAllTSD::OnBrowse(WPARAM command, LPARAM) {
  for (const BaseFileRow& row : kBaseFiles) {
    if (row.browse != LOWORD(command)) continue;
    std::wstring path;
    if (PickTextFile(m_hWnd, path)) SetItemText(row.edit, path);
  }
  return TRUE;
}

void COneFileForAllTSD::ReadBack(ServerSettings& settings) const {
  for (const BaseFileRow& row : kBaseFiles)
    settings.*row.setting = ItemText(row.edit);
}

CForEachTSDOwnFile::CForEachTSDOwnFile(const ServerSettings& settings)
    : CEmbeddedDlg(IDD_DOWNLOAD_OWN), m_settings(settings) {}

std::span<const MessageEntry<CForEachTSDOwnFile>> CForEachTSDOwnFile::MessageMap() {
  using D = CForEachTSDOwnFile;
  static constexpr MessageEntry<D> kMap[] = {
      OnCommandCodeEntry<D>(IDC_OWN_FOLDER_BROWSE, BN_CLICKED, &D::OnBrowseFolder),
  };
  return kMap;
}

BOOL CForEachTSDOwnFile::OnInit() {
  SetCheckFromFlag(m_hWnd, IDC_OWN_DELETE_SENT, m_settings.DeleteFileBeforeDownload);
  SetItemText(IDC_OWN_FOLDER, m_settings.DirectoryWithBasaPath);
  return TRUE;
}

INT_PTR CForEachTSDOwnFile::OnBrowseFolder(WPARAM, LPARAM) {
  // TODO folder picker
  return TRUE;
}

void CForEachTSDOwnFile::ReadBack(ServerSettings& settings) const {
  settings.DirectoryWithBasaPath = ItemText(IDC_OWN_FOLDER);
  settings.DeleteFileBeforeDownload = CheckFlag(m_hWnd, IDC_OWN_DELETE_SENT);
}

CTabDlgPageDownload::CTabDlgPageDownload(const ServerSettings& settings)
    : CEmbeddedDlg(IDD_PAGE_DOWNLOAD), m_settings(settings) {}

CTabDlgPageDownload::~CTabDlgPageDownload() = default;

std::span<const MessageEntry<CTabDlgPageDownload>> CTabDlgPageDownload::MessageMap() {
  using D = CTabDlgPageDownload;
  static constexpr MessageEntry<D> kMap[] = {
      OnCommandCodeEntry<D>(IDC_DL_KIND_SHARED, BN_CLICKED, &D::OnKindClicked),
      OnCommandCodeEntry<D>(IDC_DL_KIND_OWN, BN_CLICKED, &D::OnKindClicked),
      OnCommandCodeEntry<D>(IDC_DL_BEFORE_CHECK, BN_CLICKED, &D::OnBeforeChecked),
      OnCommandCodeEntry<D>(IDC_DL_AFTER_CHECK, BN_CLICKED, &D::OnAfterChecked),
      OnCommandCodeEntry<D>(IDC_DL_BEFORE_BROWSE, BN_CLICKED, &D::OnBrowseBefore),
      OnCommandCodeEntry<D>(IDC_DL_AFTER_BROWSE, BN_CLICKED, &D::OnBrowseAfter),
      OnMessageEntry<D>(WM_DESTROY, &D::OnDestroy),
  };
  return kMap;
}

BOOL CTabDlgPageDownload::OnInit() {
  RECT place{0, kEmbeddedTopDialogUnits, 0, 0};
  ::MapDialogRect(m_hWnd, &place);
  auto shared = std::make_unique<COneFileForAllTSD>(m_settings);
  if (shared->Create(m_hWnd)) {
    PlaceChildDialog(shared->Handle(), 0, place.top, true);
    m_sharedFiles = std::move(shared);
  }
  auto own = std::make_unique<CForEachTSDOwnFile>(m_settings);
  if (own->Create(m_hWnd)) {
    PlaceChildDialog(own->Handle(), 0, place.top, true);
    m_ownFiles = std::move(own);
  }

  const bool sharedKind = IsSet(m_settings.OneFileForAll_TSD);
  ::CheckDlgButton(m_hWnd, IDC_DL_KIND_SHARED, sharedKind ? BST_CHECKED : BST_UNCHECKED);
  ::CheckDlgButton(m_hWnd, IDC_DL_KIND_OWN, sharedKind ? BST_UNCHECKED : BST_CHECKED);
  ShowSelectedKind();

  SetCheckFromFlag(m_hWnd, IDC_DL_BEFORE_CHECK, m_settings.StartAppBeforeDownload);
  SetCheckFromFlag(m_hWnd, IDC_DL_AFTER_CHECK, m_settings.StartAppAfterDownload);
  SetItemText(IDC_DL_BEFORE_PATH, m_settings.StartAppBeforeDownloadPath);
  SetItemText(IDC_DL_AFTER_PATH, m_settings.StartAppAfterDownloadPath);
  OnBeforeChecked(0, 0);
  OnAfterChecked(0, 0);
  return TRUE;
}

void CTabDlgPageDownload::ShowSelectedKind() {
  if (!m_sharedFiles || !m_ownFiles) return;
  const bool shared = IsChecked(m_hWnd, IDC_DL_KIND_SHARED);
  ::ShowWindow(m_sharedFiles->Handle(), shared ? SW_SHOW : SW_HIDE);
  ::ShowWindow(m_ownFiles->Handle(), shared ? SW_HIDE : SW_SHOW);
}

INT_PTR CTabDlgPageDownload::OnKindClicked(WPARAM, LPARAM) {
  ShowSelectedKind();
  return TRUE;
}

INT_PTR CTabDlgPageDownload::OnBeforeChecked(WPARAM, LPARAM) {
  EnableProgramRow(m_hWnd, IDC_DL_BEFORE_CHECK, IDC_DL_BEFORE_PATH, IDC_DL_BEFORE_BROWSE);
  return TRUE;
}

INT_PTR CTabDlgPageDownload::OnAfterChecked(WPARAM, LPARAM) {
  EnableProgramRow(m_hWnd, IDC_DL_AFTER_CHECK, IDC_DL_AFTER_PATH, IDC_DL_AFTER_BROWSE);
  return TRUE;
}

INT_PTR CTabDlgPageDownload::OnBrowseBefore(WPARAM, LPARAM) {
  BrowseExecutableInto(m_hWnd, IDC_DL_BEFORE_PATH);
  return TRUE;
}

INT_PTR CTabDlgPageDownload::OnBrowseAfter(WPARAM, LPARAM) {
  BrowseExecutableInto(m_hWnd, IDC_DL_AFTER_PATH);
  return TRUE;
}

INT_PTR CTabDlgPageDownload::OnDestroy(WPARAM, LPARAM) {
  // The embedded dialogs go first, and their objects with them.
  m_sharedFiles.reset();
  m_ownFiles.reset();
  return FALSE;
}

void CTabDlgPageDownload::ReadBack(ServerSettings& settings) const {
  settings.OneFileForAll_TSD = CheckFlag(m_hWnd, IDC_DL_KIND_SHARED);
  settings.StartAppBeforeDownload = CheckFlag(m_hWnd, IDC_DL_BEFORE_CHECK);
  settings.StartAppAfterDownload = CheckFlag(m_hWnd, IDC_DL_AFTER_CHECK);
  settings.StartAppBeforeDownloadPath = ItemText(IDC_DL_BEFORE_PATH);
  settings.StartAppAfterDownloadPath = ItemText(IDC_DL_AFTER_PATH);
  if (m_sharedFiles) m_sharedFiles->ReadBack(settings);
  if (m_ownFiles) m_ownFiles->ReadBack(settings);
}

}  // namespace morvane
