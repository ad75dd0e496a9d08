#pragma once
// The options dialog "Настройки": a tab control with the pages "Общие", "Загрузка" and
// "Выгрузка". OK and "Применить" copy the pages' controls into the settings and the component,
// then store the options at once; Cancel (Escape, the close box) applies nothing more.
#include <windows.h>

#include <functional>
#include <span>

#include "framework/Controls.h"
#include "framework/MessageMap.h"
#include "options/OptionsContext.h"

namespace morvane {

class CTacControlDlg;
class CTabDlgPageDownload;
class CTabDlgPageGeneral;
class CTabDlgPageUpload;

class OptionsDlg : public CDialogImpl<OptionsDlg> {
 public:
  // saveSettings runs at the end of every Apply, so that applied options survive a crash or a
  // power cut; it may be empty.
  OptionsDlg(const OptionsContext& context, std::function<void()> saveSettings);

  static std::span<const MessageEntry<OptionsDlg>> MessageMap();

  // The pages, null while absent (before initialisation, after closing, or when creation failed).
  CTabDlgPageGeneral* GeneralPage() const { return m_pGeneral; }
  CTabDlgPageDownload* DownloadPage() const { return m_pDownload; }
  CTabDlgPageUpload* UploadPage() const { return m_pUpload; }

 protected:
  BOOL OnInit() override;
  void OnOK() override;
  bool OnCommand(WORD id, WORD code, HWND control) override;
  bool PreTranslateMessage(MSG* message) override;

 private:
  // Creates page (may be null: an absent page) and inserts its tab at index.
  template <class Page>
  Page* AddPage(int index, const wchar_t* text, Page* page);
  CTacControlDlg* PageOfTab(int index) const;
  void ShowPage(int index, bool show) const;
  void SelectTab(int index);

  void Apply();

  void OnApply();
  LRESULT OnSelChanging(NMHDR*);
  void OnSelChange(NMHDR*);
  void OnPageOk();
  void OnPageCancel();
  INT_PTR OnDestroy(WPARAM, LPARAM);

  OptionsContext m_context;
  std::function<void()> m_saveSettings;
  CTabCtrl m_tab;
  CTabDlgPageGeneral* m_pGeneral = nullptr;
  CTabDlgPageDownload* m_pDownload = nullptr;
  CTabDlgPageUpload* m_pUpload = nullptr;
};

}  // namespace morvane
