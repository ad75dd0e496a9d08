#include "app/MorvaneApp.h"

#include <commctrl.h>

#include "app/Help.h"
#include "app/MorvaneDlg.h"
#include "app/StartFailure.h"

namespace morvane {

int CMorvaneApp::Run() {
  // First of all: a second copy must not get as far as the component or the registry.
  if (!m_instance.Acquire()) {
    ShowRunningCopy();
    return 0;
  }

  INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_WIN95_CLASSES};
  ::InitCommonControlsEx(&controls);

  // A failure inside the start-up sequence is ended there (see CMorvaneDlg::OnInit); what is left
  // here is a main window that could not be made at all.
  CMorvaneDlg dialog(m_settings);
  if (dialog.DoModal(nullptr) == -1) {
    ShowStartFailure();
    return kStartFailedExitCode;
  }
  return 0;
}

bool CMorvaneApp::PreTranslateMessage(MSG*) {
  return false;
}

}  // namespace morvane
