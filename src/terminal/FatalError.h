#pragma once
// The two failures the server cannot go on after: the component cannot be created, or a call on it
// fails. The user is told in a message box; then the process ends with exit code -1 without any
// close sequence.
#include <windows.h>

#include <string>

namespace morvane {

inline constexpr wchar_t kComponentLoadFailed[] = L"Не удалось загрузить компоненту!";
inline constexpr wchar_t kComponentCreateFailed[] = L"Не удалось создать объект компоненты!";
inline constexpr wchar_t kErrorCaption[] = L"Ошибка";

// How the fatal message reaches the user. Tests replace the message box so that a fatal path can
// run in a child process without a blocking window.
using FatalMessageSink = void (*)(HWND owner, const std::wstring& text,
                                  const std::wstring& caption);
FatalMessageSink SetFatalMessageSink(FatalMessageSink sink);

// Shows the text with the caption "Ошибка", then ends the process with exit code -1.
[[noreturn]] void ReportFatalAndExit(HWND owner, const std::wstring& text);

// The text for a failed call on the component: the fixed lines, then the system's own description
// of the status (at most 255 characters; empty when the system has none).
std::wstring ComponentCallFailureText(HRESULT status);

}  // namespace morvane
