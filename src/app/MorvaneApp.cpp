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
  CMorvaneDlg dialog(m_settings, m_benchmarkLogHook);
  const INT_PTR result = dialog.DoModal(nullptr);
  CloseProgramHelp();
  if (result == -1) {
    ShowStartFailure();
    return kStartFailedExitCode;
  }
  return 0;
}

// F1 opens the help from any window that runs through our modal loops (the main window, the about
// box, the options dialog and its pages); the system's own dialogs run loops of their own.
bool CMorvaneApp::PreTranslateMessage(MSG* message) {
  return HandleHelpKey(*message);
}

}  // namespace morvane
