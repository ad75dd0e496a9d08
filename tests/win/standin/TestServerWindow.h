#pragma once
// A window that plays the server: it takes the component's copy-data messages exactly as they
// come, answers downloads with SendFile from inside the message, and fetches uploads later from
// a posted message with GetFile, through the server's own wrapper.
#include <windows.h>

#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "terminal/InterfaceCipherLab.h"

namespace morvane::standin::testing {

struct ReceivedRequest {
  std::string source, event, data;
  DWORD byteCount = 0;  // COPYDATASTRUCT::cbData
  ULONG_PTR tag = 0;    // COPYDATASTRUCT::dwData
};

struct CallRecord {
  int result = 0;
  int errorCode = 0;
  std::wstring description;
};

class TestServerWindow {
 public:
  TestServerWindow();
  ~TestServerWindow();
  TestServerWindow(const TestServerWindow&) = delete;
  TestServerWindow& operator=(const TestServerWindow&) = delete;

  HWND Handle() const { return window_; }

  // What the "server" does; component null: requests are only recorded.
  CInterfaceCipherLab* component = nullptr;
  std::wstring downloadPath;
  bool fetchUploads = true;
  int uploadMode = 1;
  int deleteUploadedData = 0;
  // The file an upload goes to; by default the same uploadPath for every upload.
  std::function<std::wstring(const std::string& data)> uploadTarget;
  std::wstring uploadPath;
  // Runs inside the copy-data message, before the answer (for tests that shut down there).
  std::function<void()> onDownload;

  std::vector<ReceivedRequest> received;
  std::vector<CallRecord> sends;
  std::vector<CallRecord> fetches;

 private:
  static LRESULT CALLBACK Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  void OnCopyData(const COPYDATASTRUCT* copy);
  void OnDoUpload();
  CallRecord Record(int result);

  HWND window_ = nullptr;
  std::deque<std::string> pendingUploads_;
};

// Field i (0-based) of a comma-separated request text.
std::string DataField(const std::string& data, int i);

}  // namespace morvane::standin::testing
