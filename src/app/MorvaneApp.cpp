#include "app/MorvaneApp.h"

#include <commctrl.h>

#include "app/Help.h"
#include "app/MorvaneDlg.h"

namespace morvane {

int CMorvaneApp::Run() {
  INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_WIN95_CLASSES};
  ::InitCommonControlsEx(&controls);

  CMorvaneDlg dialog(m_settings, m_benchmarkLogHook);
  dialog.DoModal(nullptr);
  return 0;
}

bool CMorvaneApp::PreTranslateMessage(MSG*) {
  return false;
}

}  // namespace morvane
