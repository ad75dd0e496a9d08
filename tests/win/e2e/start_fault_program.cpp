// The server program with one fault added: its start-up sequence runs whole (component, settings,
// notification icon, automatic server start) and then throws, as a failure inside it would.
#include <windows.h>

#include <commctrl.h>

#include <stdexcept>

#include "app/MorvaneDlg.h"
#include "settings/ServerSettings.h"

namespace {

class CFailingStartDlg : public morvane::CMorvaneDlg {
 public:
  using CMorvaneDlg::CMorvaneDlg;

 protected:
  void StartUp() override {
    CMorvaneDlg::StartUp();
    throw std::runtime_error("start-up fault of the test program");
  }
};

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_WIN95_CLASSES};
  ::InitCommonControlsEx(&controls);
  morvane::ServerSettings settings;
  CFailingStartDlg dialog(settings);
  dialog.DoModal(nullptr);
  return 0;
}
