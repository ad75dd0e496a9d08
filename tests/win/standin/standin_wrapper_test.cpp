// The server's own wrapper, CInterfaceCipherLab, against the real stand-in: the start-up calls,
// the property round trips and the calls that report failures through ErrorCode.
#include <gtest/gtest.h>

#include "StandinTestSupport.h"
#include "TestServerWindow.h"
#include "terminal/InterfaceCipherLab.h"

namespace morvane::standin::testing {
namespace {

class StandinWrapper : public ::testing::Test {
 protected:
  void SetUp() override {
    wrapper = std::make_unique<CInterfaceCipherLab>(window.Handle(), kComponentProgId);
    wrapper->SetShutdownWait(0);
  }
  TestServerWindow window;
  std::unique_ptr<CInterfaceCipherLab> wrapper;
};

TEST_F(StandinWrapper, StartUpCallsAndPropertyRoundTrips) {
  ASSERT_TRUE(wrapper->IsLoaded());
  EXPECT_TRUE(wrapper->SetWiFi());
  EXPECT_TRUE(wrapper->RegisterHWNDWindow(window.Handle()));

  int port = 0, delay = 0, delimiter = 0;
  ASSERT_TRUE(wrapper->GetPort(port));
  ASSERT_TRUE(wrapper->GetDelay(delay));
  ASSERT_TRUE(wrapper->GetDelimiter(delimiter));
  EXPECT_EQ(port, 5000);
  EXPECT_EQ(delay, 5000);
  EXPECT_EQ(delimiter, ';');

  // What the settings load and the options dialog do, and what the save reads back.
  EXPECT_TRUE(wrapper->SetPort(6100));
  EXPECT_TRUE(wrapper->SetDelay(3000));
  EXPECT_TRUE(wrapper->SetDelimiter(44));
  EXPECT_TRUE(wrapper->GetPort(port));
  EXPECT_TRUE(wrapper->GetDelay(delay));
  EXPECT_TRUE(wrapper->GetDelimiter(delimiter));
  EXPECT_EQ(port, 6100);
  EXPECT_EQ(delay, 3000);
  EXPECT_EQ(delimiter, 44);
  EXPECT_TRUE(wrapper->SetDeleteUploadedData(1));
}

TEST_F(StandinWrapper, AttachDetachAndFailuresThroughErrorCode) {
  const int port = FreePort();
  ASSERT_NE(port, 0);
  wrapper->SetWiFi();
  wrapper->RegisterHWNDWindow(window.Handle());
  wrapper->SetPort(port);
  EXPECT_EQ(wrapper->Attach(), 1);
  EXPECT_TRUE(wrapper->Detach());

  EXPECT_EQ(wrapper->SendFile(L"C:\\base.txt", 1), -1) << "no terminal asked for it";
  int code = 0;
  std::wstring text;
  EXPECT_TRUE(wrapper->GetErrorCode(code));
  EXPECT_TRUE(wrapper->GetErrorDescription(text));
  EXPECT_EQ(code, 5);
  EXPECT_EQ(text, L"Нет запроса терминала для этой операции");

  EXPECT_EQ(wrapper->GetFile(L"C:\\data.txt", 1, 1, 1), -1) << "no upload waiting";
  EXPECT_EQ(wrapper->GetFile(L"", 1, 1, 1), -1);
  wrapper->GetErrorCode(code);
  EXPECT_EQ(code, 12) << "an empty target path is refused as such";

  wrapper->SetPort(70000);
  EXPECT_EQ(wrapper->Attach(), 0);
  wrapper->GetErrorCode(code);
  EXPECT_EQ(code, 14);
}

}  // namespace
}  // namespace morvane::standin::testing
