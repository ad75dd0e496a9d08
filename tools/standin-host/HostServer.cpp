#include "HostServer.h"

#include <cstdio>

#include "base/NumberText.h"
#include "base/PrivateMessages.h"
#include "terminal/InterfaceCipherLab.h"

namespace morvane::host {

namespace {

LRESULT CALLBACK HostWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* host = reinterpret_cast<HostServer*>(::GetWindowLongPtrW(window, GWLP_USERDATA));
  if (host && message == WM_COPYDATA) {
    host->OnCopyData(reinterpret_cast<const COPYDATASTRUCT*>(lParam));
    return FALSE;
  }
  if (host && message == WM_DO_UPLOAD) {
    host->OnDoUpload();
    return 0;
  }
  return ::DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace

HostServer::~HostServer() {
  delete g_pCipherLab;
  g_pCipherLab = nullptr;
  if (window_) ::DestroyWindow(window_);
}

bool HostServer::Start() {
  WNDCLASSW wc{};
  wc.lpfnWndProc = &HostWindowProc;
  wc.hInstance = ::GetModuleHandleW(nullptr);
  wc.lpszClassName = L"MorvaneStandinHost";
  ::RegisterClassW(&wc);
  window_ = ::CreateWindowExW(0, wc.lpszClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                              wc.hInstance, nullptr);
  if (!window_) return false;
  ::SetWindowLongPtrW(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  intake_ = std::make_unique<CRequestIntake>(window_, *this);

  g_pCipherLab = new CInterfaceCipherLab(window_);
  g_pCipherLab->SetShutdownWait(0);
  g_pCipherLab->SetWiFi();
  g_pCipherLab->RegisterHWNDWindow(window_);
  g_pCipherLab->SetPort(settings_.port);
  g_pCipherLab->SetDelay(settings_.delayMs);
  g_pCipherLab->SetDelimiter(settings_.delimiter);
  return g_pCipherLab->Attach() != 0;
}

void HostServer::Report(const wchar_t* what, const std::wstring& serial, const std::wstring& ip,
                        int result) {
  if (result != 1) ++failures_;
  if (settings_.quiet && result == 1) return;
  std::wstring detail;
  if (result != 1) {
    int code = 0;
    g_pCipherLab->GetErrorCode(code);
    g_pCipherLab->GetErrorDescription(detail);
    detail = L" error " + std::to_wstring(code) + L": " + detail;
  }
  std::wprintf(L"%ls %ls from %ls: %ls%ls\n", what, serial.c_str(), ip.c_str(),
               result == 1 ? L"done" : L"FAILED", detail.c_str());
}

void HostServer::DownloadToTerminal(const std::wstring& ip, const std::wstring& baseNumber,
                                    const std::wstring& serial) {
  if (!g_pCipherLab) return;
  ++downloads_;
  Report(L"download", serial, ip,
         g_pCipherLab->SendFile(settings_.baseFile, StrToIntRule(baseNumber)));
}

void HostServer::UploadFromTerminal(std::wstring ip, std::wstring baseNumber, std::wstring,
                                    std::wstring dataKind, std::wstring serial) {
  if (!g_pCipherLab) return;
  ++uploads_;
  const bool shared = !settings_.uploadFile.empty();
  const std::wstring path = shared ? settings_.uploadFile
                                   : settings_.uploadDir + L"\\" + serial + L"_" +
                                         std::to_wstring(++fileCounter_) + L".txt";
  g_pCipherLab->SetDeleteUploadedData(settings_.clearAfterUpload);
  Report(L"upload", serial, ip,
         g_pCipherLab->GetFile(path, StrToIntRule(dataKind), StrToIntRule(baseNumber),
                               shared ? 0 : 1));
}

}  // namespace morvane::host
