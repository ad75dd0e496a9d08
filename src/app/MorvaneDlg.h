#pragma once
// The main window: the log, the component's registered window (terminal requests arrive here),
// and the owner of the component wrapper for the life of the program.
#include <windows.h>

#include <memory>
#include <span>

#include "exchange/RequestIntake.h"
#include "framework/MessageMap.h"
#include "log/LogView.h"
#include "terminal/InterfaceCipherLab.h"

namespace morvane {

struct ServerSettings;

class CMorvaneDlg : public CDialogImpl<CMorvaneDlg>, public IRequestHandlers {
 public:
  explicit CMorvaneDlg(ServerSettings& settings);
  ~CMorvaneDlg() override;

  static std::span<const MessageEntry<CMorvaneDlg>> MessageMap();

  // Terminal requests, from the intake.
  void DownloadToTerminal(const std::wstring& ip, const std::wstring& baseNumber,
                          const std::wstring& serial) override;
  void UploadFromTerminal(std::wstring ip, std::wstring baseNumber, std::wstring extra,
                          std::wstring dataKind, std::wstring serial) override;

  IEventLog& Log() { return m_log; }

 protected:
  BOOL OnInit() override;
  void DestroyWindow() override;

 private:
  INT_PTR OnTerminalCopyData(WPARAM sender, LPARAM copyData);
  INT_PTR OnDoUpload(WPARAM, LPARAM);
  INT_PTR OnStartHidden(WPARAM, LPARAM);
  INT_PTR OnStartShown(WPARAM, LPARAM);
  INT_PTR OnWindowPosChanging(WPARAM, LPARAM windowPos);

  void ShowMainWindow();
  void HideMainWindow();

  ServerSettings& m_settings;
  CLogView m_log;
  std::unique_ptr<CRequestIntake> m_intake;
  std::unique_ptr<CInterfaceCipherLab> m_component;
  int m_bConnected = 0;
  int m_bVisible = 0;  // while 0 the window refuses to be shown
};

}  // namespace morvane
