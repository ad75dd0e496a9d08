#pragma once
// The host's window: terminal requests arrive here through the server's own intake; downloads
// are answered with one base file, uploads are fetched into a shared file or one file each.
#include <windows.h>

#include <memory>
#include <string>

#include "exchange/RequestIntake.h"

namespace morvane::host {

struct HostSettings {
  int port = 5000;
  int delayMs = 5000;
  int delimiter = ';';
  std::wstring baseFile;    // sent on every download (empty: nothing to send)
  std::wstring uploadFile;  // mode 0 target, when set
  std::wstring uploadDir;   // mode 1 targets otherwise: <dir>\<serial>_<n>.txt
  int clearAfterUpload = 0;
  bool quiet = false;
};

class HostServer : public IRequestHandlers {
 public:
  explicit HostServer(HostSettings settings) : settings_(std::move(settings)) {}
  ~HostServer() override;

  // Creates the window and the component, and starts listening.
  bool Start();
  void OnCopyData(const COPYDATASTRUCT* copy) { intake_->OnTerminalCopyData(copy); }
  void OnDoUpload() { intake_->OnDoUpload(); }
  HWND Window() const { return window_; }

  void DownloadToTerminal(const std::wstring& ip, const std::wstring& baseNumber,
                          const std::wstring& serial) override;
  void UploadFromTerminal(std::wstring ip, std::wstring baseNumber, std::wstring extra,
                          std::wstring dataKind, std::wstring serial) override;

  int Downloads() const { return downloads_; }
  int Uploads() const { return uploads_; }
  int Failures() const { return failures_; }

 private:
  void Report(const wchar_t* what, const std::wstring& serial, const std::wstring& ip, int result);

  HostSettings settings_;
  HWND window_ = nullptr;
  std::unique_ptr<CRequestIntake> intake_;
  int downloads_ = 0, uploads_ = 0, failures_ = 0, fileCounter_ = 0;
};

}  // namespace morvane::host
