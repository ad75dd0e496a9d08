#pragma once
// The options dialog's first page, "Общие": the component's delay, port and field delimiter, the
// window and start-up options and the log options. While the user edits, the three delimiter
// views stay in step, and the main window's transparency follows the box and the slider as a
// preview that closing the dialog undoes unless it was applied.
#include <span>

#include "framework/Controls.h"
#include "options/TacControlDlg.h"

namespace morvane {

class CTabDlgPageGeneral : public CDialogImpl<CTabDlgPageGeneral, CTacControlDlg> {
 public:
  explicit CTabDlgPageGeneral(const OptionsContext& context);

  static std::span<const MessageEntry<CTabDlgPageGeneral>> MessageMap();

  // Rows 1 to 12 of Apply: "Port", "Delay", "Delimiter" to the component, then the settings.
  void Apply() override;

 protected:
  BOOL OnInit() override;

 private:
  // Rewrites the three delimiter views from the one with this control id.
  void RewriteDelimiterViews(int fromId);
  void PreviewOpacity();

  void OnTransparencyClicked();
  void OnDecimalKillFocus();
  void OnHexadecimalKillFocus();
  void OnCharacterKillFocus();
  LRESULT OnSliderCustomDraw(NMHDR*);
  void OnBrowseLog();
  INT_PTR OnDestroy(WPARAM, LPARAM);

  CButton m_minimizeToTray;    // 1022
  CButton m_transparency;      // 1023
  CTrackBar m_opacity;         // 1024
  CEdit m_delay;               // 1015, whole seconds
  CEdit m_port;                // 1016
  CEdit m_delimiterDecimal;    // 1019
  CEdit m_delimiterHex;        // 1020
  CEdit m_delimiterCharacter;  // 1021
  CEdit m_logFolder;           // 1027
  CButton m_saveLogOnExit;     // 1026
  CButton m_logOneFile;        // 1041
  CButton m_logEachFile;       // 1035
  CButton m_autoRun;           // 1028
  CButton m_autoConnect;       // 1029
  CButton m_startInTray;       // 1030
};

}  // namespace morvane
