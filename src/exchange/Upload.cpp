#include "exchange/Upload.h"

#include "base/NumberText.h"
#include "exchange/DataFileName.h"
#include "exchange/ExchangeSteps.h"
#include "exchange/Folders.h"
#include "settings/SettingsSequence.h"

namespace morvane {

namespace {

// Kinds other than 1 and 2 leave the component's switch as the previous exchange set it.
void SetClearingSwitch(ExchangeContext& ctx, int kind) {
  if (!ctx.component) return;
  if (kind == 1)
    ctx.component->SetDeleteUploadedData(IsSet(ctx.settings.ClearBDAfterUpload) ? 1 : 0);
  else if (kind == 2)
    ctx.component->SetDeleteUploadedData(IsSet(ctx.settings.ClearFilesAfterUpload) ? 1 : 0);
}

void LogOutcome(ExchangeContext& ctx, bool fetched, const std::wstring& path,
                const std::wstring& ip, const std::wstring& serial) {
  if (fetched) {
    ctx.log.AddLogLine(L"Данные выгружены из терминала - SN: " + serial + L" IP: " + ip + L" в: " +
                       path);
  } else {
    LogComponentFailure(ctx,
                        L"Ошибка выгрузки данных из терминала - SN: " + serial + L" IP: " + ip);
  }
}

// The counter is stored as soon as it moves on: after a crash the next start must not hand out a
// number again, or the component would replace a file already delivered.
void AdvanceAndStoreFileCounter(ExchangeContext& ctx) {
  AdvanceFileCounter(ctx.settings);
  if (!ctx.settingsStore) return;
  if (!SaveSettingValue(*ctx.settingsStore, ctx.settings, L"SuffiksIndex")) {
    ctx.log.AddLogLine(L"Не удалось записать в реестр SuffiksIndex: " +
                       std::to_wstring(ctx.settings.SuffiksIndex));
  }
}

void FetchIntoSharedFile(ExchangeContext& ctx, int kind, int baseNumber, const std::wstring& ip,
                         const std::wstring& serial) {
  std::wstring& file = ctx.settings.FileNameForUpload;
  if (file.empty()) {
    if (GetProgramFolder(ctx.fileSystem, file))
      file += L"DataFile.txt";
    else
      file = L"DataFile.txt";
  }
  if (!ctx.component) return;
  const bool fetched = ctx.component->GetFile(file, kind, baseNumber, 0) == 1;
  LogOutcome(ctx, fetched, file, ip, serial);
}

void FetchIntoOwnFile(ExchangeContext& ctx, int kind, const std::wstring& baseText, int baseNumber,
                      const std::wstring& ip, const std::wstring& serial) {
  ServerSettings& s = ctx.settings;
  if (s.DirectoryForUpload.empty() || !CheckFolder(ctx.fileSystem, s.DirectoryForUpload))
    GetProgramFolder(ctx.fileSystem, s.DirectoryForUpload);
  // The name is composed (and the counter possibly reset) even when there is no component.
  const std::wstring path =
      JoinFolder(s.DirectoryForUpload, BuildDataFileName(s, serial, baseText, ctx.clock.NowUtc()));
  if (!ctx.component) return;
  const bool fetched = ctx.component->GetFile(path, kind, baseNumber, 1) == 1;
  if (fetched && IsSet(s.SuffiksRadio)) AdvanceAndStoreFileCounter(ctx);
  LogOutcome(ctx, fetched, path, ip, serial);
}

}  // namespace

void UploadFromTerminal(ExchangeContext& ctx, const std::wstring& ip,
                        const std::wstring& baseNumber, const std::wstring& /*extra*/,
                        const std::wstring& dataKind, const std::wstring& serial) {
  const ServerSettings& s = ctx.settings;
  RunExternalAppIfSet(ctx, s.StarAppBeforeUpload, s.StartAppBeforeUploadPath);
  const int kind = StrToIntRule(dataKind);
  const int n = StrToIntRule(baseNumber);
  SetClearingSwitch(ctx, kind);
  if (IsSet(s.OneFileForAllTSD))
    FetchIntoSharedFile(ctx, kind, n, ip, serial);
  else
    FetchIntoOwnFile(ctx, kind, baseNumber, n, ip, serial);
  RunExternalAppIfSet(ctx, s.StarAppAfterUpload, s.StartAppAfterUploadPath);
}

}  // namespace morvane
