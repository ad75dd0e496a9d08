#pragma once
// The application object: common controls, the settings record, and the main window run modally.
// When the main window ends, the process ends. Only one copy runs in a logon session.
#include "app/SingleInstance.h"
#include "framework/Application.h"
#include "settings/ServerSettings.h"

namespace morvane {

class CMorvaneApp : public CApplication {
 public:
  int Run() override;
  bool PreTranslateMessage(MSG* message) override;

  ServerSettings& Settings() { return m_settings; }

 private:
  CSingleInstance m_instance;
  ServerSettings m_settings;
};

}  // namespace morvane
