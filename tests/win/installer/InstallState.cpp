#include "InstallState.h"

#include <shlobj.h>

#include <vector>

#include "framework/ScopedResource.h"

namespace morvane::installer_test {

namespace {

std::wstring Lower(std::wstring text) {
  ::CharLowerBuffW(text.data(), static_cast<DWORD>(text.size()));
  return text;
}

void ListFolder(const std::wstring& folder, const std::set<std::wstring>& skipped,
                std::set<std::wstring>& out) {
  WIN32_FIND_DATAW found{};
  const ScopedFindHandle search(::FindFirstFileW((folder + L"\\*").c_str(), &found));
  while (search) {
    const std::wstring name = found.cFileName;
    const std::wstring path = folder + L"\\" + name;
    if (name != L"." && name != L".." && !skipped.count(Lower(path))) {
      out.insert(path);
      if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) &&
          !(found.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT))
        ListFolder(path, skipped, out);
    }
    if (!::FindNextFileW(search.Get(), &found)) break;
  }
}

void ListKey(HKEY parent, const std::wstring& path, std::set<std::wstring>& out) {
  ScopedKey key;
  if (::RegOpenKeyExW(parent, path.c_str(), 0, KEY_READ, key.Receive()) != ERROR_SUCCESS) return;
  out.insert(path);
  wchar_t name[16384];
  for (DWORD i = 0;; ++i) {
    DWORD length = 16384;
    if (::RegEnumValueW(key.Get(), i, name, &length, nullptr, nullptr, nullptr, nullptr) !=
        ERROR_SUCCESS)
      break;
    out.insert(path + L" : " + name);
  }
  std::vector<std::wstring> children;
  for (DWORD i = 0;; ++i) {
    DWORD length = 256;
    if (::RegEnumKeyExW(key.Get(), i, name, &length, nullptr, nullptr, nullptr, nullptr) !=
        ERROR_SUCCESS)
      break;
    children.push_back(name);
  }
  for (const std::wstring& child : children)
    ListKey(parent, path.empty() ? child : path + L"\\" + child, out);
}

std::wstring Environment(const wchar_t* name) {
  wchar_t value[MAX_PATH] = {};
  ::GetEnvironmentVariableW(name, value, MAX_PATH);
  return value;
}

}  // namespace

std::set<std::wstring> FileListing() {
  std::set<std::wstring> out;
  ListFolder(L"C:", {Lower(L"C:\\windows"), Lower(Environment(L"TEMP"))}, out);
  return out;
}

std::set<std::wstring> RegistryListing() {
  std::set<std::wstring> out, user;
  ListKey(HKEY_LOCAL_MACHINE, L"Software", out);
  ListKey(HKEY_CURRENT_USER, L"", user);
  for (const std::wstring& entry : user) {
    if (!entry.starts_with(L"Software\\Wine")) out.insert(L"HKCU\\" + entry);
  }
  return out;
}

std::wstring Difference(const std::set<std::wstring>& before, const std::set<std::wstring>& after) {
  std::wstring text;
  for (const std::wstring& entry : after)
    if (!before.count(entry)) text += L"added: " + entry + L"\n";
  for (const std::wstring& entry : before)
    if (!after.count(entry)) text += L"removed: " + entry + L"\n";
  return text;
}

std::wstring ReadText(HKEY root, const std::wstring& key, const std::wstring& name) {
  wchar_t value[1024] = {};
  DWORD size = sizeof value;
  if (::RegGetValueW(root, key.c_str(), name.c_str(), RRF_RT_REG_SZ, nullptr, value, &size) !=
      ERROR_SUCCESS)
    return L"<none>";
  return value;
}

DWORD ReadNumber(HKEY root, const std::wstring& key, const std::wstring& name) {
  DWORD value = 0;
  DWORD size = sizeof value;
  if (::RegGetValueW(root, key.c_str(), name.c_str(), RRF_RT_REG_DWORD, nullptr, &value, &size) !=
      ERROR_SUCCESS)
    return 0;
  return value;
}

bool KeyExists(HKEY root, const std::wstring& key) {
  ScopedKey opened;
  return ::RegOpenKeyExW(root, key.c_str(), 0, KEY_READ, opened.Receive()) == ERROR_SUCCESS;
}

long RunToEnd(std::wstring commandLine, DWORD timeoutMs) {
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION info{};
  if (!::CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &info))
    return -1;
  const ScopedHandle process(info.hProcess), thread(info.hThread);
  if (::WaitForSingleObject(process.Get(), timeoutMs) != WAIT_OBJECT_0) {
    ::TerminateProcess(process.Get(), 99);
    return -1;
  }
  DWORD code = 0;
  ::GetExitCodeProcess(process.Get(), &code);
  return static_cast<long>(code);
}

std::wstring ShellFolder(int csidl) {
  wchar_t path[MAX_PATH] = {};
  ::SHGetFolderPathW(nullptr, csidl, nullptr, SHGFP_TYPE_CURRENT, path);
  return path;
}

}  // namespace morvane::installer_test
