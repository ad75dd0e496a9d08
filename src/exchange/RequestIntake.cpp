#include "exchange/RequestIntake.h"

#include <vector>

#include "base/PrivateMessages.h"
#include "exchange/ForeignMemory.h"
#include "exchange/RequestFields.h"
#include "terminal/TerminalRequest.h"

namespace morvane {

std::wstring AnsiToWide(const std::string& text) {
  // The terminating NUL is converted along with the text.
  const int bytes = static_cast<int>(text.size()) + 1;
  const int chars = ::MultiByteToWideChar(CP_ACP, 0, text.c_str(), bytes, nullptr, 0);
  if (chars <= 0) return std::wstring();
  std::vector<wchar_t> buffer(static_cast<size_t>(chars));
  ::MultiByteToWideChar(CP_ACP, 0, text.c_str(), bytes, buffer.data(), chars);
  return std::wstring(buffer.data());  // up to the first NUL
}

void CRequestIntake::OnTerminalCopyData(const COPYDATASTRUCT* copyData) {
  // cbData is not judged: the record's size is no part of the component's contract, and a
  // component that sends another value must not make the server look dead. What is read is
  // checked instead.
  if (!copyData || !IsReadableMemory(copyData->lpData, sizeof(TerminalRequest))) return;
  const auto* request = static_cast<const TerminalRequest*>(copyData->lpData);

  std::string source;
  if (!ReadForeignText(request->source, sizeof(kRequestSource), source) ||
      source != kRequestSource) {
    return;
  }
  std::string event;
  if (!ReadForeignText(request->event, sizeof(kEventDownload), event)) return;
  const bool download = event == kEventDownload;
  const bool upload = event == kEventUpload;
  if (!download && !upload) return;

  std::string data;
  if (!ReadForeignText(request->data, kMaxRequestText, data)) return;

  if (download) {
    const DownloadFields fields = SplitDownloadData(AnsiToWide(data));
    m_handlers.DownloadToTerminal(fields.ip, fields.baseNumber, fields.serial);
    return;
  }
  m_pendingUploads.push_back(AnsiToWide(data));
  if (!::PostMessageW(m_window, WM_DO_UPLOAD, 0, 0)) {
    // No message will come for it: keep the queue in step with the posted messages.
    m_pendingUploads.pop_back();
  }
}

void CRequestIntake::OnDoUpload() {
  if (m_pendingUploads.empty()) return;
  const std::wstring data = std::move(m_pendingUploads.front());
  m_pendingUploads.pop_front();
  UploadFields fields = SplitUploadData(data);
  m_handlers.UploadFromTerminal(std::move(fields.ip), std::move(fields.baseNumber),
                                std::move(fields.extra), std::move(fields.dataKind),
                                std::move(fields.serial));
}

}  // namespace morvane
