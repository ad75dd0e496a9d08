#pragma once
// The options dialog's "Загрузка" page: the kind of download, chosen by a radio pair that shows
// one of two embedded dialogs between the page's two groups, and the programs run before and
// after a download. The page fills its controls from the settings when it opens and writes
// nothing itself; ReadBack copies the controls into the settings on OK and Apply.
#include <memory>
#include <span>

#include "settings/EmbeddedDlg.h"

namespace morvane {

struct ServerSettings;

// One set of up to five base files for all terminals.
class COneFileForAllTSD : public CEmbeddedDlg<COneFileForAllTSD> {
 public:
  explicit COneFileForAllTSD(const ServerSettings& settings);
  static std::span<const MessageEntry<COneFileForAllTSD>> MessageMap();
  void ReadBack(ServerSettings& settings) const;

 protected:
  BOOL OnInit() override;

 private:
  INT_PTR OnBrowse(WPARAM command, LPARAM);
  const ServerSettings& m_settings;
};

// A folder with each terminal's own files, and whether a sent file is deleted.
class CForEachTSDOwnFile : public CEmbeddedDlg<CForEachTSDOwnFile> {
 public:
  explicit CForEachTSDOwnFile(const ServerSettings& settings);
  static std::span<const MessageEntry<CForEachTSDOwnFile>> MessageMap();
  void ReadBack(ServerSettings& settings) const;

 protected:
  BOOL OnInit() override;

 private:
  INT_PTR OnBrowseFolder(WPARAM, LPARAM);
  const ServerSettings& m_settings;
};

class CTabDlgPageDownload : public CEmbeddedDlg<CTabDlgPageDownload> {
 public:
  explicit CTabDlgPageDownload(const ServerSettings& settings);
  ~CTabDlgPageDownload() override;
  static std::span<const MessageEntry<CTabDlgPageDownload>> MessageMap();

  // Apply's Download block, in its order; both kinds are read whichever is shown.
  void ReadBack(ServerSettings& settings) const;

  COneFileForAllTSD* SharedFiles() const { return m_sharedFiles.get(); }
  CForEachTSDOwnFile* OwnFiles() const { return m_ownFiles.get(); }

 protected:
  BOOL OnInit() override;

 private:
  void ShowSelectedKind();
  INT_PTR OnKindClicked(WPARAM, LPARAM);
  INT_PTR OnBeforeChecked(WPARAM, LPARAM);
  INT_PTR OnAfterChecked(WPARAM, LPARAM);
  INT_PTR OnBrowseBefore(WPARAM, LPARAM);
  INT_PTR OnBrowseAfter(WPARAM, LPARAM);
  INT_PTR OnDestroy(WPARAM, LPARAM);

  const ServerSettings& m_settings;
  std::unique_ptr<COneFileForAllTSD> m_sharedFiles;
  std::unique_ptr<CForEachTSDOwnFile> m_ownFiles;
};

}  // namespace morvane
