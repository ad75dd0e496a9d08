#include "exchange/ExchangeSteps.h"

namespace morvane {

void RunExternalAppIfSet(ExchangeContext& ctx, int flag, const std::wstring& path) {
  if (!IsSet(flag)) return;
  if (ctx.launcher.RunExternalApp(path))
    ctx.log.AddLogLine(L"Запущено приложение: " + path);
  else
    ctx.log.AddLogLine(L"Ошибка запуска приложения: " + path);
}

void LogComponentFailure(ExchangeContext& ctx, const std::wstring& failureLine) {
  int code = 0;
  if (ctx.component && !ctx.component->GetErrorCode(code)) code = 0;
  if (code == 0) {
    ctx.log.AddLogLine(failureLine);
    return;
  }
  std::wstring description;
  ctx.component->GetErrorDescription(description);
  ctx.log.AddLogLine(failureLine);
  ctx.log.AddLogLine(L"Описание ошибки: " + description);
}

}  // namespace morvane
