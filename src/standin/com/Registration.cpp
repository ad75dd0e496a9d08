#include "standin/com/Registration.h"

#include <olectl.h>

#include <string>

#include "framework/ScopedResource.h"
#include "standin/com/ComponentIds.h"
#include "standin/com/ModuleState.h"

namespace morvane::standin {

namespace {

HKEY RootOf(RegistrationScope scope) {
  return scope == RegistrationScope::kUser ? HKEY_CURRENT_USER : HKEY_LOCAL_MACHINE;
}

std::wstring ClassesPath(const std::wstring& below) {
  return L"Software\\Classes\\" + below;
}

LSTATUS SetString(HKEY root, const std::wstring& path, const wchar_t* name,
                  const std::wstring& value) {
  ScopedKey key;
  LSTATUS s = ::RegCreateKeyExW(root, path.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                                KEY_SET_VALUE, nullptr, key.Receive(), nullptr);
  if (s != ERROR_SUCCESS) return s;
  return ::RegSetValueExW(key.Get(), name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                          static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
}

std::wstring ReadDefault(HKEY root, const std::wstring& path) {
  wchar_t buffer[128] = {};
  DWORD size = sizeof buffer - sizeof(wchar_t);
  if (::RegGetValueW(root, path.c_str(), nullptr, RRF_RT_REG_SZ, nullptr, buffer, &size) !=
      ERROR_SUCCESS) {
    return std::wstring();
  }
  return buffer;
}

HRESULT FromStatus(LSTATUS s) {
  if (s == ERROR_SUCCESS || s == ERROR_FILE_NOT_FOUND) return S_OK;
  return s == ERROR_ACCESS_DENIED ? SELFREG_E_CLASS : HRESULT_FROM_WIN32(s);
}

}  // namespace

HRESULT RegisterComponent(RegistrationScope scope) {
  wchar_t path[MAX_PATH * 2];
  const DWORD length = ::GetModuleFileNameW(ModuleInstance(), path, MAX_PATH * 2);
  if (length == 0 || length >= MAX_PATH * 2) return SELFREG_E_CLASS;

  const HKEY root = RootOf(scope);
  const std::wstring classKey = ClassesPath(std::wstring(L"CLSID\\") + kClsidText);
  const std::wstring progKey = ClassesPath(kProgId);
  const struct {
    std::wstring key;
    const wchar_t* name;
    std::wstring value;
  } entries[] = {
      {progKey, nullptr, kComponentTitle},
      {progKey + L"\\CLSID", nullptr, kClsidText},
      {classKey, nullptr, kComponentTitle},
      {classKey + L"\\ProgID", nullptr, kProgId},
      {classKey + L"\\InprocServer32", nullptr, path},
      {classKey + L"\\InprocServer32", L"ThreadingModel", L"Apartment"},
  };
  for (const auto& e : entries) {
    const LSTATUS s = SetString(root, e.key, e.name, e.value);
    if (s != ERROR_SUCCESS) {
      UnregisterComponent(scope);
      return s == ERROR_ACCESS_DENIED ? SELFREG_E_CLASS : HRESULT_FROM_WIN32(s);
    }
  }
  return S_OK;
}

HRESULT UnregisterComponent(RegistrationScope scope) {
  const HKEY root = RootOf(scope);
  const std::wstring progKey = ClassesPath(kProgId);
  LSTATUS progStatus = ERROR_SUCCESS;
  if (ReadDefault(root, progKey + L"\\CLSID") == kClsidText) {
    progStatus = ::RegDeleteTreeW(root, progKey.c_str());
  }
  const std::wstring classKey = ClassesPath(std::wstring(L"CLSID\\") + kClsidText);
  const LSTATUS classStatus = ::RegDeleteTreeW(root, classKey.c_str());
  const HRESULT hr = FromStatus(classStatus);
  return FAILED(hr) ? hr : FromStatus(progStatus);
}

}  // namespace morvane::standin
