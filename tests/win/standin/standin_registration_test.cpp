// Self-registration: per-user by default, machine-wide on request through DllInstall, and a
// removal that leaves another component's ProgID alone.
#include <gtest/gtest.h>

#include "StandinTestSupport.h"
#include "framework/ScopedResource.h"

namespace morvane::standin::testing {
namespace {

constexpr wchar_t kUserProgId[] = L"Software\\Classes\\AddIn.CipherLab9x00\\CLSID";
constexpr wchar_t kUserServer[] =
    L"Software\\Classes\\CLSID\\{15868FFF-963F-4CC7-9D62-B30E9D2C30B1}\\InprocServer32";

std::wstring ReadText(HKEY root, const wchar_t* path, const wchar_t* name) {
  wchar_t buffer[MAX_PATH * 2] = {};
  DWORD size = sizeof buffer - sizeof(wchar_t);
  if (::RegGetValueW(root, path, name, RRF_RT_REG_SZ, nullptr, buffer, &size) != ERROR_SUCCESS) {
    return L"<missing>";
  }
  return buffer;
}

class StandinRegistration : public ::testing::Test {
 protected:
  void SetUp() override {
    dll.Reset(::LoadLibraryW(WindowsPath(STANDIN_DLL).c_str()));
    ASSERT_TRUE(dll);
    registerServer = reinterpret_cast<HRESULT(WINAPI*)()>(
        reinterpret_cast<void*>(::GetProcAddress(dll.Get(), "DllRegisterServer")));
    unregisterServer = reinterpret_cast<HRESULT(WINAPI*)()>(
        reinterpret_cast<void*>(::GetProcAddress(dll.Get(), "DllUnregisterServer")));
    install = reinterpret_cast<HRESULT(WINAPI*)(BOOL, LPCWSTR)>(
        reinterpret_cast<void*>(::GetProcAddress(dll.Get(), "DllInstall")));
    ASSERT_TRUE(registerServer && unregisterServer && install);
  }
  void TearDown() override {
    if (unregisterServer) unregisterServer();
    ::RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\Classes\\AddIn.CipherLab9x00");
  }

  ScopedModule dll;
  HRESULT(WINAPI* registerServer)() = nullptr;
  HRESULT(WINAPI* unregisterServer)() = nullptr;
  HRESULT(WINAPI* install)(BOOL, LPCWSTR) = nullptr;
};

TEST_F(StandinRegistration, RegistersForTheCurrentUserByDefault) {
  ASSERT_EQ(registerServer(), S_OK);
  EXPECT_EQ(ReadText(HKEY_CURRENT_USER, kUserProgId, nullptr),
            L"{15868FFF-963F-4CC7-9D62-B30E9D2C30B1}");
  EXPECT_EQ(ReadText(HKEY_CURRENT_USER, kUserServer, L"ThreadingModel"), L"Apartment");
  wchar_t path[MAX_PATH];
  ::GetModuleFileNameW(dll.Get(), path, MAX_PATH);
  EXPECT_EQ(ReadText(HKEY_CURRENT_USER, kUserServer, nullptr), path);

  EXPECT_EQ(unregisterServer(), S_OK);
  EXPECT_EQ(ReadText(HKEY_CURRENT_USER, kUserProgId, nullptr), L"<missing>");
  EXPECT_EQ(ReadText(HKEY_CURRENT_USER, kUserServer, nullptr), L"<missing>");
  EXPECT_EQ(unregisterServer(), S_OK) << "removing what is not there is no failure";
}

TEST_F(StandinRegistration, DllInstallChoosesTheScopeAndRefusesOthers) {
  EXPECT_EQ(install(TRUE, L"user"), S_OK);
  EXPECT_NE(ReadText(HKEY_CURRENT_USER, kUserProgId, nullptr), L"<missing>");
  EXPECT_EQ(install(FALSE, L"user"), S_OK);
  EXPECT_EQ(ReadText(HKEY_CURRENT_USER, kUserProgId, nullptr), L"<missing>");
  EXPECT_EQ(install(TRUE, L"everyone"), E_INVALIDARG);
  // The machine-wide registration is what the test run itself relies on; it is in place.
  EXPECT_EQ(ReadText(HKEY_LOCAL_MACHINE,
                     L"Software\\Classes\\CLSID\\{15868FFF-963F-4CC7-9D62-B30E9D2C30B1}"
                     L"\\InprocServer32",
                     L"ThreadingModel"),
            L"Apartment");
}

TEST_F(StandinRegistration, RemovalLeavesAProgIdThatNamesAnotherClass) {
  ASSERT_EQ(registerServer(), S_OK);
  ScopedKey key;
  ASSERT_EQ(::RegCreateKeyExW(HKEY_CURRENT_USER, kUserProgId, 0, nullptr, 0, KEY_SET_VALUE, nullptr,
                              key.Receive(), nullptr),
            ERROR_SUCCESS);
  const std::wstring other = L"{00000000-1111-2222-3333-444444444444}";
  ::RegSetValueExW(key.Get(), nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(other.c_str()),
                   static_cast<DWORD>((other.size() + 1) * sizeof(wchar_t)));
  key.Reset();
  EXPECT_EQ(unregisterServer(), S_OK);
  EXPECT_EQ(ReadText(HKEY_CURRENT_USER, kUserProgId, nullptr), other);
  EXPECT_EQ(ReadText(HKEY_CURRENT_USER, kUserServer, nullptr), L"<missing>");
}

}  // namespace
}  // namespace morvane::standin::testing
