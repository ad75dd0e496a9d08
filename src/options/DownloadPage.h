#pragma once
// The options dialog's "Загрузка" page: the kind of download, chosen by a radio pair that shows
// one of two embedded dialogs between the page's two groups, and the programs run before and
// after a download. The page fills its controls from the settings when it opens and writes
// nothing itself; Apply copies the controls into the settings.
#include <memory>
#include <span>

#include "framework/Controls.h"
#include "options/EmbeddedDlg.h"
#include "options/ProgramRow.h"
#include "options/TacControlDlg.h"

namespace morvane {

struct ServerSettings;

// One set of up to five base files for all terminals.
class COneFileForAllTSD : public CEmbeddedDlg<COneFileForAllTSD> {
 public:
  explicit COneFileForAllTSD(const ServerSettings& settings);
  static std::span<const MessageEntry<COneFileForAllTSD>> MessageMap();
  void Apply(ServerSettings& settings) const;

 protected:
  BOOL OnInit() override;

 private:
  void BrowseBaseFile(int index);
  void OnBrowse1() { BrowseBaseFile(0); }
  void OnBrowse2() { BrowseBaseFile(1); }
  void OnBrowse3() { BrowseBaseFile(2); }
  void OnBrowse4() { BrowseBaseFile(3); }
  void OnBrowse5() { BrowseBaseFile(4); }

  const ServerSettings& m_settings;
  CEdit m_paths[5];  // base files 1 to 5
};

// A folder with each terminal's own files, and whether a sent file is deleted.
class CForEachTSDOwnFile : public CEmbeddedDlg<CForEachTSDOwnFile> {
 public:
  explicit CForEachTSDOwnFile(const ServerSettings& settings);
  static std::span<const MessageEntry<CForEachTSDOwnFile>> MessageMap();
  void Apply(ServerSettings& settings) const;

 protected:
  BOOL OnInit() override;

 private:
  void OnBrowseFolder();

  const ServerSettings& m_settings;
  CEdit m_folder;
  CButton m_deleteSent;
};

class CTabDlgPageDownload : public CDialogImpl<CTabDlgPageDownload, CTacControlDlg> {
 public:
  explicit CTabDlgPageDownload(const OptionsContext& context);
  ~CTabDlgPageDownload() override;
  static std::span<const MessageEntry<CTabDlgPageDownload>> MessageMap();

  // Rows 13 to 20 of Apply; both kinds are read whichever is shown.
  void Apply() override;

  COneFileForAllTSD* SharedFiles() const { return m_sharedFiles.get(); }
  CForEachTSDOwnFile* OwnFiles() const { return m_ownFiles.get(); }

 protected:
  BOOL OnInit() override;

 private:
  template <class Embedded>
  std::unique_ptr<Embedded> CreateEmbedded();

  void OnKindClicked();
  void OnBeforeClicked() { m_before.UpdateEnabled(); }
  void OnAfterClicked() { m_after.UpdateEnabled(); }
  void OnBrowseBefore() { m_before.Browse(); }
  void OnBrowseAfter() { m_after.Browse(); }
  INT_PTR OnDestroy(WPARAM, LPARAM);

  CButton m_kindShared;  // 1044
  CButton m_kindOwn;     // 1047
  CProgramRow m_before;  // 1022, 1043, 1046
  CProgramRow m_after;   // 1023, 1028, 1034
  std::unique_ptr<COneFileForAllTSD> m_sharedFiles;
  std::unique_ptr<CForEachTSDOwnFile> m_ownFiles;
};

}  // namespace morvane
