// CRegistry against wine's registry, in a scratch key of the test prefix.
#include "settings/Registry.h"

#include <gtest/gtest.h>

#include "RawRegistry.h"

namespace morvane {
namespace {

using test::GetRaw;
using test::PutRaw;
using test::PutText;

constexpr wchar_t kScratch[] = L"MorvaneRegistryTest";
const std::wstring kValues = std::wstring(kScratch) + L"\\Values";

class RegistryTest : public ::testing::Test {
 protected:
  void SetUp() override { test::DeleteUserKeyTree(kScratch); }
  void TearDown() override {
    registry.Close();
    test::DeleteUserKeyTree(kScratch);
  }

  // Opens the key of planted values.
  void OpenValues() { ASSERT_TRUE(registry.Open(kValues, true)); }

  CRegistry registry;
};

TEST_F(RegistryTest, RelativePathsGoBelowTheOpenKeyAndAbsoluteOnesBelowTheRoot) {
  EXPECT_EQ(registry.RootKey(), HKEY_CURRENT_USER);
  EXPECT_EQ(registry.Key(), nullptr);

  ASSERT_TRUE(registry.Open(L"MorvaneRegistryTest\\A", true));
  EXPECT_EQ(registry.KeyPath(), L"MorvaneRegistryTest\\A");
  ASSERT_TRUE(registry.Open(L"B", true));
  EXPECT_EQ(registry.KeyPath(), L"MorvaneRegistryTest\\A\\B");
  EXPECT_TRUE(test::UserKeyExists(L"MorvaneRegistryTest\\A\\B"));

  ASSERT_TRUE(registry.Open(L"\\MorvaneRegistryTest\\C", true));
  EXPECT_EQ(registry.KeyPath(), L"MorvaneRegistryTest\\C");
  EXPECT_TRUE(test::UserKeyExists(L"MorvaneRegistryTest\\C"));
  EXPECT_FALSE(test::UserKeyExists(L"MorvaneRegistryTest\\A\\B\\MorvaneRegistryTest"));
}

TEST_F(RegistryTest, AFailedOpenKeepsTheKeyThatWasOpen) {
  ASSERT_TRUE(registry.Open(kValues, true));
  const HKEY before = registry.Key();
  EXPECT_FALSE(registry.Open(L"Missing", false));
  EXPECT_FALSE(registry.Open(L"\\MorvaneRegistryTest\\Missing", false));
  EXPECT_EQ(registry.Key(), before);
  EXPECT_EQ(registry.KeyPath(), kValues);
  EXPECT_TRUE(registry.WriteDword(L"StillUsable", 5));
  EXPECT_FALSE(test::UserKeyExists(L"MorvaneRegistryTest\\Missing"));
}

TEST_F(RegistryTest, CloseAndANewRootLeaveNoKeyOpen) {
  OpenValues();
  registry.SetRootKey(HKEY_CURRENT_USER);  // already the root: nothing happens
  EXPECT_NE(registry.Key(), nullptr);
  registry.SetRootKey(HKEY_LOCAL_MACHINE);
  EXPECT_EQ(registry.Key(), nullptr);
  EXPECT_EQ(registry.KeyPath(), L"");
  EXPECT_EQ(registry.RootKey(), HKEY_LOCAL_MACHINE);
  registry.SetRootKey(HKEY_CURRENT_USER);

  OpenValues();
  registry.Close();
  EXPECT_EQ(registry.Key(), nullptr);
  EXPECT_EQ(registry.KeyPath(), L"");
  registry.Close();  // nothing open: nothing happens
  EXPECT_FALSE(registry.WriteDword(L"X", 1));
  std::wstring text = L"untouched";
  EXPECT_TRUE(registry.ReadString(L"X", text)) << "no key reads as a missing value";
  EXPECT_EQ(text, L"");
}

TEST_F(RegistryTest, ReportsValueKindsAsItsOwnCodes) {
  const BYTE bytes[3] = {1, 2, 3};
  const ULONGLONG wide = 1;
  PutText(kValues, L"sz", L"a");
  PutText(kValues, L"expand", L"%TEMP%", REG_EXPAND_SZ);
  test::PutDword(kValues, L"dword", 7);
  PutRaw(kValues, L"binary", REG_BINARY, bytes, sizeof(bytes));
  PutRaw(kValues, L"multi", REG_MULTI_SZ, L"a\0b\0", 10);
  PutRaw(kValues, L"qword", REG_QWORD, &wide, sizeof(wide));
  OpenValues();

  const struct {
    const wchar_t* name;
    RegistryValueKind kind;
    DWORD size;
  } expected[] = {{L"sz", kRegString, 4},          {L"expand", kRegExpandString, 14},
                  {L"dword", kRegDword, 4},        {L"binary", kRegBinary, 3},
                  {L"multi", kRegMultiString, 10}, {L"qword", kRegNone, 8}};
  for (const auto& e : expected) {
    RegistryValueKind kind = kRegNone;
    DWORD size = 0;
    ASSERT_TRUE(registry.QueryValueInfo(e.name, kind, size)) << e.kind;
    EXPECT_EQ(kind, e.kind);
    EXPECT_EQ(size, e.size) << e.kind;
  }
  RegistryValueKind kind = kRegDword;
  DWORD size = 99;
  EXPECT_FALSE(registry.QueryValueInfo(L"missing", kind, size));
}

TEST_F(RegistryTest, ReadValueFailsOnAMissingValueOrASmallBuffer) {
  PutText(kValues, L"sz", L"long enough");
  OpenValues();
  char buffer[8] = {};
  DWORD size = sizeof(buffer);
  RegistryValueKind kind = kRegNone;
  EXPECT_FALSE(registry.ReadValue(L"sz", buffer, size, kind));
  size = sizeof(buffer);
  EXPECT_FALSE(registry.ReadValue(L"missing", buffer, size, kind));

  DWORD number = 0;
  size = sizeof(number);
  ASSERT_TRUE(registry.WriteDword(L"n", 0xFFFFFFFEu));
  ASSERT_TRUE(registry.ReadValue(L"n", &number, size, kind));
  EXPECT_EQ(number, 0xFFFFFFFEu);
  EXPECT_EQ(size, 4u);
  EXPECT_EQ(kind, kRegDword);
}

TEST_F(RegistryTest, ReadStringTakesTextsAndRefusesOtherKinds) {
  PutText(kValues, L"sz", L"Журнал\\Log");
  PutText(kValues, L"expand", L"%TEMP%\\x", REG_EXPAND_SZ);
  PutRaw(kValues, L"empty", REG_SZ, L"", 0);
  PutRaw(kValues, L"unterminated", REG_SZ, L"abc", 6);
  PutRaw(kValues, L"inner zero", REG_SZ, L"ab\0cd", 12);
  test::PutDword(kValues, L"dword", 1);
  const BYTE odd[3] = {'x', 0, 'y'};
  PutRaw(kValues, L"odd binary", REG_BINARY, odd, sizeof(odd));
  OpenValues();

  std::wstring text = L"old";
  EXPECT_TRUE(registry.ReadString(L"sz", text));
  EXPECT_EQ(text, L"Журнал\\Log");
  EXPECT_TRUE(registry.ReadString(L"expand", text));
  EXPECT_EQ(text, L"%TEMP%\\x") << "returned unexpanded";
  EXPECT_TRUE(registry.ReadString(L"unterminated", text));
  EXPECT_EQ(text, L"abc");
  EXPECT_TRUE(registry.ReadString(L"inner zero", text));
  EXPECT_EQ(text, L"ab");
  text = L"old";
  EXPECT_TRUE(registry.ReadString(L"empty", text));
  EXPECT_EQ(text, L"");
  text = L"old";
  EXPECT_TRUE(registry.ReadString(L"missing", text));
  EXPECT_EQ(text, L"");

  text = L"old";
  EXPECT_FALSE(registry.ReadString(L"dword", text));
  EXPECT_FALSE(registry.ReadString(L"odd binary", text));
  EXPECT_EQ(text, L"old") << "a refused value leaves the text alone";
}

TEST_F(RegistryTest, WritesTextsWithTheirZeroAndNumbersAsFourBytes) {
  OpenValues();
  ASSERT_TRUE(registry.WriteString(L"text", L"Сервер"));
  ASSERT_TRUE(registry.WriteString(L"empty", L""));
  ASSERT_TRUE(registry.WriteDword(L"number", 300));

  auto text = GetRaw(kValues, L"text");
  ASSERT_TRUE(text);
  EXPECT_EQ(text->type, static_cast<DWORD>(REG_SZ));
  ASSERT_EQ(text->bytes.size(), 14u);
  EXPECT_EQ(std::wstring(reinterpret_cast<const wchar_t*>(text->bytes.data()), 7),
            std::wstring(L"Сервер\0", 7));
  auto empty = GetRaw(kValues, L"empty");
  ASSERT_TRUE(empty);
  EXPECT_EQ(empty->bytes.size(), 2u);
  auto number = GetRaw(kValues, L"number");
  ASSERT_TRUE(number);
  EXPECT_EQ(number->type, static_cast<DWORD>(REG_DWORD));
  ASSERT_EQ(number->bytes.size(), 4u);
  EXPECT_EQ(*reinterpret_cast<const DWORD*>(number->bytes.data()), 300u);
}

}  // namespace
}  // namespace morvane
