#pragma once
// The application object: common controls, the settings record, and the main window run modally.
// When the main window ends, the process ends. Only one copy runs in a logon session.
#include <functional>
#include <utility>

#include "app/SingleInstance.h"
#include "framework/Application.h"
#include "log/LogView.h"
#include "settings/ServerSettings.h"

namespace morvane {

class CMorvaneApp : public CApplication {
 public:
  // Benchmark builds only (bench/): called with the main window's log as soon as it is attached,
  // before its first line. The shipping program passes none.
  using BenchmarkLogHook = std::function<void(CLogView&)>;
  explicit CMorvaneApp(BenchmarkLogHook benchmarkLogHook = {})
      : m_benchmarkLogHook(std::move(benchmarkLogHook)) {}

  int Run() override;
  bool PreTranslateMessage(MSG* message) override;

  ServerSettings& Settings() { return m_settings; }

 private:
  CSingleInstance m_instance;
  ServerSettings m_settings;
  BenchmarkLogHook m_benchmarkLogHook;
};

}  // namespace morvane
