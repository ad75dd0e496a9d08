#include "terminal/FatalError.h"

namespace morvane {
namespace {

void ShowMessageBox(HWND owner, const std::wstring& text, const std::wstring& caption) {
  ::MessageBoxW(owner, text.c_str(), caption.c_str(), MB_ICONERROR);
}

FatalMessageSink g_fatalSink = &ShowMessageBox;

}  // namespace

FatalMessageSink SetFatalMessageSink(FatalMessageSink sink) {
  FatalMessageSink previous = g_fatalSink;
  g_fatalSink = sink ? sink : &ShowMessageBox;
  return previous;
}

void ReportFatalAndExit(HWND owner, const std::wstring& text) {
  g_fatalSink(owner, text, kErrorCaption);
  ::ExitProcess(static_cast<UINT>(-1));
}

std::wstring ComponentCallFailureText(HRESULT status) {
  std::wstring text =
      L"Ошибка вызова метода или свойства компоненты!\r\n"
      L"Попробуйте перерегестрировать компоненту.\r\n"
      L"Системное описание ошибки: ";
  wchar_t description[256] = {};
  // No arguments are passed: a system text with inserts ("%1") keeps them as they are.
  ::FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
                   static_cast<DWORD>(status), 0, description, 255, nullptr);
  description[255] = L'\0';
  return text + description;
}

}  // namespace morvane
