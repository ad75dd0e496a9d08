#include "exchange/Download.h"

#include "base/NumberText.h"
#include "exchange/ExchangeSteps.h"
#include "exchange/Folders.h"
#include "exchange/OwnBaseFile.h"

namespace morvane {

namespace {

const std::wstring& SharedBaseFile(const ServerSettings& s, int baseNumber) {
  static const std::wstring kNone;
  switch (baseNumber) {
    case 1:
      return s.BaseFile1PathEdit;
    case 2:
      return s.BaseFile2PathEdit;
    case 3:
      return s.BaseFile3PathEdit;
    case 4:
      return s.BaseFile4PathEdit;
    case 5:
      return s.BaseFile5PathEdit;
    default:
      return kNone;
  }
}

std::wstring SentLine(const std::wstring& path, const std::wstring& serial,
                      const std::wstring& ip) {
  return L"Файл \"" + path + L"\" успешно загружен в терминал - SN: " + serial + L" IP: " + ip;
}

// The shared set does not check the file before sending: the component's answer decides.
void SendSharedFile(ExchangeContext& ctx, int baseNumber, const std::wstring& ip,
                    const std::wstring& serial) {
  const std::wstring file = SharedBaseFile(ctx.settings, baseNumber);
  if (!ctx.component) return;
  if (ctx.component->SendFile(file, baseNumber) == 1) {
    ctx.log.AddLogLine(SentLine(file, serial, ip));
  } else if (file.empty()) {
    ctx.log.AddLogLine(L"Файл для загрузки в терминал не выбран!");
  } else {
    LogComponentFailure(
        ctx, L"Ошибка загрузки файла \"" + file + L"\" в терминал - SN: " + serial + L" IP: " + ip);
  }
}

// Nothing to send: the component still gets its call, with an empty path.
void SendNothing(ExchangeContext& ctx, int baseNumber, const wchar_t* reason) {
  if (!ctx.component) return;
  ctx.component->SendFile(std::wstring(), baseNumber);
  ctx.log.AddLogLine(reason);
}

void SendOwnFile(ExchangeContext& ctx, const std::wstring& baseText, int baseNumber,
                 const std::wstring& ip, const std::wstring& serial) {
  std::wstring& folder = ctx.settings.DirectoryWithBasaPath;
  if (!CheckFolder(ctx.fileSystem, folder)) GetProgramFolder(ctx.fileSystem, folder);
  if (!CheckFolder(ctx.fileSystem, folder)) {
    SendNothing(ctx, baseNumber, L"Неверно указана папка с файлами!");
    return;
  }
  const std::optional<OwnBaseFileSearch> search = MakeOwnBaseFileSearch(folder, serial, baseText);
  const std::wstring name = search ? ChooseOwnBaseFile(ctx.fileSystem, *search) : std::wstring();
  if (name.empty()) {
    SendNothing(ctx, baseNumber, L"Файл для данного терминала не найден!");
    return;
  }
  const std::wstring path = JoinFolder(folder, name);
  if (!ctx.component) return;
  // Only 1 counts as delivered. Every other answer (-1, but also 0, which the wrapper gives when
  // the component is not loaded, and any value the component may invent) is reported as a failed
  // send, and the file stays: a base must never be deleted unless the terminal has it.
  if (ctx.component->SendFile(path, baseNumber) != 1) {
    LogComponentFailure(ctx, L"Ошибка загрузки файла \"" + path + L"\" в терминала - SN: " +
                                 serial + L" IP: " + ip);
    return;
  }
  ctx.log.AddLogLine(SentLine(path, serial, ip));
  if (IsSet(ctx.settings.DeleteFileBeforeDownload) && ctx.fileSystem.FileExists(path)) {
    // A file that is still there is sent again on the next request: say so.
    ctx.fileSystem.RemoveFile(path);
    if (ctx.fileSystem.FileExists(path))
      ctx.log.AddLogLine(L"Не удалось удалить файл: " + path);
    else
      ctx.log.AddLogLine(L"Удалён файл: " + path);
  }
}

}  // namespace

void DownloadToTerminal(ExchangeContext& ctx, const std::wstring& ip,
                        const std::wstring& baseNumber, const std::wstring& serial) {
  const ServerSettings& s = ctx.settings;
  RunExternalAppIfSet(ctx, s.StartAppBeforeDownload, s.StartAppBeforeDownloadPath);
  const int n = StrToIntRule(baseNumber);
  if (IsSet(s.OneFileForAll_TSD))
    SendSharedFile(ctx, n, ip, serial);
  else
    SendOwnFile(ctx, baseNumber, n, ip, serial);
  RunExternalAppIfSet(ctx, s.StartAppAfterDownload, s.StartAppAfterDownloadPath);
}

}  // namespace morvane
