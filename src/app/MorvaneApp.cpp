#include "app/MorvaneApp.h"

#include <commctrl.h>

#include "app/Help.h"
#include "app/MorvaneDlg.h"

namespace morvane {

int CMorvaneApp::Run() {
  INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_WIN95_CLASSES};
  ::InitCommonControlsEx(&controls);

  CMorvaneDlg dialog(m_settings);
  dialog.DoModal(nullptr);
  CloseProgramHelp();
  return 0;
}

// F1 opens the help from any window that runs through our modal loops (the main window, the about
// box, the options dialog and its pages); the system's own dialogs run loops of their own.
bool CMorvaneApp::PreTranslateMessage(MSG* message) {
  return HandleHelpKey(*message);
}

}  // namespace morvane
