#include "app/MorvaneDlg.h"

#include "base/PrivateMessages.h"
#include "res/resource.h"
#include "settings/ServerSettings.h"

namespace morvane {

CMorvaneDlg::CMorvaneDlg(ServerSettings& settings)
    : CDialogImpl<CMorvaneDlg>(IDD_MORVANE_DIALOG), m_settings(settings) {}

CMorvaneDlg::~CMorvaneDlg() = default;

std::span<const MessageEntry<CMorvaneDlg>> CMorvaneDlg::MessageMap() {
  using D = CMorvaneDlg;
  static constexpr MessageEntry<D> kMap[] = {
      OnMessageEntry<D>(WM_COPYDATA, &D::OnTerminalCopyData),
      OnMessageEntry<D>(WM_DO_UPLOAD, &D::OnDoUpload),
      OnMessageEntry<D>(WM_START_HIDDEN, &D::OnStartHidden),
      OnMessageEntry<D>(WM_START_SHOWN, &D::OnStartShown),
      OnMessageEntry<D>(WM_WINDOWPOSCHANGING, &D::OnWindowPosChanging),
  };
  return kMap;
}

BOOL CMorvaneDlg::OnInit() {
  m_log.Attach(Item(IDC_LOG_EDIT));
  m_intake = std::make_unique<CRequestIntake>(m_hWnd, *this);

  // A component that cannot be created ends the process inside the constructor.
  m_component = std::make_unique<CInterfaceCipherLab>(m_hWnd);
  g_pCipherLab = m_component.get();
  g_pCipherLab->SetWiFi();
  g_pCipherLab->RegisterHWNDWindow(m_hWnd);

  ::PostMessageW(
      m_hWnd, IsSet(m_settings.MinimizeToTaryWhenStart) ? WM_START_HIDDEN : WM_START_SHOWN, 0, 0);
  return TRUE;
}

void CMorvaneDlg::DestroyWindow() {
  g_pCipherLab = nullptr;
  m_component.reset();
  CDialog::DestroyWindow();
}

INT_PTR CMorvaneDlg::OnTerminalCopyData(WPARAM, LPARAM copyData) {
  m_intake->OnTerminalCopyData(reinterpret_cast<const COPYDATASTRUCT*>(copyData));
  return FALSE;  // the dialog's default result; the sender is not told anything
}

INT_PTR CMorvaneDlg::OnDoUpload(WPARAM, LPARAM) {
  m_intake->OnDoUpload();
  return TRUE;
}

void CMorvaneDlg::DownloadToTerminal(const std::wstring&, const std::wstring&,
                                     const std::wstring&) {}

void CMorvaneDlg::UploadFromTerminal(std::wstring, std::wstring, std::wstring, std::wstring,
                                     std::wstring) {}

INT_PTR CMorvaneDlg::OnStartHidden(WPARAM, LPARAM) {
  HideMainWindow();
  return TRUE;
}

INT_PTR CMorvaneDlg::OnStartShown(WPARAM, LPARAM) {
  ShowMainWindow();
  return TRUE;
}

INT_PTR CMorvaneDlg::OnWindowPosChanging(WPARAM, LPARAM windowPos) {
  if (!m_bVisible) reinterpret_cast<WINDOWPOS*>(windowPos)->flags &= ~SWP_SHOWWINDOW;
  return FALSE;  // then the default processing
}

void CMorvaneDlg::ShowMainWindow() {
  m_bVisible = 1;
  ::ShowOwnedPopups(m_hWnd, TRUE);
  ::SetWindowPos(m_hWnd, HWND_TOP, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_SHOWWINDOW);
}

void CMorvaneDlg::HideMainWindow() {
  m_bVisible = 0;
  ::ShowWindow(m_hWnd, SW_HIDE);
  ::ShowOwnedPopups(m_hWnd, FALSE);
  ::SetWindowPos(m_hWnd, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

}  // namespace morvane
