#pragma once
// The window's intake of terminal requests. The component sends WM_COPYDATA with a
// TerminalRequest record; a "Download" is served at once, inside the message (the component waits
// for it), an "Upload" is queued and served when the window's posted WM_DO_UPLOAD comes round.
//
// The record comes from outside: every pointer in it is checked before it is followed, and a
// record or text that is null or unreadable is ignored (cbData, which says nothing the component
// promised, is not read). Uploads wait in a queue, one text per posted message, so that two
// requests arriving close together are both served, in order.
#include <windows.h>

#include <deque>
#include <string>

namespace morvane {

class IRequestHandlers {
 public:
  virtual ~IRequestHandlers() = default;
  virtual void DownloadToTerminal(const std::wstring& ip, const std::wstring& baseNumber,
                                  const std::wstring& serial) = 0;
  virtual void UploadFromTerminal(std::wstring ip, std::wstring baseNumber, std::wstring extra,
                                  std::wstring dataKind, std::wstring serial) = 0;
};

// The longest data text accepted from a request, in bytes.
inline constexpr size_t kMaxRequestText = 64 * 1024;

// ANSI code page text to wide text, as the whole system receives it.
std::wstring AnsiToWide(const std::string& text);

class CRequestIntake {
 public:
  CRequestIntake(HWND window, IRequestHandlers& handlers)
      : m_window(window), m_handlers(handlers) {}

  // WM_COPYDATA. The caller returns the window's default result whatever happens here.
  void OnTerminalCopyData(const COPYDATASTRUCT* copyData);
  // WM_DO_UPLOAD: serves the oldest pending upload.
  void OnDoUpload();

  size_t PendingUploads() const { return m_pendingUploads.size(); }

 private:
  HWND m_window;
  IRequestHandlers& m_handlers;
  std::deque<std::wstring> m_pendingUploads;
};

}  // namespace morvane
