#include "exchange/RequestIntake.h"

#include <windows.h>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "base/PrivateMessages.h"
#include "terminal/TerminalRequest.h"

namespace morvane {
namespace {

using ::testing::ElementsAre;

class RecordingHandlers : public IRequestHandlers {
 public:
  void DownloadToTerminal(const std::wstring& ip, const std::wstring& baseNumber,
                          const std::wstring& serial) override {
    calls.push_back(L"D|" + ip + L"|" + baseNumber + L"|" + serial);
  }
  void UploadFromTerminal(std::wstring ip, std::wstring baseNumber, std::wstring extra,
                          std::wstring dataKind, std::wstring serial) override {
    calls.push_back(L"U|" + ip + L"|" + baseNumber + L"|" + extra + L"|" + dataKind + L"|" +
                    serial);
  }
  std::vector<std::wstring> calls;
};

// A message-only window that hands WM_DO_UPLOAD to the intake, as the main window does.
class IntakeWindow {
 public:
  IntakeWindow() {
    WNDCLASSW wc{};
    wc.lpfnWndProc = &IntakeWindow::Proc;
    wc.hInstance = ::GetModuleHandleW(nullptr);
    wc.lpszClassName = L"MorvaneIntakeTest";
    ::RegisterClassW(&wc);
    hwnd_ = ::CreateWindowExW(0, wc.lpszClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                              wc.hInstance, nullptr);
    intake_ = new CRequestIntake(hwnd_, handlers);
    ::SetWindowLongPtrW(hwnd_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(intake_));
  }
  ~IntakeWindow() {
    ::DestroyWindow(hwnd_);
    delete intake_;
  }
  IntakeWindow(const IntakeWindow&) = delete;
  IntakeWindow& operator=(const IntakeWindow&) = delete;

  void Send(const COPYDATASTRUCT* cds) {
    ::SendMessageW(hwnd_, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(cds));
  }
  void Send(const char* source, const char* event, const char* data) {
    TerminalRequest request{source, event, data};
    COPYDATASTRUCT cds{0, sizeof(request), &request};
    Send(&cds);
  }
  // Handles whatever is queued for the window, without waiting for more.
  void Pump() {
    MSG msg;
    while (::PeekMessageW(&msg, hwnd_, 0, 0, PM_REMOVE))
      ::DispatchMessageW(&msg);
  }
  CRequestIntake& Intake() { return *intake_; }

  RecordingHandlers handlers;

 private:
  static LRESULT CALLBACK Proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* intake = reinterpret_cast<CRequestIntake*>(::GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (intake && message == WM_COPYDATA) {
      intake->OnTerminalCopyData(reinterpret_cast<const COPYDATASTRUCT*>(lParam));
      return FALSE;
    }
    if (intake && message == WM_DO_UPLOAD) {
      intake->OnDoUpload();
      return 0;
    }
    return ::DefWindowProcW(hwnd, message, wParam, lParam);
  }

  HWND hwnd_ = nullptr;
  CRequestIntake* intake_ = nullptr;
};

TEST(RequestIntake, DownloadIsServedInsideTheMessage) {
  IntakeWindow w;
  w.Send("CipherLab9x00", "Download", "10.0.0.7,2,0,A1B2C3");
  EXPECT_THAT(w.handlers.calls, ElementsAre(L"D|10.0.0.7|2|A1B2C3"));
  w.Pump();
  EXPECT_EQ(w.handlers.calls.size(), 1u) << "nothing is deferred for a download";
}

TEST(RequestIntake, UploadWaitsForThePostedMessage) {
  IntakeWindow w;
  w.Send("CipherLab9x00", "Upload", "192.168.0.21,1,x,2,12345678");
  EXPECT_TRUE(w.handlers.calls.empty());
  EXPECT_EQ(w.Intake().PendingUploads(), 1u);
  w.Pump();
  EXPECT_THAT(w.handlers.calls, ElementsAre(L"U|192.168.0.21|1|x|2|12345678"));
}

TEST(RequestIntake, TwoUploadsBeforeTheFirstIsServedAreBothServedInOrder) {
  IntakeWindow w;
  w.Send("CipherLab9x00", "Upload", "ip1,1,,1,SN1");
  w.Send("CipherLab9x00", "Upload", "ip2,2,,2,SN2");
  w.Send("CipherLab9x00", "Upload", "1,2,3,4,5,6");
  w.Pump();
  EXPECT_THAT(w.handlers.calls,
              ElementsAre(L"U|ip1|1||1|SN1", L"U|ip2|2||2|SN2", L"U|1|2|3|4|5,6"));
  EXPECT_EQ(w.Intake().PendingUploads(), 0u);
}

TEST(RequestIntake, SourceAndEventMustMatchExactly) {
  IntakeWindow w;
  w.Send("cipherlab9x00", "Download", "a,1,0,SN");
  w.Send("CipherLab9x00 ", "Download", "a,1,0,SN");
  w.Send("CipherLab9x0", "Download", "a,1,0,SN");
  w.Send("CipherLab9x00", "upload", "a,1,0,1,SN");
  w.Send("CipherLab9x00", "Downloads", "a,1,0,SN");
  w.Send("CipherLab9x00", "", "a,1,0,SN");
  w.Pump();
  EXPECT_TRUE(w.handlers.calls.empty());
  EXPECT_EQ(w.Intake().PendingUploads(), 0u);
}

TEST(RequestIntake, DataIsConvertedFromTheAnsiCodePage) {
  // The tests run with code page 1251, as on the Russian workstations the server serves.
  ASSERT_EQ(::GetACP(), 1251u);
  IntakeWindow w;
  w.Send("CipherLab9x00", "Download", "ip,1,0,\xD1\xEA\xEB\xE0\xE4-1");  // "Склад-1"
  EXPECT_THAT(w.handlers.calls, ElementsAre(L"D|ip|1|Склад-1"));
}

TEST(RequestIntake, EmptyAndCommaLessDataGiveEmptyFields) {
  IntakeWindow w;
  w.Send("CipherLab9x00", "Download", "");
  w.Send("CipherLab9x00", "Download", "A1B2C3");
  w.Send("CipherLab9x00", "Upload", "A1B2C3");
  w.Pump();
  EXPECT_THAT(w.handlers.calls, ElementsAre(L"D|||", L"D|||A1B2C3", L"U|||||A1B2C3"));
}

TEST(RequestIntake, MalformedPayloadsAreIgnoredWithoutTouchingBadMemory) {
  IntakeWindow w;
  SYSTEM_INFO info{};
  ::GetSystemInfo(&info);
  char* forbidden = static_cast<char*>(
      ::VirtualAlloc(nullptr, info.dwPageSize, MEM_RESERVE | MEM_COMMIT, PAGE_NOACCESS));
  ASSERT_NE(forbidden, nullptr);

  w.Send(nullptr);
  COPYDATASTRUCT noRecord{0, sizeof(TerminalRequest), nullptr};
  w.Send(&noRecord);
  TerminalRequest good{"CipherLab9x00", "Download", "ip,1,0,SN"};
  COPYDATASTRUCT recordUnreadable{0, sizeof(TerminalRequest), forbidden};
  w.Send(&recordUnreadable);

  w.Send(nullptr, "Download", "ip,1,0,SN");
  w.Send("CipherLab9x00", nullptr, "ip,1,0,SN");
  w.Send("CipherLab9x00", "Download", nullptr);
  w.Send(forbidden, "Download", "ip,1,0,SN");
  w.Send("CipherLab9x00", forbidden, "ip,1,0,SN");
  w.Send("CipherLab9x00", "Upload", forbidden);
  w.Send("CipherLab9x00", "Download", reinterpret_cast<const char*>(0x10));

  w.Pump();
  EXPECT_TRUE(w.handlers.calls.empty());
  EXPECT_EQ(w.Intake().PendingUploads(), 0u);

  // The intake is still in service afterwards.
  COPYDATASTRUCT whole{0, sizeof(good), &good};
  w.Send(&whole);
  EXPECT_THAT(w.handlers.calls, ElementsAre(L"D|ip|1|SN"));
  ::VirtualFree(forbidden, 0, MEM_RELEASE);
}

// The size the sender states is no part of the component's contract: the record is checked by
// reading it, whatever cbData says.
TEST(RequestIntake, TheStatedSizeIsNotJudged) {
  IntakeWindow w;
  TerminalRequest download{"CipherLab9x00", "Download", "ip,1,0,SN"};
  TerminalRequest upload{"CipherLab9x00", "Upload", "ip,2,0,1,SN"};
  for (DWORD size : {DWORD{0}, DWORD{sizeof(download) - 1}, DWORD{0xFFFFFFFF}}) {
    COPYDATASTRUCT d{0, size, &download};
    w.Send(&d);
    COPYDATASTRUCT u{0, size, &upload};
    w.Send(&u);
  }
  w.Pump();
  EXPECT_THAT(w.handlers.calls, ElementsAre(L"D|ip|1|SN", L"D|ip|1|SN", L"D|ip|1|SN",
                                            L"U|ip|2|0|1|SN", L"U|ip|2|0|1|SN", L"U|ip|2|0|1|SN"));
}

TEST(RequestIntake, DataWithoutTerminatingNulIsIgnored) {
  IntakeWindow w;
  SYSTEM_INFO info{};
  ::GetSystemInfo(&info);
  const size_t page = info.dwPageSize;
  char* base = static_cast<char*>(
      ::VirtualAlloc(nullptr, 2 * page, MEM_RESERVE | MEM_COMMIT, PAGE_READWRITE));
  ASSERT_NE(base, nullptr);
  DWORD old = 0;
  ::VirtualProtect(base + page, page, PAGE_NOACCESS, &old);
  std::memset(base, 'A', page);  // no NUL anywhere before the inaccessible page

  w.Send("CipherLab9x00", "Download", base + page - 32);
  w.Send("CipherLab9x00", "Upload", base);
  w.Pump();
  EXPECT_TRUE(w.handlers.calls.empty());
  ::VirtualFree(base, 0, MEM_RELEASE);
}

}  // namespace
}  // namespace morvane
