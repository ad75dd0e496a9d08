#pragma once
// The main window: the log, the toolbar and the notification icon; the window the component
// delivers terminal requests to; and the owner of the component wrapper and the registry object
// for the life of the program. Its start-up brings every part up in order, and its close sequence
// takes them down (autorun entry, icon, settings, log, component, registry).
#include <windows.h>

#include <functional>
#include <memory>
#include <span>

#include "app/TrayIcon.h"
#include "exchange/RequestIntake.h"
#include "framework/MessageMap.h"
#include "framework/ToolBar.h"
#include "log/LogView.h"
#include "settings/Registry.h"
#include "terminal/InterfaceCipherLab.h"

namespace morvane {

struct ServerSettings;
class IFileSystem;
class IProgramLauncher;

class CMorvaneDlg : public CDialogImpl<CMorvaneDlg>, public IRequestHandlers {
 public:
  // benchmarkLogHook: benchmark builds only, see CMorvaneApp.
  explicit CMorvaneDlg(ServerSettings& settings,
                       std::function<void(CLogView&)> benchmarkLogHook = {});
  ~CMorvaneDlg() override;

  static std::span<const MessageEntry<CMorvaneDlg>> MessageMap();

  // Terminal requests, from the intake.
  void DownloadToTerminal(const std::wstring& ip, const std::wstring& baseNumber,
                          const std::wstring& serial) override;
  void UploadFromTerminal(std::wstring ip, std::wstring baseNumber, std::wstring extra,
                          std::wstring dataKind, std::wstring serial) override;

  IEventLog& Log() { return m_log; }
  int IsConnected() const { return m_bConnected; }
  bool IsShown() const { return m_bVisible != 0; }

 protected:
  // Runs StartUp; a start that throws ends the program cleanly (message box, exit code -1).
  BOOL OnInit() override;
  // The start-up sequence, in its order (later steps read what earlier steps set up).
  virtual void StartUp();
  void DestroyWindow() override;
  INT_PTR RouteMessage(UINT message, WPARAM wParam, LPARAM lParam, bool& handled) override;

 private:
  // Start-up steps.
  [[noreturn]] void AbandonStart();
  void AddSystemMenuItem();
  void BuildToolbar();
  void ApplyTransparency();
  void UpdateConnectButtons();

  void ShowMainWindow();
  void HideMainWindow();
  void ShowTrayMenu();

  INT_PTR OnTerminalCopyData(WPARAM sender, LPARAM copyData);
  INT_PTR OnDoUpload(WPARAM, LPARAM);
  INT_PTR OnStartHidden(WPARAM, LPARAM);
  INT_PTR OnStartShown(WPARAM, LPARAM);
  INT_PTR OnWindowPosChanging(WPARAM, LPARAM windowPos);
  INT_PTR OnSysCommand(WPARAM command, LPARAM);
  INT_PTR OnPaint(WPARAM, LPARAM);
  INT_PTR OnQueryDragIcon(WPARAM, LPARAM);
  INT_PTR OnTrayNotify(WPARAM, LPARAM mouseMessage);
  INT_PTR OnEndSession(WPARAM ending, LPARAM);
  void OnTaskbarCreated();
  INT_PTR OnConnect(WPARAM, LPARAM);
  INT_PTR OnDisconnect(WPARAM, LPARAM);
  INT_PTR OnHide(WPARAM, LPARAM);
  INT_PTR OnShow(WPARAM, LPARAM);
  INT_PTR OnAbout(WPARAM, LPARAM);
  INT_PTR OnHelp(WPARAM, LPARAM);
  INT_PTR OnOptions(WPARAM, LPARAM);
  INT_PTR OnLogButton(WPARAM, LPARAM);
  INT_PTR OnLogSaveAs(WPARAM, LPARAM);
  INT_PTR OnLogSave(WPARAM, LPARAM);
  INT_PTR OnLogClear(WPARAM, LPARAM);

  ServerSettings& m_settings;
  HICON m_hIcon = nullptr;  // shared resource icon: not destroyed
  CLogView m_log;
  std::function<void(CLogView&)> m_benchmarkLogHook;
  CToolBar m_toolbar;
  CTrayIcon m_tray;
  std::unique_ptr<IFileSystem> m_fileSystem;
  std::unique_ptr<IProgramLauncher> m_launcher;
  std::unique_ptr<CRequestIntake> m_intake;
  std::unique_ptr<CInterfaceCipherLab> m_component;
  std::unique_ptr<CRegistry> m_registry;
  int m_bConnected = 0;
  int m_bVisible = 0;          // while 0 the window refuses to be shown
  bool m_startFailed = false;  // the window handles nothing while the program ends
};

}  // namespace morvane
