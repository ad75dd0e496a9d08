// Terminals against the stand-in and a window playing the server: the simulator over loopback,
// and in-process terminals for the ways a terminal can misbehave.
#include <gtest/gtest.h>

#include <atomic>
#include <memory>
#include <thread>

#include "StandinTestSupport.h"
#include "TestServerWindow.h"
#include "framework/ScopedResource.h"
#include "standin/client/TerminalClient.h"
#include "terminal/InterfaceCipherLab.h"
#include "terminal/TerminalRequest.h"

namespace morvane::standin::testing {
namespace {

using net::Deadline;
using net::IoStatus;

class StandinExchange : public ::testing::Test {
 protected:
  void SetUp() override {
    component = std::make_unique<CInterfaceCipherLab>(window.Handle(), kComponentProgId);
    component->SetShutdownWait(0);
    component->SetWiFi();
    component->RegisterHWNDWindow(window.Handle());
    component->SetDelay(3000);
    window.component = component.get();
    for (int attempt = 0; attempt < 5 && port == 0; ++attempt) {
      const int candidate = FreePort();
      component->SetPort(candidate);
      if (component->Attach() == 1) port = candidate;
    }
    ASSERT_NE(port, 0) << "no port to listen on";
  }
  void TearDown() override {
    window.component = nullptr;
    component.reset();
  }

  std::wstring Common() const { return L" --port " + std::to_wstring(port); }

  // A terminal of this process, on a thread of its own so that this thread can pump.
  void Terminal(std::function<void(net::Channel&)> body) {
    terminals.emplace_back([this, body] {
      std::string error;
      net::Socket s = net::ConnectTcp("127.0.0.1", port, Deadline::AfterMs(5000), error);
      net::Channel channel(std::move(s));
      body(channel);
      ++terminalsDone;
    });
  }
  // Pumps until every terminal started so far has finished (including ones started meanwhile).
  bool WaitForTerminals(int timeoutMs = 15000) {
    const bool done = PumpUntil([&] { return terminalsDone == terminals.size(); }, timeoutMs);
    for (auto& t : terminals)
      t.join();
    terminals.clear();
    terminalsDone = 0;
    return done;
  }
  static std::string Line(net::Channel& c, int ms = 5000) {
    std::string line;
    const IoStatus s = c.ReadLine(256, Deadline::AfterMs(ms), line);
    return s == IoStatus::kOk ? line : std::string("<") + net::Describe(s) + ">";
  }

  TestServerWindow window;
  std::unique_ptr<CInterfaceCipherLab> component;
  int port = 0;
  ScratchFolder folder;
  std::vector<std::thread> terminals;
  std::atomic<size_t> terminalsDone{0};
};

TEST_F(StandinExchange, SimulatorFetchesABaseThroughTheWindow) {
  const std::string base = RandomBytes(300000, 1);
  window.downloadPath = folder.File(L"base2.txt");
  ASSERT_TRUE(WriteBytes(window.downloadPath, base));
  const std::wstring saved = folder.File(L"got.bin");

  const ProcessResult r =
      RunSimulator(L"download --serial A1B2C3 --base 2 --out \"" + saved + L"\"" + Common());
  EXPECT_EQ(r.exitCode, 0u) << r.output;
  EXPECT_NE(r.output.find("base 2, 300000 bytes saved"), std::string::npos) << r.output;
  std::string got;
  ASSERT_TRUE(ReadBytes(saved, got));
  EXPECT_TRUE(got == base);

  ASSERT_EQ(window.received.size(), 1u);
  const ReceivedRequest& q = window.received[0];
  EXPECT_EQ(q.source, "CipherLab9x00");
  EXPECT_EQ(q.event, "Download");
  EXPECT_EQ(q.data, "127.0.0.1,2,0,A1B2C3");
  EXPECT_EQ(q.byteCount, sizeof(TerminalRequest));
  EXPECT_EQ(q.tag, 0u);
  ASSERT_EQ(window.sends.size(), 1u);
  EXPECT_EQ(window.sends[0].result, 1);
  EXPECT_EQ(window.sends[0].errorCode, 0);
}

TEST_F(StandinExchange, SimulatorDeliversDataInBothModes) {
  const std::wstring data = folder.File(L"collected.txt");
  ASSERT_TRUE(WriteBytes(data, "line 1\r\nline 2\r\n"));
  window.uploadPath = folder.File(L"own.txt");
  window.uploadMode = 1;
  window.deleteUploadedData = 1;
  ProcessResult r = RunSimulator(
      L"upload --serial 12345678 --base 3 --kind 2 --extra X7 --file \"" + data + L"\"" + Common());
  EXPECT_EQ(r.exitCode, 0u) << r.output;
  EXPECT_NE(r.output.find("16 bytes of kind 2 stored"), std::string::npos) << r.output;
  EXPECT_NE(r.output.find("terminal data cleared"), std::string::npos) << r.output;
  ASSERT_EQ(window.received.size(), 1u);
  EXPECT_EQ(window.received[0].event, "Upload");
  EXPECT_EQ(window.received[0].data, "127.0.0.1,3,X7,2,12345678");
  std::string stored;
  ASSERT_TRUE(ReadBytes(window.uploadPath, stored));
  EXPECT_EQ(stored, "line 1\r\nline 2\r\n");

  // Mode 1 replaces; mode 0 appends.
  r = RunSimulator(L"upload --serial 12345678 --base 3 --kind 2 --file \"" + data + L"\"" +
                   Common());
  ASSERT_TRUE(ReadBytes(window.uploadPath, stored));
  EXPECT_EQ(stored, "line 1\r\nline 2\r\n");
  window.uploadPath = folder.File(L"DataFile.txt");
  window.uploadMode = 0;
  window.deleteUploadedData = 0;
  ASSERT_TRUE(WriteBytes(window.uploadPath, "earlier\r\n"));
  r = RunSimulator(L"upload --serial 87654321 --base 1 --kind 1 --file \"" + data + L"\"" +
                   Common());
  EXPECT_NE(r.output.find("terminal data kept"), std::string::npos) << r.output;
  ASSERT_TRUE(ReadBytes(window.uploadPath, stored));
  EXPECT_EQ(stored, "earlier\r\nline 1\r\nline 2\r\n");
  for (const CallRecord& f : window.fetches)
    EXPECT_EQ(f.result, 1) << Narrow(f.description);
  EXPECT_EQ(window.fetches.size(), 3u);
}

TEST_F(StandinExchange, SendFileWithoutAFileReportsItToBothSides) {
  window.downloadPath = L"";
  ProcessResult r = RunSimulator(L"download --serial SN1 --base 6 --out \"" +
                                 folder.File(L"x.bin") + L"\"" + Common());
  EXPECT_EQ(r.exitCode, 2u) << r.output;
  EXPECT_NE(r.output.find("no file for SN1 base 6 (code 40"), std::string::npos) << r.output;
  ASSERT_EQ(window.sends.size(), 1u);
  EXPECT_EQ(window.sends[0].result, -1);
  EXPECT_EQ(window.sends[0].errorCode, 1);
  EXPECT_EQ(window.sends[0].description, L"Не указан файл для передачи");

  window.downloadPath = folder.File(L"missing.txt");
  r = RunSimulator(L"download --serial SN1 --base 1 --out \"" + folder.File(L"x.bin") + L"\"" +
                   Common());
  EXPECT_EQ(r.exitCode, 2u) << r.output;
  ASSERT_EQ(window.sends.size(), 2u);
  EXPECT_EQ(window.sends[1].result, -1);
  EXPECT_EQ(window.sends[1].errorCode, 2);
  EXPECT_EQ(window.sends[1].description, L"Не удалось открыть файл: " + window.downloadPath);
  EXPECT_FALSE(Exists(folder.File(L"x.bin"))) << "the simulator keeps nothing of a failed download";
}

TEST_F(StandinExchange, TerminalLostMidUploadLeavesNoFileThatLooksComplete) {
  window.uploadPath = folder.File(L"own.txt");
  window.uploadMode = 1;
  Terminal([](net::Channel& c) {
    c.Write("UPLOAD;SN;1;1\n", Deadline::AfterMs(1000));
    if (Line(c) != "GET;1;1") return;
    c.Write("DATA;100000\n" + std::string(5000, 'x'), Deadline::AfterMs(1000));
    c.socket().Close();  // the terminal walks out of range
  });
  ASSERT_TRUE(WaitForTerminals());
  ASSERT_TRUE(PumpUntil([&] { return window.fetches.size() == 1; }));
  EXPECT_EQ(window.fetches[0].result, -1);
  EXPECT_EQ(window.fetches[0].errorCode, 6);
  EXPECT_EQ(window.fetches[0].description, L"Терминал разорвал соединение");
  EXPECT_TRUE(folder.Names().empty()) << "neither the target nor a temporary file is left";

  // Appending: the shared file keeps exactly what it had.
  window.uploadPath = folder.File(L"DataFile.txt");
  window.uploadMode = 0;
  ASSERT_TRUE(WriteBytes(window.uploadPath, "earlier\r\n"));
  Terminal([](net::Channel& c) {
    c.Write("UPLOAD;SN;1;1\n", Deadline::AfterMs(1000));
    if (Line(c) != "GET;1;1") return;
    c.Write("DATA;100000\n" + std::string(5000, 'x'), Deadline::AfterMs(1000));
    c.socket().Close();
  });
  ASSERT_TRUE(WaitForTerminals());
  ASSERT_TRUE(PumpUntil([&] { return window.fetches.size() == 2; }));
  EXPECT_EQ(window.fetches[1].result, -1);
  std::string stored;
  ASSERT_TRUE(ReadBytes(window.uploadPath, stored));
  EXPECT_EQ(stored, "earlier\r\n");
  EXPECT_EQ(folder.Names().size(), 1u);
}

TEST_F(StandinExchange, SeveralTerminalsAtOnce) {
  window.downloadPath = folder.File(L"base.txt");
  ASSERT_TRUE(WriteBytes(window.downloadPath, RandomBytes(50000, 2)));
  int counter = 0;
  window.uploadTarget = [&](const std::string& data) {
    return folder.File(std::wstring(L"u") + std::to_wstring(++counter) + L"_" +
                       std::wstring(DataField(data, 4).begin(), DataField(data, 4).end()) +
                       L".txt");
  };
  const ProcessResult r =
      RunSimulator(L"fleet --terminals 4 --exchanges 5 --upload-bytes 3000" + Common());
  EXPECT_EQ(r.exitCode, 0u) << r.output;
  EXPECT_NE(r.output.find("fleet: all exchanges succeeded"), std::string::npos) << r.output;
  EXPECT_EQ(window.received.size(), 20u) << r.output;
  ASSERT_EQ(window.fetches.size(), 10u) << r.output;
  for (const CallRecord& f : window.fetches)
    EXPECT_EQ(f.result, 1) << Narrow(f.description);
  std::string names;
  for (const std::wstring& n : folder.Names())
    names += Narrow(n) + " ";
  EXPECT_EQ(folder.Names().size(), 11u) << "the base and one file per upload: " << names;
}

// The fleet as the benchmarks use it: exchanges of one kind, downloads kept, a given file sent.
TEST_F(StandinExchange, FleetOfOneKindKeepsDownloadsAndSendsTheGivenFile) {
  const std::string base = RandomBytes(70000, 3);
  window.downloadPath = folder.File(L"base.bin");
  ASSERT_TRUE(WriteBytes(window.downloadPath, base));
  const std::wstring kept = folder.File(L"kept");
  ASSERT_TRUE(::CreateDirectoryW(kept.c_str(), nullptr));
  ProcessResult r = RunSimulator(L"fleet --terminals 3 --exchanges 2 --only download --out-dir \"" +
                                 kept + L"\"" + Common());
  EXPECT_EQ(r.exitCode, 0u) << r.output;
  EXPECT_TRUE(window.fetches.empty()) << "downloads only";
  for (const char* name :
       {"SIM0001-1", "SIM0001-2", "SIM0002-1", "SIM0002-2", "SIM0003-1", "SIM0003-2"}) {
    std::string got;
    EXPECT_TRUE(ReadBytes(kept + L"\\" + std::wstring(name, name + 9) + L".bin", got)) << name;
    EXPECT_TRUE(got == base) << name << ": " << got.size() << " bytes";
  }

  const std::string payload = RandomBytes(90000, 4);
  const std::wstring payloadPath = folder.File(L"payload.bin");
  ASSERT_TRUE(WriteBytes(payloadPath, payload));
  int counter = 0;
  window.uploadTarget = [&](const std::string&) {
    return folder.File(L"up" + std::to_wstring(++counter) + L".bin");
  };
  r = RunSimulator(L"fleet --terminals 2 --exchanges 2 --only upload --file \"" + payloadPath +
                   L"\"" + Common());
  EXPECT_EQ(r.exitCode, 0u) << r.output;
  ASSERT_EQ(window.fetches.size(), 4u) << r.output;
  for (int i = 1; i <= 4; ++i) {
    std::string got;
    EXPECT_TRUE(ReadBytes(folder.File(L"up" + std::to_wstring(i) + L".bin"), got)) << i;
    EXPECT_TRUE(got == payload) << "upload " << i << ": " << got.size() << " bytes";
  }
}

TEST_F(StandinExchange, DetachEndsConnectedTerminalsAndListensAgainAfterwards) {
  window.fetchUploads = false;  // leave an upload waiting
  std::atomic<int> ended{0};
  for (const char* first : {"", "UPLOAD;SN;1;1\n"}) {
    Terminal([&, first](net::Channel& c) {
      if (*first) c.Write(first, Deadline::AfterMs(1000));
      std::string line;
      // Told why, then closed.
      if (c.ReadLine(256, Deadline::AfterMs(10000), line) == IoStatus::kOk &&
          line == "ERR;31;server stopping" &&
          c.ReadLine(256, Deadline::AfterMs(10000), line) != IoStatus::kOk) {
        ++ended;
      }
    });
  }
  ASSERT_TRUE(PumpUntil([&] { return window.received.size() == 1; }));
  const ULONGLONG start = ::GetTickCount64();
  EXPECT_TRUE(component->Detach());
  EXPECT_LT(::GetTickCount64() - start, 2500u);
  ASSERT_TRUE(WaitForTerminals());
  EXPECT_EQ(ended, 2) << "both connections were closed";

  EXPECT_EQ(component->Attach(), 1) << "the same port again";
  window.downloadPath = folder.File(L"b.txt");
  ASSERT_TRUE(WriteBytes(window.downloadPath, "ok"));
  const ProcessResult r =
      RunSimulator(L"download --serial S --base 1 --out \"" + folder.File(L"o") + L"\"" + Common());
  EXPECT_EQ(r.exitCode, 0u) << r.output;
}

TEST_F(StandinExchange, RealizeInsideADeliveryDoesNotWaitForItOrForOthers) {
  window.downloadPath = folder.File(L"b.txt");
  ASSERT_TRUE(WriteBytes(window.downloadPath, "never sent"));
  ULONGLONG realizeTook = 0;
  window.onDownload = [&] {
    // A second terminal's request is on its way while this one is being delivered.
    Terminal([](net::Channel& c) {
      c.Write("DOWNLOAD;OTHER;1\n", Deadline::AfterMs(1000));
      Line(c, 10000);
    });
    const ULONGLONG start = ::GetTickCount64();
    window.component = nullptr;
    component.reset();  // "Realize" from inside the copy-data message
    realizeTook = ::GetTickCount64() - start;
  };
  Terminal([](net::Channel& c) {
    c.Write("DOWNLOAD;FIRST;1\n", Deadline::AfterMs(1000));
    Line(c, 10000);
  });
  ASSERT_TRUE(WaitForTerminals());
  EXPECT_LT(realizeTook, 2500u);
  EXPECT_TRUE(window.sends.empty());
}

TEST_F(StandinExchange, RealizeWhileATerminalWaitsInSendMessage) {
  Terminal([](net::Channel& c) {
    c.Write("DOWNLOAD;WAITING;1\n", Deadline::AfterMs(1000));
    Line(c, 10000);
  });
  // Without pumping: the terminal's thread blocks in SendMessage to this thread.
  const ULONGLONG until = ::GetTickCount64() + 10000;
  while (!(HIWORD(::GetQueueStatus(QS_SENDMESSAGE)) & QS_SENDMESSAGE) &&
         ::GetTickCount64() < until) {
    ::Sleep(5);
  }
  ASSERT_TRUE(HIWORD(::GetQueueStatus(QS_SENDMESSAGE)) & QS_SENDMESSAGE);
  const ULONGLONG start = ::GetTickCount64();
  window.component = nullptr;
  component.reset();
  EXPECT_LT(::GetTickCount64() - start, 2500u) << "Realize must not wait for the blocked sender";
  ASSERT_TRUE(WaitForTerminals());  // pumping lets the message through; the terminal ends
  EXPECT_EQ(window.received.size(), 1u);
}

TEST_F(StandinExchange, SixtyFourSimulatedTerminalsAreAllServed) {
  window.downloadPath = folder.File(L"base.txt");
  ASSERT_TRUE(WriteBytes(window.downloadPath, RandomBytes(4000, 3)));
  int counter = 0;
  window.uploadTarget = [&](const std::string&) {
    return folder.File(L"u" + std::to_wstring(++counter) + L".txt");
  };
  const ProcessResult r =
      RunSimulator(L"fleet --terminals 64 --exchanges 4 --upload-bytes 1000" + Common(), 120000);
  EXPECT_EQ(r.exitCode, 0u) << r.output;
  EXPECT_NE(r.output.find("fleet: all exchanges succeeded"), std::string::npos) << r.output;
  EXPECT_EQ(window.received.size(), 256u);
}

TEST_F(StandinExchange, ATricklingUploadIsCutAfterDelayAndTheNextTerminalIsServed) {
  component->SetDelay(1000);
  window.uploadPath = folder.File(L"slow.txt");
  window.downloadPath = folder.File(L"base.txt");
  ASSERT_TRUE(WriteBytes(window.downloadPath, "base"));
  const ProcessResult slow = RunSimulator(
      L"trickle --serial SLOW --base 1 --kind 1 --declare 1073741824 --every 200" + Common());
  EXPECT_EQ(slow.exitCode, 1u) << slow.output;
  EXPECT_NE(slow.output.find("(code 22: "), std::string::npos) << slow.output;
  ASSERT_EQ(window.fetches.size(), 1u);
  EXPECT_EQ(window.fetches[0].errorCode, 16);
  EXPECT_EQ(window.fetches[0].description.rfind(L"Обмен с терминалом идёт слишком медленно: ", 0),
            0u)
      << Narrow(window.fetches[0].description);
  EXPECT_FALSE(Exists(window.uploadPath));

  const ProcessResult next = RunSimulator(L"download --serial NEXT --base 1 --out \"" +
                                          folder.File(L"got.txt") + L"\"" + Common());
  EXPECT_EQ(next.exitCode, 0u) << next.output;
}

TEST_F(StandinExchange, TheTerminalsErrorTextArrivesInTheAnsiCodePage) {
  window.downloadPath = folder.File(L"base.txt");
  ASSERT_TRUE(WriteBytes(window.downloadPath, "12345"));
  // "Память полна" in Windows-1251, the code page of these tests.
  const std::string full = "\xCF\xE0\xEC\xFF\xF2\xFC \xEF\xEE\xEB\xED\xE0";
  Terminal([full](net::Channel& c) {
    c.Write("DOWNLOAD;SN;1\n", Deadline::AfterMs(1000));
    if (Line(c) != "FILE;1;5") return;
    char bytes[5];
    size_t got = 0;
    for (size_t total = 0; total < 5; total += got) {
      if (c.ReadSome(bytes, 5 - total, got, Deadline::AfterMs(5000)) != IoStatus::kOk) return;
    }
    c.Write("ERR;60;" + full + "\n", Deadline::AfterMs(1000));
    Line(c, 1000);
  });
  ASSERT_TRUE(WaitForTerminals());
  ASSERT_EQ(window.sends.size(), 1u);
  EXPECT_EQ(window.sends[0].errorCode, 9);
  EXPECT_EQ(window.sends[0].description, L"Терминал сообщил об ошибке: Память полна");
}

TEST_F(StandinExchange, StaleStagingFilesOfEndedProgramsGoAndOthersStay) {
  // A process that has ended, and one that runs: a simulator waiting for an answer that never
  // comes from a port that nobody serves.
  const ProcessResult ended = RunSimulator(L"--version");
  ASSERT_EQ(ended.exitCode, 3u);
  std::string error;
  net::Socket silent = net::ListenTcp(0, 4, error);
  ASSERT_TRUE(silent.Valid()) << error;
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION running{};
  std::wstring command = L"\"" + WindowsPath(TERMINAL_SIM_EXE) +
                         L"\" download --serial W --base 1 --wait 60000 --out \"" +
                         folder.File(L"w.bin") + L"\" --port " +
                         std::to_wstring(silent.LocalPort());
  ASSERT_TRUE(::CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr,
                               nullptr, &startup, &running));
  ScopedHandle runningProcess(running.hProcess);
  ScopedHandle runningThread(running.hThread);

  const std::wstring stale =
      folder.File(L"~CipherLab9x00-" + std::to_wstring(ended.processId) + L"-1.tmp");
  const std::wstring live =
      folder.File(L"~CipherLab9x00-" + std::to_wstring(running.dwProcessId) + L"-1.tmp");
  const std::wstring foreign = folder.File(L"~cl1A2B.tmp");
  for (const std::wstring& path : {stale, live, foreign})
    ASSERT_TRUE(WriteBytes(path, "partial"));

  window.uploadPath = folder.File(L"own.txt");
  const std::wstring data = folder.File(L"data.txt");
  ASSERT_TRUE(WriteBytes(data, "collected"));
  const ProcessResult r =
      RunSimulator(L"upload --serial SN --base 1 --kind 1 --file \"" + data + L"\"" + Common());
  ::TerminateProcess(runningProcess.Get(), 0);
  EXPECT_EQ(r.exitCode, 0u) << r.output;
  EXPECT_FALSE(Exists(stale)) << "left by a program that has ended";
  EXPECT_TRUE(Exists(live)) << "a running program's transfer";
  EXPECT_TRUE(Exists(foreign)) << "not ours to judge";
  std::string stored;
  ASSERT_TRUE(ReadBytes(window.uploadPath, stored));
  EXPECT_EQ(stored, "collected");
}

}  // namespace
}  // namespace morvane::standin::testing
