#include <windows.h>

#include <gtest/gtest.h>

#include <span>
#include <stdexcept>
#include <string>
#include <vector>

#include "framework/DataExchange.h"
#include "framework/MessageMap.h"
#include "test_dialogs.h"

namespace morvane {
namespace {

constexpr UINT WM_TEST_PING = WM_APP + 1;

class CTestDlg : public CDialogImpl<CTestDlg> {
 public:
  CTestDlg() : CDialogImpl<CTestDlg>(IDD_TEST_DIALOG) {}
  static std::span<const MessageEntry<CTestDlg>> MessageMap();

  std::vector<std::string> events;
  std::wstring text = L"привет";
  int number = 5;
  int flag = 1;
  // What OnInit does once the window exists (the test's script).
  void (*script)(CTestDlg&) = nullptr;

  using CDialog::SetMsgResult;
  using CDialog::UpdateData;

 protected:
  BOOL OnInit() override {
    events.push_back("init");
    UpdateData(false);
    if (script) script(*this);
    return TRUE;
  }
  bool DoDataExchange(DataExchange& dx) override {
    dx.Text(IDC_TEST_EDIT, text, 20);
    dx.Int(IDC_TEST_NUMBER, number, 1, 99);
    dx.Check(IDC_TEST_CHECK, flag);
    return true;
  }
  bool OnCommand(WORD id, WORD code, HWND control) override {
    // Edits notify their parent of every change; only clicks are of interest here.
    if (code == BN_CLICKED || code == BN_DBLCLK) events.push_back("fallback " + std::to_string(id));
    return CDialog::OnCommand(id, code, control);
  }

 private:
  INT_PTR OnButton(WPARAM, LPARAM) {
    events.push_back("button");
    return TRUE;
  }
  INT_PTR OnThrow(WPARAM, LPARAM) { throw std::runtime_error("handler failed"); }
  INT_PTR OnPing(WPARAM wParam, LPARAM) {
    events.push_back("ping " + std::to_string(wParam));
    SetMsgResult(static_cast<LRESULT>(wParam * 2));
    return TRUE;
  }
};

std::span<const MessageEntry<CTestDlg>> CTestDlg::MessageMap() {
  static constexpr MessageEntry<CTestDlg> kMap[] = {
      OnCommandCodeEntry<CTestDlg>(IDC_TEST_BUTTON, BN_CLICKED, &CTestDlg::OnButton),
      OnCommandEntry<CTestDlg>(IDC_TEST_THROW, &CTestDlg::OnThrow),
      OnMessageEntry<CTestDlg>(WM_TEST_PING, &CTestDlg::OnPing),
  };
  return kMap;
}

void Click(HWND dialog, int id) {
  ::SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                 reinterpret_cast<LPARAM>(::GetDlgItem(dialog, id)));
}

TEST(Dialog, TableRoutesCommandsAndMessagesAndFallsBackForTheRest) {
  CTestDlg dlg;
  dlg.script = [](CTestDlg& d) {
    Click(d.Handle(), IDC_TEST_BUTTON);
    const LRESULT r = ::SendMessageW(d.Handle(), WM_TEST_PING, 21, 0);
    d.events.push_back("result " + std::to_string(r));
    // A notification code the table does not list falls through to OnCommand.
    ::SendMessageW(d.Handle(), WM_COMMAND, MAKEWPARAM(IDC_TEST_BUTTON, BN_DBLCLK), 0);
    ::PostMessageW(d.Handle(), WM_COMMAND, IDCANCEL, 0);
  };
  EXPECT_EQ(dlg.DoModal(nullptr), IDCANCEL);
  EXPECT_EQ(dlg.events, (std::vector<std::string>{"init", "button", "ping 21", "result 42",
                                                  "fallback 204", "fallback 2"}));
  EXPECT_EQ(dlg.Handle(), nullptr) << "the window is gone after the modal run";
}

TEST(Dialog, AnExceptionInAHandlerStopsAtTheBarrier) {
  CTestDlg dlg;
  dlg.script = [](CTestDlg& d) {
    Click(d.Handle(), IDC_TEST_THROW);
    d.events.push_back("survived");
    ::PostMessageW(d.Handle(), WM_COMMAND, IDCANCEL, 0);
  };
  EXPECT_EQ(dlg.DoModal(nullptr), IDCANCEL);
  EXPECT_EQ(dlg.events.back(), "fallback 2");
  EXPECT_EQ(dlg.events[1], "survived");
}

TEST(Dialog, OkSavesValidValuesAndEndsTheDialog) {
  CTestDlg dlg;
  dlg.script = [](CTestDlg& d) {
    ::SetDlgItemTextW(d.Handle(), IDC_TEST_EDIT, L"склад");
    ::SetDlgItemTextW(d.Handle(), IDC_TEST_NUMBER, L"42");
    ::CheckDlgButton(d.Handle(), IDC_TEST_CHECK, BST_UNCHECKED);
    ::PostMessageW(d.Handle(), WM_COMMAND, IDOK, 0);
  };
  EXPECT_EQ(dlg.DoModal(nullptr), IDOK);
  EXPECT_EQ(dlg.text, L"склад");
  EXPECT_EQ(dlg.number, 42);
  EXPECT_EQ(dlg.flag, 0);
}

TEST(Dialog, LoadFillsControlsAndAFailedValidationFocusesTheControlAndKeepsTheDialog) {
  CTestDlg dlg;
  dlg.script = [](CTestDlg& d) {
    wchar_t buffer[64] = {};
    ::GetDlgItemTextW(d.Handle(), IDC_TEST_EDIT, buffer, 64);
    d.events.push_back(std::wstring(buffer) == L"привет" ? "loaded text" : "wrong text");
    ::GetDlgItemTextW(d.Handle(), IDC_TEST_NUMBER, buffer, 64);
    d.events.push_back(std::wstring(buffer) == L"5" ? "loaded number" : "wrong number");

    ::SetDlgItemTextW(d.Handle(), IDC_TEST_EDIT, L"changed");
    ::SetDlgItemTextW(d.Handle(), IDC_TEST_NUMBER, L"100");  // out of 1..99
    ::SendMessageW(d.Handle(), WM_COMMAND, IDOK, 0);
    d.events.push_back(::GetFocus() == ::GetDlgItem(d.Handle(), IDC_TEST_NUMBER) ? "focused"
                                                                                 : "not focused");
    ::SetDlgItemTextW(d.Handle(), IDC_TEST_NUMBER, L"12x");
    d.events.push_back(d.UpdateData(true) ? "accepted 12x" : "refused 12x");
    ::PostMessageW(d.Handle(), WM_COMMAND, IDCANCEL, 0);
  };
  EXPECT_EQ(dlg.DoModal(nullptr), IDCANCEL) << "a failed OK keeps the dialog open";
  EXPECT_EQ(dlg.events,
            (std::vector<std::string>{"init", "loaded text", "loaded number", "fallback 1",
                                      "focused", "refused 12x", "fallback 2"}));
  EXPECT_EQ(dlg.number, 5) << "nothing past the failing value is taken";
}

TEST(Dialog, ModalLoopLetsTheDialogPreTranslateMessages) {
  class CKeyDlg : public CTestDlg {
   public:
    int keys = 0;

   protected:
    bool PreTranslateMessage(MSG* msg) override {
      if (msg->message == WM_KEYDOWN && msg->wParam == VK_F1) {
        ++keys;
        EndDialog(77);
        return true;
      }
      return false;
    }
  };
  CKeyDlg dlg;
  dlg.script = [](CTestDlg& d) {
    ::PostMessageW(::GetDlgItem(d.Handle(), IDC_TEST_EDIT), WM_KEYDOWN, VK_F1, 0);
  };
  EXPECT_EQ(dlg.DoModal(nullptr), 77);
  EXPECT_EQ(dlg.keys, 1);
}

// The typed entries of a table: commands with and without their code, a notification whose
// result reaches the sender, a void message handler and a message registered at run time.
UINT TestRegisteredMessage() {
  static const UINT message = ::RegisterWindowMessageW(L"MorvaneDialogTestRegistered");
  return message;
}

class CTypedDlg : public CDialogImpl<CTypedDlg> {
 public:
  CTypedDlg() : CDialogImpl<CTypedDlg>(IDD_TEST_DIALOG) {}
  static std::span<const MessageEntry<CTypedDlg>> MessageMap() {
    using D = CTypedDlg;
    static constexpr MessageEntry<D> kMap[] = {
        CommandHandler<&D::OnButton>(IDC_TEST_BUTTON),
        CommandHandler<&D::OnEdit>(IDC_TEST_EDIT, EN_CHANGE),
        NotifyHandler<&D::OnNotifyTest>(IDC_TEST_CHECK, 42),
        MessageHandler<&D::OnTimer>(WM_TIMER),
        RegisteredMessageHandler<&D::OnRegistered>(&TestRegisteredMessage),
    };
    return kMap;
  }

  std::vector<std::string> events;
  void (*script)(CTypedDlg&) = nullptr;

 protected:
  BOOL OnInit() override {
    if (script) script(*this);
    return TRUE;
  }

 private:
  void OnButton() { events.push_back("button"); }
  void OnEdit(WORD code) { events.push_back("edit " + std::to_string(code)); }
  LRESULT OnNotifyTest(NMHDR* header) {
    events.push_back("notify " + std::to_string(header->code));
    return 1234;
  }
  void OnTimer() {
    events.push_back(::IsWindowVisible(m_hWnd) ? "visible" : "hidden");
    EndDialog(IDOK);
  }
  void OnRegistered() { events.push_back("registered"); }
};

TEST(Dialog, TypedEntriesCrackTheirParametersAndSetTheNotifyResult) {
  CTypedDlg dlg;
  dlg.script = [](CTypedDlg& d) {
    Click(d.Handle(), IDC_TEST_BUTTON);
    ::SetDlgItemTextW(d.Handle(), IDC_TEST_EDIT, L"x");
    NMHDR header{d.Item(IDC_TEST_CHECK), IDC_TEST_CHECK, 42};
    const LRESULT r =
        ::SendMessageW(d.Handle(), WM_NOTIFY, IDC_TEST_CHECK, reinterpret_cast<LPARAM>(&header));
    d.events.push_back("result " + std::to_string(r));
    ::SendMessageW(d.Handle(), TestRegisteredMessage(), 0, 0);
    ::PostMessageW(d.Handle(), WM_COMMAND, IDCANCEL, 0);
  };
  EXPECT_EQ(dlg.DoModal(nullptr), IDCANCEL);
  EXPECT_EQ(dlg.events, (std::vector<std::string>{"button", "edit " + std::to_string(EN_CHANGE),
                                                  "notify 42", "result 1234", "registered"}));
}

TEST(Dialog, ModalRunShowsATemplateWithoutVisibleStyle) {
  CTypedDlg dlg;
  // A timer fires only once the queue is empty, by when the dialog must be on screen.
  dlg.script = [](CTypedDlg& d) { ::SetTimer(d.Handle(), 1, 10, nullptr); };
  EXPECT_EQ(dlg.DoModal(nullptr), IDOK);
  EXPECT_EQ(dlg.events, (std::vector<std::string>{"visible"}));
}

HWND g_owner = nullptr;
bool g_safetyFired = false;

void CALLBACK DestroyOwner(HWND, UINT, UINT_PTR id, DWORD) {
  ::KillTimer(nullptr, id);
  ::DestroyWindow(g_owner);
}

void CALLBACK GiveUp(HWND, UINT, UINT_PTR id, DWORD) {
  ::KillTimer(nullptr, id);
  g_safetyFired = true;
  ::PostQuitMessage(0);
}

TEST(Dialog, ModalRunEndsWhenItsWindowIsDestroyedFromOutside) {
  g_owner = ::CreateWindowExW(0, L"STATIC", L"owner", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                              nullptr, nullptr);
  ASSERT_NE(g_owner, nullptr);
  g_safetyFired = false;
  CTypedDlg dlg;
  dlg.script = [](CTypedDlg&) {
    // The owner goes (as at log-off), taking its owned dialog with it.
    ::SetTimer(nullptr, 0, 20, &DestroyOwner);
    ::SetTimer(nullptr, 0, 5000, &GiveUp);
  };
  EXPECT_EQ(dlg.DoModal(g_owner), IDCANCEL);
  EXPECT_FALSE(g_safetyFired) << "the loop ran on after its window was gone";
  EXPECT_EQ(dlg.Handle(), nullptr);
  EXPECT_FALSE(::IsWindow(g_owner));
  MSG quit;
  while (::PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
  }
}

}  // namespace
}  // namespace morvane
