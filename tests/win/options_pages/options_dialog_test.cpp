// The two pages inside the real options dialog, run modally: the keyboard reaches the controls of
// the Download page's embedded dialogs. The steps run on the dialog's own thread, from a thread
// timer that its modal loop dispatches.
#include <gtest/gtest.h>

#include <functional>
#include <vector>

#include "options/DownloadPage.h"
#include "options/OptionsDlg.h"
#include "res/resource.h"
#include "win/options_pages/PageTestSupport.h"

namespace morvane {
namespace {

using namespace testing;

// Runs one step per timer tick inside whatever loop is running.
class UiScript {
 public:
  explicit UiScript(std::vector<std::function<void()>> steps) : m_steps(std::move(steps)) {
    s_current = this;
    m_timer = ::SetTimer(nullptr, 0, 100, &UiScript::Tick);
  }
  ~UiScript() {
    ::KillTimer(nullptr, m_timer);
    s_current = nullptr;
  }
  bool Done() const { return m_next == m_steps.size(); }

 private:
  static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD) {
    UiScript* self = s_current;
    if (self && self->m_next < self->m_steps.size()) self->m_steps[self->m_next++]();
  }
  static inline UiScript* s_current = nullptr;
  std::vector<std::function<void()>> m_steps;
  size_t m_next = 0;
  UINT_PTR m_timer = 0;
};

void PressKey(HWND window, WPARAM key) {
  ::PostMessageW(window, WM_KEYDOWN, key, 1);
  ::PostMessageW(window, WM_KEYUP, key, 0xC0000001);
}

class OptionsDialogTest : public ::testing::Test {
 protected:
  // Shows the Download page as a click on its tab does.
  void SelectDownloadTab() {
    HWND tab = ::GetDlgItem(dialog.Handle(), IDC_OPTIONS_TAB);
    ::SendMessageW(tab, TCM_SETCURFOCUS, 1, 0);
  }
  HWND Embedded(bool shared) const {
    CTabDlgPageDownload* page = dialog.DownloadPage();
    return shared ? page->SharedFiles()->Handle() : page->OwnFiles()->Handle();
  }
  ServerSettings settings;
  PageHost host;
  int saved = 0;
  OptionsDlg dialog{OptionsContext{settings, nullptr, nullptr}, [this] { ++saved; }};
};

TEST_F(OptionsDialogTest, EnterInAnEmbeddedDialogsEditActsAsOk) {
  HWND edit = nullptr;
  UiScript script({
      [&] {
        SelectDownloadTab();
        ASSERT_TRUE(::IsWindowVisible(Embedded(true)));
        edit = ::GetDlgItem(Embedded(true), IDC_BASE3_PATH);
        ::SetWindowTextW(edit, L"E:\\typed.txt");
        ::SetFocus(edit);
        PressKey(edit, VK_RETURN);
      },
  });
  EXPECT_EQ(dialog.DoModal(host.Handle()), IDOK);
  EXPECT_TRUE(script.Done());
  EXPECT_EQ(settings.BaseFile3PathEdit, L"E:\\typed.txt");
  EXPECT_EQ(saved, 1);
}

TEST_F(OptionsDialogTest, TabWalksFromThePageIntoTheShownEmbeddedDialog) {
  settings.OneFileForAll_TSD = 0;
  HWND focused = nullptr;
  HWND folder = nullptr;
  UiScript script({
      [&] {
        SelectDownloadTab();
        HWND own = ::GetDlgItem(dialog.DownloadPage()->Handle(), IDC_DL_KIND_OWN);
        ::SetFocus(own);
        PressKey(own, VK_TAB);
      },
      [&] {
        focused = ::GetFocus();
        folder = ::GetDlgItem(Embedded(false), IDC_OWN_FOLDER);
        PressKey(focused, VK_ESCAPE);
      },
  });
  EXPECT_EQ(dialog.DoModal(host.Handle()), IDCANCEL);
  EXPECT_TRUE(script.Done());
  EXPECT_EQ(focused, folder) << "the per-terminal folder";
  EXPECT_EQ(saved, 0);
}

}  // namespace
}  // namespace morvane
