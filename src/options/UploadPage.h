#pragma once
// The options dialog's "Выгрузка" page: one shared data file or a file per upload in a folder,
// the naming of those files with a live sample, clearing the terminal's data, and the programs
// run before and after an upload. The page fills its controls from the settings when it opens;
// the only setting it changes itself is an over-long fixed name, cut to 40 characters.
#include <span>
#include <string>

#include "framework/Controls.h"
#include "options/MyEdit.h"
#include "options/ProgramRow.h"
#include "options/TacControlDlg.h"
#include "options/UploadPageRules.h"

namespace morvane {

class CTabDlgPageUpload : public CDialogImpl<CTabDlgPageUpload, CTacControlDlg> {
 public:
  explicit CTabDlgPageUpload(const OptionsContext& context);
  static std::span<const MessageEntry<CTabDlgPageUpload>> MessageMap();

  // Rows 21 to 35 of Apply. The start number reaches SuffiksIndex only when the user changed it
  // in this dialog (typing, the up-down, the digit list's cut) since the page opened or since it
  // was last taken: uploads served meanwhile advance SuffiksIndex, and writing back the number
  // shown at opening would make the next uploads replace files already delivered.
  void Apply() override;

  int StartNumber() const { return m_startNumber; }

 protected:
  BOOL OnInit() override;

 private:
  // Reads field 1016 into the start number, with a message box when it is not a whole number
  // from 1 to 99999; the field then has the focus with its text selected.
  StartNumberReading TakeStartNumber();
  void EnableForMode() const;
  void RefreshSample();

  void OnKindClicked();
  void OnBrowseTarget();
  void OnBeforeClicked() { m_before.UpdateEnabled(); }
  void OnAfterClicked() { m_after.UpdateEnabled(); }
  void OnBrowseBefore() { m_before.Browse(); }
  void OnBrowseAfter() { m_after.Browse(); }
  void OnNameKindClicked();
  void OnSuffixKindClicked();
  void OnDigitsChanged();
  LRESULT OnStartSpin(NMHDR*);
  void OnNamingChanged();

  CButton m_kindShared;     // 1044
  CButton m_kindSeparate;   // 1047
  CEdit m_target;           // 1065: the data file or the folder
  CProgramRow m_before;     // 1068, 1070, 1072
  CProgramRow m_after;      // 1069, 1071, 1073
  CButton m_clearBases;     // 1022
  CButton m_clearFiles;     // 1023
  CButton m_nameSerial;     // 1075
  CButton m_nameFixed;      // 1076
  CButton m_suffixCounter;  // 1078
  CButton m_suffixTime;     // 1079
  CMyEdit m_prefix;         // 1015
  CEdit m_start;            // 1016
  CComboBox m_digits;       // 1081
  CUpDownCtrl m_startSpin;  // 1080
  CButton m_addBaseNumber;  // 1090
  CControl m_sample;        // 1085

  int m_startNumber = 1;
  // The start number's text as the page last put it there or took it into SuffiksIndex.
  std::wstring m_startTextTaken;
  // While the page writes its own fields, their change notifications refresh nothing.
  bool m_quiet = false;
};

}  // namespace morvane
