#include "TestServerWindow.h"

#include "base/PrivateMessages.h"
#include "terminal/TerminalRequest.h"

namespace morvane::standin::testing {

std::string DataField(const std::string& data, int i) {
  size_t start = 0;
  for (int k = 0; k < i; ++k) {
    start = data.find(',', start);
    if (start == std::string::npos) return std::string();
    ++start;
  }
  const size_t end = data.find(',', start);
  return data.substr(start, end == std::string::npos ? std::string::npos : end - start);
}

TestServerWindow::TestServerWindow() {
  WNDCLASSW wc{};
  wc.lpfnWndProc = &TestServerWindow::Proc;
  wc.hInstance = ::GetModuleHandleW(nullptr);
  wc.lpszClassName = L"MorvaneStandinTestServer";
  ::RegisterClassW(&wc);
  window_ = ::CreateWindowExW(0, wc.lpszClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                              wc.hInstance, nullptr);
  ::SetWindowLongPtrW(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
}

TestServerWindow::~TestServerWindow() {
  ::SetWindowLongPtrW(window_, GWLP_USERDATA, 0);
  ::DestroyWindow(window_);
}

LRESULT CALLBACK TestServerWindow::Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* self = reinterpret_cast<TestServerWindow*>(::GetWindowLongPtrW(window, GWLP_USERDATA));
  if (self && message == WM_COPYDATA) {
    self->OnCopyData(reinterpret_cast<const COPYDATASTRUCT*>(lParam));
    return FALSE;
  }
  if (self && message == WM_DO_UPLOAD) {
    self->OnDoUpload();
    return 0;
  }
  return ::DefWindowProcW(window, message, wParam, lParam);
}

CallRecord TestServerWindow::Record(int result) {
  CallRecord r;
  r.result = result;
  component->GetErrorCode(r.errorCode);
  component->GetErrorDescription(r.description);
  return r;
}

void TestServerWindow::OnCopyData(const COPYDATASTRUCT* copy) {
  const auto* request = static_cast<const TerminalRequest*>(copy->lpData);
  ReceivedRequest r;
  r.source = request->source;
  r.event = request->event;
  r.data = request->data;
  r.byteCount = copy->cbData;
  r.tag = copy->dwData;
  received.push_back(r);
  if (r.event == "Download") {
    if (onDownload) onDownload();
    if (component) {
      sends.push_back(Record(component->SendFile(downloadPath, std::stoi(DataField(r.data, 1)))));
    }
    return;
  }
  if (r.event == "Upload" && fetchUploads) {
    pendingUploads_.push_back(r.data);
    ::PostMessageW(window_, WM_DO_UPLOAD, 0, 0);
  }
}

void TestServerWindow::OnDoUpload() {
  if (pendingUploads_.empty() || !component) return;
  const std::string data = pendingUploads_.front();
  pendingUploads_.pop_front();
  component->SetDeleteUploadedData(deleteUploadedData);
  const std::wstring path = uploadTarget ? uploadTarget(data) : uploadPath;
  fetches.push_back(Record(component->GetFile(path, std::stoi(DataField(data, 3)),
                                              std::stoi(DataField(data, 1)), uploadMode)));
}

}  // namespace morvane::standin::testing
