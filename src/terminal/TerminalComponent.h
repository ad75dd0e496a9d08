#pragma once
// What the rest of the server asks of the communication component. The Win32 wrapper
// (CInterfaceCipherLab) implements it over late-bound automation calls; the portable exchange
// logic and its tests see only this interface. Every operation returns 0 / false and calls nothing
// when the component is not loaded; getters then leave their output untouched.
#include <string>

namespace morvane {

class ITerminalComponent {
 public:
  virtual ~ITerminalComponent() = default;

  virtual bool SetPort(int port) = 0;
  virtual bool GetPort(int& port) = 0;
  virtual bool SetDelay(int milliseconds) = 0;
  virtual bool GetDelay(int& milliseconds) = 0;
  virtual bool SetDelimiter(int characterCode) = 0;
  virtual bool GetDelimiter(int& characterCode) = 0;

  // Non-zero: the component listens for terminals.
  virtual int Attach() = 0;
  virtual bool Detach() = 0;

  // 1: delivered; -1: the transfer failed; other values are judged by the caller.
  virtual int SendFile(const std::wstring& path, int baseNumber) = 0;
  // Exactly 1: the terminal's data is in the file. mode 0 = shared file, 1 = a file of its own.
  virtual int GetFile(const std::wstring& path, int dataKind, int baseNumber, int mode) = 0;
  virtual bool SetDeleteUploadedData(int flag) = 0;

  virtual bool GetErrorCode(int& code) = 0;
  virtual bool GetErrorDescription(std::wstring& text) = 0;
};

}  // namespace morvane
