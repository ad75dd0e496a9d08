// The anchor for a large download: a plain blocking send() loop of a Windows process, with none
// of the component around it (no COM, no window, no threads). It speaks just enough of the
// terminal protocol for terminal-sim's download mode to be its client: the request line, then
// "FILE;1;<size>" and the file read in 256 KB pieces and sent, then the terminal's OK line.
//   bench_plain_send PORT FILE [CONNECTIONS [transmitfile]]
// serves CONNECTIONS downloads (default 1), then ends; "transmitfile" sends the file with
// TransmitFile instead of the loop.
#include <winsock2.h>
// After winsock2.h:
#include <mswsock.h>
#include <windows.h>

#include <cstdio>
#include <cwchar>
#include <string>
#include <vector>

namespace {

constexpr DWORD kChunkBytes = 256 * 1024;

// Reads up to and including the next LF, a byte at a time (the lines are short).
bool ReadLine(SOCKET s, std::string& line) {
  line.clear();
  char c = 0;
  while (::recv(s, &c, 1, 0) == 1) {
    if (c == '\n') return true;
    line += c;
  }
  return false;
}

bool SendAll(SOCKET s, const char* p, int size) {
  while (size > 0) {
    const int sent = ::send(s, p, size, 0);
    if (sent <= 0) return false;
    p += sent;
    size -= sent;
  }
  return true;
}

bool Serve(SOCKET s, const wchar_t* path, bool transmit) {
  std::string line;
  if (!ReadLine(s, line)) return false;
  HANDLE file = ::CreateFileW(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  LARGE_INTEGER size{};
  ::GetFileSizeEx(file, &size);
  const std::string header = "FILE;1;" + std::to_string(size.QuadPart) + "\n";
  bool ok = SendAll(s, header.data(), static_cast<int>(header.size()));
  std::vector<char> buffer(kChunkBytes);
  if (transmit) {
    GUID id = WSAID_TRANSMITFILE;
    LPFN_TRANSMITFILE transmitFile = nullptr;
    DWORD bytes = 0;
    ok = ok &&
         ::WSAIoctl(s, SIO_GET_EXTENSION_FUNCTION_POINTER, &id, sizeof id, &transmitFile,
                    sizeof transmitFile, &bytes, nullptr, nullptr) == 0 &&
         transmitFile(s, file, 0, 0, nullptr, nullptr, 0);
    ::CloseHandle(file);
    return ok && ReadLine(s, line);
  }
  for (LONGLONG left = size.QuadPart; ok && left > 0;) {
    DWORD got = 0;
    ok = ::ReadFile(file, buffer.data(), kChunkBytes, &got, nullptr) && got > 0 &&
         SendAll(s, buffer.data(), static_cast<int>(got));
    left -= got;
  }
  ::CloseHandle(file);
  return ok && ReadLine(s, line);
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc < 3) {
    std::fputs("usage: bench_plain_send PORT FILE [CONNECTIONS [transmitfile]]\n", stderr);
    return 3;
  }
  const int port = _wtoi(argv[1]);
  const int connections = argc > 3 ? _wtoi(argv[3]) : 1;
  const bool transmit = argc > 4 && std::wcscmp(argv[4], L"transmitfile") == 0;
  WSADATA data;
  ::WSAStartup(MAKEWORD(2, 2), &data);
  SOCKET listener = ::socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  address.sin_port = htons(static_cast<u_short>(port));
  if (::bind(listener, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
      ::listen(listener, SOMAXCONN) != 0) {
    std::printf("plain-send: cannot listen on port %d\n", port);
    return 1;
  }
  std::printf("plain-send: listening on port %d\n", port);
  std::fflush(stdout);
  int failed = 0;
  for (int i = 0; i < connections; ++i) {
    SOCKET s = ::accept(listener, nullptr, nullptr);
    if (s == INVALID_SOCKET) return 1;
    if (!Serve(s, argv[2], transmit)) ++failed;
    ::closesocket(s);
  }
  ::closesocket(listener);
  std::printf("plain-send: %d downloads, %d failed\n", connections, failed);
  return failed == 0 ? 0 : 1;
}
