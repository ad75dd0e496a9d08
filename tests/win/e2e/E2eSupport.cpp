#include "E2eSupport.h"

#include <shellapi.h>

#include <algorithm>
#include <random>

#include "framework/WindowText.h"
#include "standin/net/Socket.h"

namespace morvane::e2e {

std::wstring WindowsPath(const char* unixPath) {
  std::wstring path = L"Z:";
  for (const char* p = unixPath; *p; ++p)
    path += *p == '/' ? L'\\' : static_cast<wchar_t>(static_cast<unsigned char>(*p));
  return path;
}

std::string Narrow(const std::wstring& text) {
  std::string out;
  for (wchar_t c : text)
    out += c < 0x80 ? static_cast<char>(c) : '?';
  return out;
}

std::wstring Widen(const std::string& text) {
  return std::wstring(text.begin(), text.end());
}

std::string RandomBytes(size_t size, unsigned seed) {
  std::mt19937 random(seed);
  std::string bytes(size, '\0');
  for (char& c : bytes)
    c = static_cast<char>(random() & 0xff);
  return bytes;
}

std::string FleetUploadText(const std::string& serial, int exchange, size_t size) {
  const std::string piece = serial + ";" + std::to_string(exchange) + ";";
  std::string text;
  while (text.size() < size)
    text += piece;
  text.resize(size);
  if (size > 0) text.back() = '\n';
  return text;
}

std::vector<std::wstring> FileNames(const std::wstring& folder) {
  std::vector<std::wstring> names;
  WIN32_FIND_DATAW found{};
  const ScopedFindHandle search(::FindFirstFileW((folder + L"\\*").c_str(), &found));
  while (search) {
    if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) names.push_back(found.cFileName);
    if (!::FindNextFileW(search.Get(), &found)) break;
  }
  std::sort(names.begin(), names.end());
  return names;
}

int FreePort() {
  std::string error;
  const standin::net::Socket probe = standin::net::ListenTcp(0, 1, error);
  return probe.Valid() ? probe.LocalPort() : 0;
}

bool Listened(int port) {
  std::string error;
  return !standin::net::ListenTcp(port, 1, error).Valid();
}

namespace {
constexpr wchar_t kRunKey[] = L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run";
}  // namespace

std::optional<std::wstring> AutorunValue(const wchar_t* name) {
  ScopedKey key;
  if (::RegOpenKeyExW(HKEY_LOCAL_MACHINE, kRunKey, 0, KEY_READ, key.Receive()) != ERROR_SUCCESS)
    return std::nullopt;
  wchar_t value[1024] = {};
  DWORD size = sizeof value - sizeof(wchar_t);
  DWORD type = 0;
  if (::RegQueryValueExW(key.Get(), name, nullptr, &type, reinterpret_cast<BYTE*>(value), &size) !=
          ERROR_SUCCESS ||
      type != REG_SZ) {
    return std::nullopt;
  }
  return std::wstring(value);
}

bool SetAutorunValue(const wchar_t* name, const std::wstring& data) {
  ScopedKey key;
  return ::RegCreateKeyExW(HKEY_LOCAL_MACHINE, kRunKey, 0, nullptr, 0, KEY_SET_VALUE, nullptr,
                           key.Receive(), nullptr) == ERROR_SUCCESS &&
         ::RegSetValueExW(key.Get(), name, 0, REG_SZ, reinterpret_cast<const BYTE*>(data.c_str()),
                          static_cast<DWORD>((data.size() + 1) * sizeof(wchar_t))) == ERROR_SUCCESS;
}

void RemoveAutorunValue(const wchar_t* name) {
  ScopedKey key;
  if (::RegOpenKeyExW(HKEY_LOCAL_MACHINE, kRunKey, 0, KEY_SET_VALUE, key.Receive()) ==
      ERROR_SUCCESS) {
    ::RegDeleteValueW(key.Get(), name);
  }
}

bool TrayIconShown(HWND owner) {
  NOTIFYICONDATAW probe{};
  probe.cbSize = sizeof probe;
  probe.hWnd = owner;
  probe.uID = 1;
  return ::Shell_NotifyIconW(NIM_MODIFY, &probe) != FALSE;
}

bool PollUntil(const std::function<bool()>& done, int timeoutMs) {
  const ULONGLONG until = ::GetTickCount64() + static_cast<ULONGLONG>(timeoutMs);
  for (;;) {
    if (done()) return true;
    if (::GetTickCount64() >= until) return false;
    ::Sleep(20);
  }
}

std::wstring MessageBoxText(HWND box) {
  return WindowText(::GetDlgItem(box, 0xFFFF));  // the id of a message box's text
}

Simulator::Simulator(const std::wstring& arguments) {
  SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
  output_.Reset(::CreateFileW((scratch_ / L"simulator-output.txt").c_str(), GENERIC_WRITE,
                              FILE_SHARE_READ, &inherit, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                              nullptr));
  if (!output_) {
    startError_ = "cannot create the simulator's output file";
    return;
  }
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdOutput = output_.Get();
  startup.hStdError = output_.Get();
  std::wstring commandLine = L"\"" + WindowsPath(TERMINAL_SIM_EXE) + L"\" " + arguments;
  PROCESS_INFORMATION process{};
  if (!::CreateProcessW(nullptr, &commandLine[0], nullptr, nullptr, TRUE, 0, nullptr, nullptr,
                        &startup, &process)) {
    startError_ = "cannot start the simulator";
    return;
  }
  process_.Reset(process.hProcess);
  const ScopedHandle thread(process.hThread);
}

Simulator::~Simulator() {
  if (process_ && ::WaitForSingleObject(process_.Get(), 0) == WAIT_TIMEOUT) {
    ::TerminateProcess(process_.Get(), 99);
    ::WaitForSingleObject(process_.Get(), 5000);
  }
}

SimulatorRun Simulator::Wait(int timeoutMs) {
  SimulatorRun run;
  if (!process_) {
    run.output = startError_;
    return run;
  }
  if (::WaitForSingleObject(process_.Get(), static_cast<DWORD>(timeoutMs)) != WAIT_OBJECT_0) {
    ::TerminateProcess(process_.Get(), 99);
    ::WaitForSingleObject(process_.Get(), 5000);
  }
  ::GetExitCodeProcess(process_.Get(), &run.exitCode);
  output_.Reset();
  run.output = testing::ReadFileBytes(scratch_ / L"simulator-output.txt");
  return run;
}

SimulatorRun RunSimulator(const std::wstring& arguments, int timeoutMs) {
  Simulator simulator(arguments);
  return simulator.Wait(timeoutMs);
}

namespace {

// One number of a stamp: decimal digits, no leading zero (a lone 0 is fine).
bool ReadStampNumber(const std::wstring& line, size_t& pos, int low, int high) {
  const size_t start = pos;
  int value = 0;
  while (pos < line.size() && pos - start < 5 && line[pos] >= L'0' && line[pos] <= L'9')
    value = value * 10 + (line[pos++] - L'0');
  const size_t digits = pos - start;
  if (digits == 0 || (digits > 1 && line[start] == L'0')) return false;
  return value >= low && value <= high;
}

}  // namespace

size_t LogStampLength(const std::wstring& line) {
  struct Part {
    int low, high;
    wchar_t after;
  };
  static constexpr Part kParts[] = {{1, 31, L'.'}, {1, 12, L'.'}, {2000, 9999, L' '},
                                    {0, 23, L':'}, {0, 59, L':'}, {0, 60, L' '}};
  size_t pos = 0;
  for (const Part& part : kParts) {
    if (!ReadStampNumber(line, pos, part.low, part.high)) return 0;
    if (pos >= line.size() || line[pos] != part.after) return 0;
    ++pos;
  }
  return pos;
}

std::vector<std::wstring> LogMessages(const std::wstring& text) {
  std::vector<std::wstring> messages;
  size_t start = 0;
  while (start < text.size()) {
    const size_t end = text.find(L"\r\n", start);
    if (end == std::wstring::npos) {
      messages.push_back(L"<bad line> " + text.substr(start));
      break;
    }
    const std::wstring line = text.substr(start, end - start);
    const size_t stamp = LogStampLength(line);
    messages.push_back(stamp ? line.substr(stamp) : L"<bad line> " + line);
    start = end + 2;
  }
  return messages;
}

std::vector<std::wstring> LogFileMessages(const std::wstring& path) {
  const std::string bytes = testing::ReadFileBytes(path);
  if (bytes.empty()) return {};
  const int size = static_cast<int>(bytes.size());
  const int chars = ::MultiByteToWideChar(1251, 0, bytes.data(), size, nullptr, 0);
  std::wstring text(static_cast<size_t>(chars), L'\0');
  ::MultiByteToWideChar(1251, 0, bytes.data(), size, text.data(), chars);
  return LogMessages(text);
}

size_t CountStartingWith(const std::vector<std::wstring>& messages, const std::wstring& start) {
  size_t count = 0;
  for (const std::wstring& m : messages)
    count += m.compare(0, start.size(), start) == 0 ? 1 : 0;
  return count;
}

std::string Describe(const std::vector<std::wstring>& messages) {
  // The log speaks Russian: the failure output shows it in UTF-8.
  std::string out;
  for (const std::wstring& m : messages) {
    const int size = static_cast<int>(m.size());
    const int bytes =
        ::WideCharToMultiByte(CP_UTF8, 0, m.data(), size, nullptr, 0, nullptr, nullptr);
    std::string line(static_cast<size_t>(bytes), '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, m.data(), size, line.data(), bytes, nullptr, nullptr);
    out += "  " + line + "\n";
  }
  return out;
}

}  // namespace morvane::e2e
