#include "app/MorvaneDlg.h"

#include <optional>

#include "app/AboutDlg.h"
#include "app/Autorun.h"
#include "app/Help.h"
#include "app/StartFailure.h"
#include "app/Transparency.h"
#include "base/PrivateMessages.h"
#include "exchange/Download.h"
#include "exchange/ExchangeContext.h"
#include "exchange/ExternalApp.h"
#include "exchange/Upload.h"
#include "exchange/Win32FileSystem.h"
#include "options/OptionsDlg.h"
#include "res/resource.h"
#include "settings/RegistrySettings.h"
#include "settings/ServerSettings.h"
#include "terminal/FatalError.h"
#include "terminal/ServerControl.h"

namespace morvane {

namespace {

constexpr int kToolbarImageSize = 48;
constexpr int kToolbarBitmaps[] = {IDB_CONNECT, IDB_DISCONNECT, IDB_OPTIONS,
                                   IDB_HELP,    IDB_ABOUT,      IDB_EXIT};
constexpr ToolBarButton kToolbarButtons[] = {
    {ID_CONNECT, 0, L"Подключить"},    {ID_DISCONNECT, 1, L"Отключить"},
    {ID_OPTIONS, 2, L"Настройки"},     {ID_HELP_INDEX, 3, L"Справка"},
    {ID_APP_ABOUT, 4, L"О программе"}, {ID_EXIT, 5, L"Выход"},
};

// Explorer announces a notification area made anew (after it restarted) to every top-level window.
UINT TaskbarCreatedMessage() {
  static const UINT message = ::RegisterWindowMessageW(L"TaskbarCreated");
  return message;
}

}  // namespace

CMorvaneDlg::CMorvaneDlg(ServerSettings& settings, std::function<void(CLogView&)> benchmarkLogHook)
    : CDialogImpl<CMorvaneDlg>(IDD_MORVANE_DIALOG),
      m_settings(settings),
      m_hIcon(::LoadIconW(CDialog::ResourceInstance(), MAKEINTRESOURCEW(IDI_MAINFRAME))),
      m_benchmarkLogHook(std::move(benchmarkLogHook)),
      m_fileSystem(std::make_unique<CWin32FileSystem>()),
      m_launcher(std::make_unique<CProgramLauncher>()) {}

CMorvaneDlg::~CMorvaneDlg() = default;

std::span<const MessageEntry<CMorvaneDlg>> CMorvaneDlg::MessageMap() {
  using D = CMorvaneDlg;
  static constexpr MessageEntry<D> kMap[] = {
      OnMessageEntry<D>(WM_SYSCOMMAND, &D::OnSysCommand),
      OnMessageEntry<D>(WM_PAINT, &D::OnPaint),
      OnMessageEntry<D>(WM_QUERYDRAGICON, &D::OnQueryDragIcon),
      OnCommandEntry<D>(ID_OPTIONS, &D::OnOptions),
      OnCommandEntry<D>(ID_APP_ABOUT, &D::OnAbout),
      OnCommandEntry<D>(ID_HIDE, &D::OnHide),
      OnCommandEntry<D>(ID_SHOW, &D::OnShow),
      OnCommandEntry<D>(IDC_LOG_BUTTON, &D::OnLogButton),
      OnCommandEntry<D>(ID_LOG_SAVE_AS, &D::OnLogSaveAs),
      OnCommandEntry<D>(ID_LOG_SAVE, &D::OnLogSave),
      OnCommandEntry<D>(ID_LOG_CLEAR, &D::OnLogClear),
      OnCommandEntry<D>(ID_DISCONNECT, &D::OnDisconnect),
      OnCommandEntry<D>(ID_CONNECT, &D::OnConnect),
      OnCommandEntry<D>(ID_HELP_INDEX, &D::OnHelp),
      OnMessageEntry<D>(WM_DO_UPLOAD, &D::OnDoUpload),
      OnMessageEntry<D>(WM_COPYDATA, &D::OnTerminalCopyData),
      OnMessageEntry<D>(WM_START_HIDDEN, &D::OnStartHidden),
      OnMessageEntry<D>(WM_START_SHOWN, &D::OnStartShown),
      OnMessageEntry<D>(WM_WINDOWPOSCHANGING, &D::OnWindowPosChanging),
      OnMessageEntry<D>(WM_TRAY_NOTIFY, &D::OnTrayNotify),
      OnMessageEntry<D>(WM_ENDSESSION, &D::OnEndSession),
      RegisteredMessageHandler<&D::OnTaskbarCreated>(&TaskbarCreatedMessage),
  };
  return kMap;
}

BOOL CMorvaneDlg::OnInit() {
  // Left to the dialog's exception barrier, a failure here would leave a process without a
  // window to show and without a way to close it.
  try {
    StartUp();
  } catch (...) {
    AbandonStart();
  }
  return TRUE;
}

void CMorvaneDlg::StartUp() {
  m_log.Attach(Item(IDC_LOG_EDIT));
  if (m_benchmarkLogHook) m_benchmarkLogHook(m_log);
  m_intake = std::make_unique<CRequestIntake>(m_hWnd, *this);

  AddSystemMenuItem();
  ::SendMessageW(m_hWnd, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(m_hIcon));
  ::SendMessageW(m_hWnd, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(m_hIcon));
  BuildToolbar();

  // A component that cannot be created ends the process inside the constructor.
  m_component = std::make_unique<CInterfaceCipherLab>(m_hWnd);
  if (!m_component->IsLoaded()) {
    m_component.reset();
    g_pCipherLab = nullptr;
    ::MessageBoxW(m_hWnd, kComponentCreateFailed, kErrorCaption, MB_ICONERROR);
    ::ExitProcess(static_cast<UINT>(-1));
  }
  g_pCipherLab = m_component.get();
  // From here on the component may deliver requests.
  g_pCipherLab->SetWiFi();
  g_pCipherLab->RegisterHWNDWindow(m_hWnd);

  m_registry = std::make_unique<CRegistry>();
  m_registry->SetRootKey(HKEY_CURRENT_USER);
  LoadSettings(m_registry.get(), m_settings, g_pCipherLab);

  m_tray.Add(m_hWnd, WM_TRAY_NOTIFY, m_hIcon);
  ApplyTransparency();
  if (IsSet(m_settings.AutoConnect)) StartServer(g_pCipherLab, m_log, m_bConnected);
  UpdateConnectButtons();

  // Until this message is handled the window cannot be shown, so a program that starts in the
  // tray never flashes its window.
  ::PostMessageW(
      m_hWnd, IsSet(m_settings.MinimizeToTaryWhenStart) ? WM_START_HIDDEN : WM_START_SHOWN, 0, 0);
}

// No close sequence: it would write the defaults of settings that were never loaded over the
// stored ones. The window stays, hidden and deaf, until the user has read why the program ends.
void CMorvaneDlg::AbandonStart() {
  m_startFailed = true;
  m_tray.Remove();
  // The component stops delivering requests to a window that cannot serve them.
  g_pCipherLab = nullptr;
  m_component.reset();
  m_registry.reset();
  ShowStartFailure();
  ::ExitProcess(static_cast<UINT>(kStartFailedExitCode));
}

INT_PTR CMorvaneDlg::RouteMessage(UINT message, WPARAM wParam, LPARAM lParam, bool& handled) {
  if (m_startFailed) {
    handled = true;  // not even the dialog's own OK and Cancel, which would start the close
    return FALSE;
  }
  return CDialogImpl<CMorvaneDlg>::RouteMessage(message, wParam, lParam, handled);
}

void CMorvaneDlg::DestroyWindow() {
  if (!m_hWnd) return;  // the close sequence runs once
  if (m_registry) UpdateAutorunEntry(*m_registry, m_settings.AutoRun);
  m_tray.Remove();
  SaveSettings(m_registry.get(), m_settings, g_pCipherLab);
  m_log.SaveLog(LogSaveMode::Exit, m_settings, m_hWnd);
  // "Realize" shuts the component down; the server is not stopped with "Detach" first.
  g_pCipherLab = nullptr;
  m_component.reset();
  m_registry.reset();
  CDialog::DestroyWindow();
}

void CMorvaneDlg::AddSystemMenuItem() {
  HMENU menu = ::GetSystemMenu(m_hWnd, FALSE);
  wchar_t text[64] = {};
  if (!menu || ::LoadStringW(CDialog::ResourceInstance(), IDS_ABOUTBOX, text, 64) <= 0) return;
  ::AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
  ::AppendMenuW(menu, MF_STRING, IDM_ABOUTBOX, text);
}

void CMorvaneDlg::BuildToolbar() {
  if (m_toolbar.Create(m_hWnd, IDW_TOOLBAR, kToolbarImageSize, kToolbarBitmaps, kToolbarButtons)) {
    m_toolbar.MakeRoomInParent();
  }
}

void CMorvaneDlg::ApplyTransparency() {
  ApplyStoredTransparency(m_hWnd, m_settings);
}

void CMorvaneDlg::UpdateConnectButtons() {
  const ConnectCommandStates states = ConnectCommandStatesFor(m_bConnected);
  m_toolbar.EnableButton(ID_CONNECT, states.connectEnabled);
  m_toolbar.EnableButton(ID_DISCONNECT, states.disconnectEnabled);
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

void CMorvaneDlg::ShowTrayMenu() {
  ScopedMenu menu(::LoadMenuW(CDialog::ResourceInstance(), MAKEINTRESOURCEW(IDR_TRAY_MENU)));
  if (!menu) return;
  HMENU popup = ::GetSubMenu(menu.Get(), 0);
  const ConnectCommandStates states = ConnectCommandStatesFor(m_bConnected);
  ::EnableMenuItem(popup, ID_CONNECT,
                   MF_BYCOMMAND | (states.connectEnabled ? MF_ENABLED : MF_GRAYED));
  ::EnableMenuItem(popup, ID_DISCONNECT,
                   MF_BYCOMMAND | (states.disconnectEnabled ? MF_ENABLED : MF_GRAYED));
  POINT cursor{};
  ::GetCursorPos(&cursor);
  ::SetForegroundWindow(m_hWnd);
  ::TrackPopupMenu(popup, TPM_RECURSE | TPM_RIGHTALIGN | TPM_BOTTOMALIGN | TPM_NONOTIFY,
                   cursor.x - 1, cursor.y - 1, 0, m_hWnd, nullptr);
}

INT_PTR CMorvaneDlg::OnTerminalCopyData(WPARAM, LPARAM copyData) {
  m_intake->OnTerminalCopyData(reinterpret_cast<const COPYDATASTRUCT*>(copyData));
  return FALSE;  // the dialog's default result; the sender is not told anything
}

INT_PTR CMorvaneDlg::OnDoUpload(WPARAM, LPARAM) {
  m_intake->OnDoUpload();
  return TRUE;
}

void CMorvaneDlg::DownloadToTerminal(const std::wstring& ip, const std::wstring& baseNumber,
                                     const std::wstring& serial) {
  CSystemClock clock;
  ExchangeContext ctx{m_settings, g_pCipherLab, m_log, *m_fileSystem, *m_launcher, clock};
  morvane::DownloadToTerminal(ctx, ip, baseNumber, serial);
}

void CMorvaneDlg::UploadFromTerminal(std::wstring ip, std::wstring baseNumber, std::wstring extra,
                                     std::wstring dataKind, std::wstring serial) {
  CSystemClock clock;
  ExchangeContext ctx{m_settings, g_pCipherLab, m_log, *m_fileSystem, *m_launcher, clock};
  // The upload counter goes to the registry as soon as it advances.
  std::optional<CRegistrySettingsStore> store;
  if (m_registry) ctx.settingsStore = &store.emplace(*m_registry);
  morvane::UploadFromTerminal(ctx, ip, baseNumber, extra, dataKind, serial);
}

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

INT_PTR CMorvaneDlg::OnSysCommand(WPARAM command, LPARAM) {
  if ((command & 0xFFF0) == IDM_ABOUTBOX) {
    CAboutDlg about;
    about.DoModal(m_hWnd);
    return TRUE;
  }
  if ((command & 0xFFF0) == SC_MINIMIZE && IsSet(m_settings.MinimizeToTray)) {
    HideMainWindow();
    return TRUE;
  }
  return FALSE;
}

INT_PTR CMorvaneDlg::OnPaint(WPARAM, LPARAM) {
  if (!::IsIconic(m_hWnd)) return FALSE;
  PAINTSTRUCT paint{};
  HDC dc = ::BeginPaint(m_hWnd, &paint);
  ::SendMessageW(m_hWnd, WM_ICONERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
  RECT client{};
  ::GetClientRect(m_hWnd, &client);
  const int x = (client.right - ::GetSystemMetrics(SM_CXICON) + 1) / 2;
  const int y = (client.bottom - ::GetSystemMetrics(SM_CYICON) + 1) / 2;
  ::DrawIcon(dc, x, y, m_hIcon);
  ::EndPaint(m_hWnd, &paint);
  return TRUE;
}

INT_PTR CMorvaneDlg::OnQueryDragIcon(WPARAM, LPARAM) {
  return reinterpret_cast<INT_PTR>(m_hIcon);
}

INT_PTR CMorvaneDlg::OnTrayNotify(WPARAM, LPARAM mouseMessage) {
  if (mouseMessage == WM_LBUTTONDOWN) ShowMainWindow();
  if (mouseMessage == WM_RBUTTONUP) ShowTrayMenu();
  return TRUE;
}

INT_PTR CMorvaneDlg::OnConnect(WPARAM, LPARAM) {
  StartServer(g_pCipherLab, m_log, m_bConnected);
  UpdateConnectButtons();
  return TRUE;
}

INT_PTR CMorvaneDlg::OnDisconnect(WPARAM, LPARAM) {
  StopServer(g_pCipherLab, m_log, m_bConnected);
  UpdateConnectButtons();
  return TRUE;
}

// Windows is shutting down or the user logs off: the process will not get another chance, so the
// close sequence runs now and the settings and the log are not lost.
INT_PTR CMorvaneDlg::OnEndSession(WPARAM ending, LPARAM) {
  if (ending) {
    EndDialog(IDCANCEL);
    DestroyWindow();
  }
  return TRUE;
}

void CMorvaneDlg::OnTaskbarCreated() {
  m_tray.Restore();
}

INT_PTR CMorvaneDlg::OnHide(WPARAM, LPARAM) {
  HideMainWindow();
  return TRUE;
}

INT_PTR CMorvaneDlg::OnShow(WPARAM, LPARAM) {
  ShowMainWindow();
  return TRUE;
}

INT_PTR CMorvaneDlg::OnAbout(WPARAM, LPARAM) {
  CAboutDlg about;
  about.DoModal(m_hWnd);
  return TRUE;
}

INT_PTR CMorvaneDlg::OnHelp(WPARAM, LPARAM) {
  OpenProgramHelp(m_hWnd);
  return TRUE;
}

// One options dialog at a time. What it applies is stored at once (SaveSettings, as at exit).
INT_PTR CMorvaneDlg::OnOptions(WPARAM, LPARAM) {
  static bool open = false;
  if (open) return TRUE;
  open = true;
  OptionsDlg options({m_settings, g_pCipherLab, m_hWnd},
                     [this] { SaveSettings(m_registry.get(), m_settings, g_pCipherLab); });
  options.DoModal(m_hWnd);
  open = false;
  return TRUE;
}

INT_PTR CMorvaneDlg::OnLogButton(WPARAM, LPARAM) {
  m_log.ShowLogMenu(m_hWnd, Item(IDC_LOG_BUTTON));
  return TRUE;
}

INT_PTR CMorvaneDlg::OnLogSaveAs(WPARAM, LPARAM) {
  m_log.SaveLog(LogSaveMode::SaveAs, m_settings, m_hWnd);
  return TRUE;
}

INT_PTR CMorvaneDlg::OnLogSave(WPARAM, LPARAM) {
  m_log.SaveLog(LogSaveMode::Save, m_settings, m_hWnd);
  return TRUE;
}

INT_PTR CMorvaneDlg::OnLogClear(WPARAM, LPARAM) {
  m_log.Clear();
  return TRUE;
}

}  // namespace morvane
