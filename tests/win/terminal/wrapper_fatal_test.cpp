// The wrapper's fatal paths, each run in a child process (wrapper_fatal_child.exe beside this
// test): the child must end with exit code -1 after its message sink got the message.
#include <windows.h>

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>

#include "framework/ScopedResource.h"
#include "terminal/FatalError.h"

namespace morvane {
namespace {

// Typed out here on purpose, not taken from the code under test.
const std::wstring kCallFailurePrefix =
    L"Ошибка вызова метода или свойства компоненты!\r\n"
    L"Попробуйте перерегестрировать компоненту.\r\n"
    L"Системное описание ошибки: ";

struct ChildOutcome {
  DWORD exitCode = 0;
  std::wstring owner;
  std::wstring caption;
  std::wstring text;
  bool sinkCalled = false;
};

std::wstring ThisFolder() {
  wchar_t path[MAX_PATH] = {};
  ::GetModuleFileNameW(nullptr, path, MAX_PATH);
  std::wstring folder = path;
  return folder.substr(0, folder.find_last_of(L'\\') + 1);
}

std::wstring SystemDescription(HRESULT status) {
  wchar_t buffer[256] = {};
  ::FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
                   static_cast<DWORD>(status), 0, buffer, 255, nullptr);
  return buffer;
}

ChildOutcome RunChild(const std::wstring& scenario) {
  ChildOutcome outcome;
  wchar_t tempFolder[MAX_PATH] = {};
  wchar_t output[MAX_PATH] = {};
  ::GetTempPathW(MAX_PATH, tempFolder);
  if (!::GetTempFileNameW(tempFolder, L"mft", 0, output)) {
    ADD_FAILURE() << "no temporary file";
    return outcome;
  }
  ::DeleteFileW(output);

  const std::wstring exe = ThisFolder() + L"wrapper_fatal_child.exe";
  std::wstring commandLine = L"\"" + exe + L"\" " + scenario + L" \"" + output + L"\"";
  STARTUPINFOW startup{};
  startup.cb = sizeof(startup);
  PROCESS_INFORMATION process{};
  if (!::CreateProcessW(exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        nullptr, &startup, &process)) {
    ADD_FAILURE() << "cannot start the child: " << ::GetLastError();
    return outcome;
  }
  ScopedHandle processHandle(process.hProcess);
  ScopedHandle threadHandle(process.hThread);
  // A deadline, not a pause: a child that hangs (say, in a message box) fails the test.
  EXPECT_EQ(::WaitForSingleObject(processHandle.Get(), 60000), WAIT_OBJECT_0) << "child hangs";
  ::GetExitCodeProcess(processHandle.Get(), &outcome.exitCode);

  std::ifstream file(output, std::ios::binary);
  if (file) {
    const std::string bytes((std::istreambuf_iterator<char>(file)), {});
    const std::wstring record(reinterpret_cast<const wchar_t*>(bytes.data()),
                              bytes.size() / sizeof(wchar_t));
    const size_t first = record.find(L'\x1F');
    const size_t second = record.find(L'\x1F', first + 1);
    if (first != std::wstring::npos && second != std::wstring::npos) {
      outcome.sinkCalled = true;
      outcome.owner = record.substr(0, first);
      outcome.caption = record.substr(first + 1, second - first - 1);
      outcome.text = record.substr(second + 1);
    }
    file.close();
  }
  ::DeleteFileW(output);
  return outcome;
}

void ExpectFatal(const ChildOutcome& child, const std::wstring& text) {
  EXPECT_EQ(child.exitCode, 0xFFFFFFFFu) << "exit code -1";
  ASSERT_TRUE(child.sinkCalled);
  EXPECT_EQ(child.owner, L"c0ffee") << "the message belongs to the owner window";
  EXPECT_EQ(child.caption, L"Ошибка");
  EXPECT_TRUE(child.text == text) << "text differs; length " << child.text.size() << " instead of "
                                  << text.size();
}

TEST(WrapperFatal, TheCallFailurePrefixHas117Characters) {
  EXPECT_EQ(kCallFailurePrefix.size(), 117u);
}

// Wine has no text for DISP_E_UNKNOWNNAME, so the message ends right after the fixed lines.
TEST(WrapperFatal, AFailedLookupEndsTheProcessWithTheSystemsDescription) {
  const ChildOutcome child = RunChild(L"lookup");
  ExpectFatal(child, kCallFailurePrefix + SystemDescription(DISP_E_UNKNOWNNAME));
}

TEST(WrapperFatal, AnExceptionInsideAnInvocationEndsTheProcess) {
  const ChildOutcome child = RunChild(L"invoke:80020009");
  ExpectFatal(child, kCallFailurePrefix + SystemDescription(DISP_E_EXCEPTION));
}

TEST(WrapperFatal, AFailedInvocationEndsTheProcessWithTheSystemsDescription) {
  const std::wstring description = SystemDescription(E_FAIL);
  ASSERT_FALSE(description.empty()) << "the system has a text for E_FAIL";
  const ChildOutcome child = RunChild(L"invoke:80004005");
  ExpectFatal(child, kCallFailurePrefix + description);
}

// The system's text for ERROR_BAD_EXE_FORMAT holds an insert ("%1"); no arguments go with it, so
// it is shown as it stands instead of failing (or reading arguments that are not there).
TEST(WrapperFatal, ASystemTextWithAnInsertIsShownAsItStands) {
  const std::wstring description = SystemDescription(ERROR_BAD_EXE_FORMAT);
  ASSERT_NE(description.find(L"%1"), std::wstring::npos) << "the text has an insert";
  EXPECT_TRUE(ComponentCallFailureText(ERROR_BAD_EXE_FORMAT) == kCallFailurePrefix + description);
}

TEST(WrapperFatal, AnUnregisteredProgIdEndsTheProcessAsALoadFailure) {
  const ChildOutcome child = RunChild(L"progid:Morvane.NotRegistered.Component");
  ExpectFatal(child, L"Не удалось загрузить компоненту!");
}

// A ProgID that names a class nobody serves: CLSIDFromProgID succeeds, CoCreateInstance fails.
// Wine reads class registrations from the machine-wide root only.
TEST(WrapperFatal, AClassThatCannotBeCreatedEndsTheProcessAsALoadFailure) {
  const wchar_t* progId = L"Morvane.Unserved.Component";
  const wchar_t* clsid = L"{6D0F4E2A-31B7-4C55-9A1E-7F3C2B8D9E01}";
  {
    ScopedKey key;
    ASSERT_EQ(::RegCreateKeyExW(HKEY_CLASSES_ROOT, (std::wstring(progId) + L"\\CLSID").c_str(), 0,
                                nullptr, 0, KEY_ALL_ACCESS, nullptr, key.Receive(), nullptr),
              ERROR_SUCCESS);
    ASSERT_EQ(::RegSetValueExW(key.Get(), nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(clsid),
                               static_cast<DWORD>((wcslen(clsid) + 1) * sizeof(wchar_t))),
              ERROR_SUCCESS);
  }
  const ChildOutcome child = RunChild(std::wstring(L"progid:") + progId);
  ::RegDeleteTreeW(HKEY_CLASSES_ROOT, progId);
  ::RegDeleteKeyW(HKEY_CLASSES_ROOT, progId);
  ExpectFatal(child, L"Не удалось загрузить компоненту!");
}

}  // namespace
}  // namespace morvane
