#include "options/DownloadPage.h"

#include <array>
#include <string>

#include "options/FilePickers.h"
#include "options/FolderPicker.h"
#include "res/resource.h"
#include "settings/ServerSettings.h"

namespace morvane {
namespace {

constexpr std::array<int, 5> kBaseFileEdits = {IDC_BASE1_PATH, IDC_BASE2_PATH, IDC_BASE3_PATH,
                                               IDC_BASE4_PATH, IDC_BASE5_PATH};
constexpr std::array<std::wstring ServerSettings::*, 5> kBaseFileSettings = {
    &ServerSettings::BaseFile1PathEdit, &ServerSettings::BaseFile2PathEdit,
    &ServerSettings::BaseFile3PathEdit, &ServerSettings::BaseFile4PathEdit,
    &ServerSettings::BaseFile5PathEdit};

// The embedded dialogs sit between the group "Вид загрузки" (ending at 42 dialog units) and the
// group "Запуск внешних приложений" (starting at 138): at 46 units, 75 pixels with the usual font
// and in step with the page at any other.
constexpr int kEmbeddedTop = 46;

}  // namespace

COneFileForAllTSD::COneFileForAllTSD(const ServerSettings& settings)
    : CEmbeddedDlg(IDD_DOWNLOAD_SHARED), m_settings(settings) {}

std::span<const MessageEntry<COneFileForAllTSD>> COneFileForAllTSD::MessageMap() {
  using D = COneFileForAllTSD;
  static constexpr MessageEntry<D> kMap[] = {
      CommandHandler<&D::OnBrowse1>(IDC_BASE1_BROWSE, BN_CLICKED),
      CommandHandler<&D::OnBrowse2>(IDC_BASE2_BROWSE, BN_CLICKED),
      CommandHandler<&D::OnBrowse3>(IDC_BASE3_BROWSE, BN_CLICKED),
      CommandHandler<&D::OnBrowse4>(IDC_BASE4_BROWSE, BN_CLICKED),
      CommandHandler<&D::OnBrowse5>(IDC_BASE5_BROWSE, BN_CLICKED),
  };
  return kMap;
}

BOOL COneFileForAllTSD::OnInit() {
  for (size_t i = 0; i < kBaseFileEdits.size(); ++i) {
    m_paths[i].Attach(m_hWnd, kBaseFileEdits[i]);
    m_paths[i].SetText(m_settings.*kBaseFileSettings[i]);
  }
  return TRUE;
}

void COneFileForAllTSD::BrowseBaseFile(int index) {
  std::wstring path;
  if (PickTextFile(m_hWnd, path)) m_paths[index].SetText(path);
}

void COneFileForAllTSD::Apply(ServerSettings& settings) const {
  for (size_t i = 0; i < kBaseFileEdits.size(); ++i)
    settings.*kBaseFileSettings[i] = m_paths[i].Text();
}

CForEachTSDOwnFile::CForEachTSDOwnFile(const ServerSettings& settings)
    : CEmbeddedDlg(IDD_DOWNLOAD_OWN), m_settings(settings) {}

std::span<const MessageEntry<CForEachTSDOwnFile>> CForEachTSDOwnFile::MessageMap() {
  using D = CForEachTSDOwnFile;
  static constexpr MessageEntry<D> kMap[] = {
      CommandHandler<&D::OnBrowseFolder>(IDC_OWN_FOLDER_BROWSE, BN_CLICKED),
  };
  return kMap;
}

BOOL CForEachTSDOwnFile::OnInit() {
  m_folder.Attach(m_hWnd, IDC_OWN_FOLDER);
  m_deleteSent.Attach(m_hWnd, IDC_OWN_DELETE_SENT);
  m_deleteSent.SetCheck(IsSet(m_settings.DeleteFileBeforeDownload));
  m_folder.SetText(m_settings.DirectoryWithBasaPath);
  return TRUE;
}

void CForEachTSDOwnFile::OnBrowseFolder() {
  m_folder.SetText(PickFolder(m_hWnd, m_folder.Text()));
}

void CForEachTSDOwnFile::Apply(ServerSettings& settings) const {
  settings.DirectoryWithBasaPath = m_folder.Text();
  settings.DeleteFileBeforeDownload = m_deleteSent.Check();
}

CTabDlgPageDownload::CTabDlgPageDownload(const OptionsContext& context)
    : CDialogImpl(IDD_PAGE_DOWNLOAD, context) {}

CTabDlgPageDownload::~CTabDlgPageDownload() = default;

std::span<const MessageEntry<CTabDlgPageDownload>> CTabDlgPageDownload::MessageMap() {
  using D = CTabDlgPageDownload;
  static constexpr MessageEntry<D> kMap[] = {
      CommandHandler<&D::OnKindClicked>(IDC_DL_KIND_SHARED, BN_CLICKED),
      CommandHandler<&D::OnKindClicked>(IDC_DL_KIND_OWN, BN_CLICKED),
      CommandHandler<&D::OnBeforeClicked>(IDC_DL_BEFORE_CHECK, BN_CLICKED),
      CommandHandler<&D::OnAfterClicked>(IDC_DL_AFTER_CHECK, BN_CLICKED),
      CommandHandler<&D::OnBrowseBefore>(IDC_DL_BEFORE_BROWSE, BN_CLICKED),
      CommandHandler<&D::OnBrowseAfter>(IDC_DL_AFTER_BROWSE, BN_CLICKED),
      MessageHandler<&D::OnDestroy>(WM_DESTROY),
  };
  return kMap;
}

template <class Embedded>
std::unique_ptr<Embedded> CTabDlgPageDownload::CreateEmbedded() {
  RECT place{0, kEmbeddedTop, 0, 0};
  ::MapDialogRect(m_hWnd, &place);
  auto embedded = std::make_unique<Embedded>(m_context.settings);
  if (!embedded->Create(m_hWnd)) return nullptr;  // that kind then shows nothing
  ::SetWindowPos(embedded->Handle(), nullptr, 0, place.top, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_SHOWWINDOW);
  return embedded;
}

BOOL CTabDlgPageDownload::OnInit() {
  m_kindShared.Attach(m_hWnd, IDC_DL_KIND_SHARED);
  m_kindOwn.Attach(m_hWnd, IDC_DL_KIND_OWN);
  m_before.Attach(m_hWnd, IDC_DL_BEFORE_CHECK, IDC_DL_BEFORE_PATH, IDC_DL_BEFORE_BROWSE);
  m_after.Attach(m_hWnd, IDC_DL_AFTER_CHECK, IDC_DL_AFTER_PATH, IDC_DL_AFTER_BROWSE);

  m_sharedFiles = CreateEmbedded<COneFileForAllTSD>();
  m_ownFiles = CreateEmbedded<CForEachTSDOwnFile>();

  const ServerSettings& s = m_context.settings;
  // Any stored value but 1 means a file of its own per terminal.
  m_kindShared.SetCheck(IsSet(s.OneFileForAll_TSD));
  m_kindOwn.SetCheck(!IsSet(s.OneFileForAll_TSD));
  OnKindClicked();
  m_before.Fill(s.StartAppBeforeDownload, s.StartAppBeforeDownloadPath);
  m_after.Fill(s.StartAppAfterDownload, s.StartAppAfterDownloadPath);
  return TRUE;
}

void CTabDlgPageDownload::OnKindClicked() {
  if (!m_sharedFiles || !m_ownFiles) return;
  const bool shared = m_kindShared.Check() == 1;
  ::ShowWindow(m_sharedFiles->Handle(), shared ? SW_SHOW : SW_HIDE);
  ::ShowWindow(m_ownFiles->Handle(), shared ? SW_HIDE : SW_SHOW);
}

INT_PTR CTabDlgPageDownload::OnDestroy(WPARAM, LPARAM) {
  // The embedded dialogs go first, their objects with them.
  m_sharedFiles.reset();
  m_ownFiles.reset();
  return FALSE;
}

void CTabDlgPageDownload::Apply() {
  ServerSettings& s = m_context.settings;
  s.OneFileForAll_TSD = m_kindShared.Check();
  s.StartAppBeforeDownload = m_before.Check();
  s.StartAppAfterDownload = m_after.Check();
  s.StartAppBeforeDownloadPath = m_before.Path();
  s.StartAppAfterDownloadPath = m_after.Path();
  if (m_sharedFiles) m_sharedFiles->Apply(s);
  if (m_ownFiles) m_ownFiles->Apply(s);
}

}  // namespace morvane
