#include <gtest/gtest.h>

#include "exchange_fakes.h"
#include "terminal/ServerControl.h"

namespace morvane {
namespace {

using testing::FakeComponent;
using testing::FakeLog;
using testing::Journal;

TEST(ServerControl, StartFollowsTheAttachResult) {
  Journal journal;
  FakeComponent component(journal);
  FakeLog log(journal);
  int connected = 0;

  component.attachResult = -1;  // any non-zero value is a start
  StartServer(&component, log, connected);
  EXPECT_EQ(connected, 1);
  component.attachResult = 0;
  StartServer(&component, log, connected);
  EXPECT_EQ(connected, 0);
  EXPECT_EQ(journal, (Journal{L"Attach", L"log: Сервер запущен!", L"Attach",
                              L"log: Ошибка запуска сервера!"}));
}

TEST(ServerControl, StopDetachesAndAlwaysReportsStopped) {
  Journal journal;
  FakeComponent component(journal);
  FakeLog log(journal);
  int connected = 1;
  StopServer(&component, log, connected);
  EXPECT_EQ(connected, 0);
  StopServer(&component, log, connected);
  EXPECT_EQ(journal, (Journal{L"Detach", L"log: Сервер остановлен!", L"Detach",
                              L"log: Сервер остановлен!"}));
}

TEST(ServerControl, WithoutAComponentNothingHappens) {
  Journal journal;
  FakeLog log(journal);
  int connected = 1;
  StopServer(nullptr, log, connected);
  EXPECT_EQ(connected, 1);
  connected = 0;
  StartServer(nullptr, log, connected);
  EXPECT_EQ(connected, 0);
  EXPECT_TRUE(journal.empty());
}

TEST(ServerControl, ConnectButtonsRule) {
  const ConnectCommandStates connected = ConnectCommandStatesFor(1);
  EXPECT_FALSE(connected.connectEnabled);
  EXPECT_TRUE(connected.disconnectEnabled);
  for (int flag : {0, 2, -1}) {
    const ConnectCommandStates stopped = ConnectCommandStatesFor(flag);
    EXPECT_TRUE(stopped.connectEnabled) << flag;
    EXPECT_FALSE(stopped.disconnectEnabled) << flag;
  }
}

}  // namespace
}  // namespace morvane
