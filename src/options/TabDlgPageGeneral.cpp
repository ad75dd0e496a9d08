#include "options/TabDlgPageGeneral.h"

#include "app/Transparency.h"
#include "base/NumberText.h"
#include "log/LogFile.h"
#include "options/DelimiterCode.h"
#include "options/FolderPicker.h"
#include "res/resource.h"
#include "settings/ServerSettings.h"
#include "terminal/TerminalComponent.h"

namespace morvane {
namespace {

// The character of an 8-bit code in the thread's ANSI code page.
std::wstring CharacterText(int code) {
  const char byte = static_cast<char>(code);
  wchar_t wide[2] = {};
  if (::MultiByteToWideChar(CP_THREAD_ACP, 0, &byte, 1, wide, 1) != 1) return std::wstring();
  return std::wstring(1, wide[0]);
}

}  // namespace

CTabDlgPageGeneral::CTabDlgPageGeneral(const OptionsContext& context)
    : CDialogImpl<CTabDlgPageGeneral, CTacControlDlg>(IDD_PAGE_GENERAL, context) {}

std::span<const MessageEntry<CTabDlgPageGeneral>> CTabDlgPageGeneral::MessageMap() {
  using D = CTabDlgPageGeneral;
  static constexpr MessageEntry<D> kMap[] = {
      CommandHandler<&D::OnTransparencyClicked>(IDC_GENERAL_TRANSPARENCY, BN_CLICKED),
      CommandHandler<&D::OnDecimalKillFocus>(IDC_GENERAL_DELIMITER_DEC, EN_KILLFOCUS),
      CommandHandler<&D::OnHexadecimalKillFocus>(IDC_GENERAL_DELIMITER_HEX, EN_KILLFOCUS),
      CommandHandler<&D::OnCharacterKillFocus>(IDC_GENERAL_DELIMITER_CHAR, EN_KILLFOCUS),
      NotifyHandler<&D::OnSliderCustomDraw>(IDC_GENERAL_OPACITY, NM_CUSTOMDRAW),
      CommandHandler<&D::OnBrowseLog>(IDC_GENERAL_BROWSE_LOG, BN_CLICKED),
      // Raw: the dialog's default processing of WM_DESTROY still runs.
      MessageHandler<&D::OnDestroy>(WM_DESTROY),
  };
  return kMap;
}

BOOL CTabDlgPageGeneral::OnInit() {
  m_minimizeToTray.Attach(m_hWnd, IDC_GENERAL_MINIMIZE_TO_TRAY);
  m_transparency.Attach(m_hWnd, IDC_GENERAL_TRANSPARENCY);
  m_opacity.Attach(m_hWnd, IDC_GENERAL_OPACITY);
  m_delay.Attach(m_hWnd, IDC_GENERAL_DELAY);
  m_port.Attach(m_hWnd, IDC_GENERAL_PORT);
  m_delimiterDecimal.Attach(m_hWnd, IDC_GENERAL_DELIMITER_DEC);
  m_delimiterHex.Attach(m_hWnd, IDC_GENERAL_DELIMITER_HEX);
  m_delimiterCharacter.Attach(m_hWnd, IDC_GENERAL_DELIMITER_CHAR);
  m_logFolder.Attach(m_hWnd, IDC_GENERAL_LOG_FOLDER);
  m_saveLogOnExit.Attach(m_hWnd, IDC_GENERAL_SAVE_LOG_ON_EXIT);
  m_logOneFile.Attach(m_hWnd, IDC_GENERAL_LOG_ONE_FILE);
  m_logEachFile.Attach(m_hWnd, IDC_GENERAL_LOG_EACH_FILE);
  m_autoRun.Attach(m_hWnd, IDC_GENERAL_AUTORUN);
  m_autoConnect.Attach(m_hWnd, IDC_GENERAL_AUTOCONNECT);
  m_startInTray.Attach(m_hWnd, IDC_GENERAL_START_IN_TRAY);

  const ServerSettings& s = m_context.settings;
  m_delay.LimitText(3);
  m_port.LimitText(5);
  m_delimiterDecimal.LimitText(3);
  m_delimiterHex.LimitText(2);
  m_delimiterCharacter.LimitText(1);

  m_autoRun.SetCheck(IsSet(s.AutoRun));
  m_autoConnect.SetCheck(IsSet(s.AutoConnect));
  m_startInTray.SetCheck(IsSet(s.MinimizeToTaryWhenStart));
  m_minimizeToTray.SetCheck(IsSet(s.MinimizeToTray));
  m_transparency.SetCheck(IsSet(s.AlphaBlends));

  m_opacity.SetRange(0, 255);
  m_opacity.SetPos(s.AlphaBlendsCount);
  m_opacity.Enable(m_transparency.Check() == 1);

  int port = 0;
  int delay = 0;
  int delimiter = 0;
  if (ITerminalComponent* component = m_context.component) {
    component->GetPort(port);
    component->GetDelay(delay);
    component->GetDelimiter(delimiter);
  }
  m_port.SetText(std::to_wstring(port));
  // The component keeps milliseconds; the page shows whole seconds.
  m_delay.SetText(std::to_wstring(static_cast<unsigned>(delay) / 1000u));
  m_delimiterDecimal.SetText(std::to_wstring(delimiter));
  RewriteDelimiterViews(IDC_GENERAL_DELIMITER_DEC);

  m_logFolder.SetText(s.DirectoryLog);
  m_saveLogOnExit.SetCheck(IsSet(s.SaveLogWhenQuite));
  m_logOneFile.SetCheck(IsSet(s.SaveLogOneFile));
  m_logEachFile.SetCheck(!IsSet(s.SaveLogOneFile));
  return FALSE;  // the options dialog places the focus
}

void CTabDlgPageGeneral::Apply() {
  // Enter applies while a delimiter view may still hold the user's text unconverted: the focused
  // view is brought into the decimal one first, as losing the focus would have done.
  if (m_delimiterHex.HasFocus()) RewriteDelimiterViews(IDC_GENERAL_DELIMITER_HEX);
  if (m_delimiterCharacter.HasFocus()) RewriteDelimiterViews(IDC_GENERAL_DELIMITER_CHAR);
  if (m_delimiterDecimal.HasFocus()) RewriteDelimiterViews(IDC_GENERAL_DELIMITER_DEC);

  if (ITerminalComponent* component = m_context.component) {
    component->SetPort(LeadingNumberOrZero(m_port.Text()));
    const unsigned seconds = static_cast<unsigned>(LeadingNumberOrZero(m_delay.Text()));
    component->SetDelay(static_cast<int>(seconds * 1000u));
    component->SetDelimiter(LeadingNumberOrZero(m_delimiterDecimal.Text()));
  }
  ServerSettings& s = m_context.settings;
  s.AlphaBlends = m_transparency.Check();
  s.AlphaBlendsCount = m_opacity.Pos();
  s.MinimizeToTray = m_minimizeToTray.Check();
  s.DirectoryLog = m_logFolder.Text();
  s.SaveLogWhenQuite = m_saveLogOnExit.Check();
  s.SaveLogOneFile = m_logOneFile.Check();
  s.AutoRun = m_autoRun.Check();
  s.AutoConnect = m_autoConnect.Check();
  s.MinimizeToTaryWhenStart = m_startInTray.Check();
}

void CTabDlgPageGeneral::RewriteDelimiterViews(int fromId) {
  const DelimiterView view = fromId == IDC_GENERAL_DELIMITER_HEX    ? DelimiterView::Hexadecimal
                             : fromId == IDC_GENERAL_DELIMITER_CHAR ? DelimiterView::Character
                                                                    : DelimiterView::Decimal;
  const int code = DelimiterCodeFrom(view, WideToCodePage(ItemText(fromId), CP_ACP));
  // Setting the texts sends no focus notification, so this does not run again.
  m_delimiterDecimal.SetText(std::to_wstring(code));
  m_delimiterHex.SetText(HexText(code));
  m_delimiterCharacter.SetText(CharacterText(code));
}

void CTabDlgPageGeneral::OnDecimalKillFocus() {
  RewriteDelimiterViews(IDC_GENERAL_DELIMITER_DEC);
}

void CTabDlgPageGeneral::OnHexadecimalKillFocus() {
  RewriteDelimiterViews(IDC_GENERAL_DELIMITER_HEX);
}

void CTabDlgPageGeneral::OnCharacterKillFocus() {
  RewriteDelimiterViews(IDC_GENERAL_DELIMITER_CHAR);
}

void CTabDlgPageGeneral::OnTransparencyClicked() {
  const bool on = m_transparency.Check() == 1;
  m_opacity.Enable(on);
  if (on && m_context.settings.AlphaBlendsCount < 255) {
    SetWindowOpacity(m_context.mainWindow, m_context.settings.AlphaBlendsCount);
  } else {
    ClearWindowOpacity(m_context.mainWindow);
  }
}

// The slider notifies whenever it paints, and so whenever its thumb moves or it is enabled.
LRESULT CTabDlgPageGeneral::OnSliderCustomDraw(NMHDR*) {
  PreviewOpacity();
  return CDRF_DODEFAULT;
}

void CTabDlgPageGeneral::PreviewOpacity() {
  if (m_transparency.Check() == 1) SetWindowOpacity(m_context.mainWindow, m_opacity.Pos());
}

void CTabDlgPageGeneral::OnBrowseLog() {
  m_logFolder.SetText(PickFolder(m_hWnd, m_logFolder.Text()));
}

// The stored transparency comes back: a preview that was not applied is undone.
INT_PTR CTabDlgPageGeneral::OnDestroy(WPARAM, LPARAM) {
  ApplyStoredTransparency(m_context.mainWindow, m_context.settings);
  ::InvalidateRect(m_context.mainWindow, nullptr, TRUE);
  return FALSE;
}

}  // namespace morvane
