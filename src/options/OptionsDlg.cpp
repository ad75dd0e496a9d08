#include "options/OptionsDlg.h"

#include <utility>

#include "base/PrivateMessages.h"
#include "options/DownloadPage.h"
#include "options/TabDlgPageGeneral.h"
#include "options/UploadPage.h"
#include "res/resource.h"

namespace morvane {

OptionsDlg::OptionsDlg(const OptionsContext& context, std::function<void()> saveSettings)
    : CDialogImpl<OptionsDlg>(IDD_OPTIONS),
      m_context(context),
      m_saveSettings(std::move(saveSettings)) {}

std::span<const MessageEntry<OptionsDlg>> OptionsDlg::MessageMap() {
  using D = OptionsDlg;
  static constexpr MessageEntry<D> kMap[] = {
      NotifyHandler<&D::OnSelChanging>(IDC_OPTIONS_TAB, TCN_SELCHANGING),
      NotifyHandler<&D::OnSelChange>(IDC_OPTIONS_TAB, TCN_SELCHANGE),
      CommandHandler<&D::OnApply>(IDC_OPTIONS_APPLY, BN_CLICKED),
      MessageHandler<&D::OnPageOk>(WM_PAGE_OK),
      MessageHandler<&D::OnPageCancel>(WM_PAGE_CANCEL),
      // Raw: the dialog's default processing of WM_DESTROY still runs.
      MessageHandler<&D::OnDestroy>(WM_DESTROY),
  };
  return kMap;
}

template <class Page>
Page* OptionsDlg::AddPage(int index, const wchar_t* text, Page* page) {
  if (page) page = static_cast<Page*>(CTacControlDlg::CreatePage(page, m_tab.Handle()));
  m_tab.InsertItem(index, text, reinterpret_cast<LPARAM>(static_cast<CTacControlDlg*>(page)));
  return page;
}

BOOL OptionsDlg::OnInit() {
  m_tab.Attach(m_hWnd, IDC_OPTIONS_TAB);
  // The pages are children of the tab control: Tab walks through them as through our own controls.
  MakeControlParent(m_tab.Handle());

  m_pGeneral = AddPage(0, L"Общие", new CTabDlgPageGeneral(m_context));
  m_pDownload = AddPage(1, L"Загрузка", new CTabDlgPageDownload(m_context));
  m_pUpload = AddPage(2, L"Выгрузка", new CTabDlgPageUpload(m_context));

  ShowPage(0, true);
  return TRUE;  // the focus goes to the first tab stop, OK
}

CTacControlDlg* OptionsDlg::PageOfTab(int index) const {
  return reinterpret_cast<CTacControlDlg*>(m_tab.ItemData(index));
}

void OptionsDlg::ShowPage(int index, bool show) const {
  if (CTacControlDlg* page = index >= 0 ? PageOfTab(index) : nullptr) {
    ::ShowWindow(page->Handle(), show ? SW_SHOW : SW_HIDE);
  }
}

// Apply: each page copies its rows of the table in turn (General, Download, Upload), then the
// options are stored. The pages' blocks run only for the pages that exist.
void OptionsDlg::Apply() {
  for (CTacControlDlg* page :
       {static_cast<CTacControlDlg*>(m_pGeneral), static_cast<CTacControlDlg*>(m_pDownload),
        static_cast<CTacControlDlg*>(m_pUpload)}) {
    if (page) page->Apply();
  }
  if (m_saveSettings) m_saveSettings();
}

void OptionsDlg::OnOK() {
  Apply();
  EndDialog(IDOK);
}

void OptionsDlg::OnApply() {
  Apply();
}

void OptionsDlg::OnPageOk() {
  OnOK();
}

void OptionsDlg::OnPageCancel() {
  OnCancel();
}

LRESULT OptionsDlg::OnSelChanging(NMHDR*) {
  ShowPage(m_tab.CurSel(), false);
  return FALSE;  // allow the change
}

void OptionsDlg::OnSelChange(NMHDR*) {
  ShowPage(m_tab.CurSel(), true);
}

// Ctrl+Tab and Ctrl+Shift+Tab (Ctrl+PgDn, Ctrl+PgUp) switch pages, as in the system's own tabbed
// dialogs; the tab control itself is not a tab stop once the pages are part of the Tab walk.
bool OptionsDlg::PreTranslateMessage(MSG* message) {
  if (message->message != WM_KEYDOWN || ::GetKeyState(VK_CONTROL) >= 0) return false;
  if (message->hwnd != m_hWnd && !::IsChild(m_hWnd, message->hwnd)) return false;
  const bool back =
      message->wParam == VK_PRIOR || (message->wParam == VK_TAB && ::GetKeyState(VK_SHIFT) < 0);
  if (message->wParam != VK_TAB && message->wParam != VK_NEXT && message->wParam != VK_PRIOR) {
    return false;
  }
  const int count = m_tab.ItemCount();
  if (count > 0) SelectTab((m_tab.CurSel() + (back ? count - 1 : 1)) % count);
  return true;
}

void OptionsDlg::SelectTab(int index) {
  ShowPage(m_tab.CurSel(), false);
  m_tab.SetCurSel(index);
  ShowPage(index, true);
  // A control of the hidden page must not keep the focus; from the tab control the arrow keys go
  // on switching.
  ::SetFocus(m_tab.Handle());
}

// Enter on a focused push button of a page reaches this dialog (the dialog manager sends the
// default command to the top-level dialog): it belongs to the page.
bool OptionsDlg::OnCommand(WORD id, WORD code, HWND control) {
  if (control && ::GetParent(control) != m_hWnd && ::IsChild(m_hWnd, control)) {
    ::SendMessageW(::GetParent(control), WM_COMMAND, MAKEWPARAM(id, code),
                   reinterpret_cast<LPARAM>(control));
    return true;
  }
  return CDialogImpl<OptionsDlg>::OnCommand(id, code, control);
}

// Whatever closes the dialog, the pages go first; each deletes itself with its window.
INT_PTR OptionsDlg::OnDestroy(WPARAM, LPARAM) {
  while (m_tab && m_tab.ItemCount() > 0) {
    if (CTacControlDlg* page = PageOfTab(0); page && page->Handle()) {
      ::DestroyWindow(page->Handle());
    }
    m_tab.DeleteItem(0);
  }
  m_pGeneral = nullptr;
  m_pDownload = nullptr;
  m_pUpload = nullptr;
  return FALSE;
}

}  // namespace morvane
