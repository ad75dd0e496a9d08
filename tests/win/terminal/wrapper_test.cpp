// CInterfaceCipherLab against a recording stand-in: which names it calls, how, and with what.
#include "terminal/InterfaceCipherLab.h"

#include <gtest/gtest.h>

#include <memory>

#include "RecordingDispatch.h"

namespace morvane {
namespace {

using test::RecordedArgument;
using test::RecordedInvoke;
using test::RecordingDispatch;

std::string Narrow(const std::wstring& text) {
  return std::string(text.begin(), text.end());
}

class WrapperTest : public ::testing::Test {
 protected:
  void SetUp() override {
    wrapper =
        std::make_unique<CInterfaceCipherLab>(nullptr, ComPtr<IDispatch>::CopyFrom(&component));
    wrapper->SetShutdownWait(0);
  }
  void TearDown() override {
    wrapper.reset();
    EXPECT_EQ(component.References(), 0u) << "the wrapper gives back its reference";
    // Every call, whatever it was: looked up at 0x0400 and invoked at 0x0800, as one name with
    // IID_NULL, with an exception record and no argument-error slot.
    for (const auto& lookup : component.Lookups()) {
      EXPECT_EQ(lookup.lcid, 0x0400u) << Narrow(lookup.name);
      EXPECT_TRUE(lookup.iidNull);
      EXPECT_EQ(lookup.nameCount, 1u);
    }
    for (const auto& call : component.Invokes()) {
      EXPECT_EQ(call.lcid, 0x0800u) << Narrow(call.name);
      EXPECT_TRUE(call.iidNull);
      EXPECT_TRUE(call.exceptionInfoGiven);
      EXPECT_FALSE(call.argumentErrorGiven);
      if (call.resultWanted) {
        EXPECT_TRUE(call.resultAllZero) << Narrow(call.name);
      }
      if (call.kind == DISPATCH_PROPERTYPUT) {
        EXPECT_EQ(call.namedArguments, std::vector<DISPID>{DISPID_PROPERTYPUT})
            << Narrow(call.name);
      } else {
        EXPECT_TRUE(call.namedArguments.empty()) << Narrow(call.name);
      }
    }
  }

  // The invocations after the constructor's "Initial".
  std::vector<RecordedInvoke> CallsAfterStart() const {
    const auto& all = component.Invokes();
    return {all.begin() + 1, all.end()};
  }
  const RecordedInvoke& OnlyCall() const {
    static const RecordedInvoke none;
    const auto& all = component.Invokes();
    EXPECT_EQ(all.size(), 2u) << "one call after \"Initial\"";
    return all.size() == 2 ? all[1] : none;
  }

  RecordingDispatch component;
  std::unique_ptr<CInterfaceCipherLab> wrapper;
};

void ExpectSlot(const RecordedArgument& slot, VARTYPE vt, LONG number) {
  EXPECT_EQ(slot.vt, vt);
  EXPECT_EQ(slot.number, number);
}

void ExpectSlot(const RecordedArgument& slot, const std::wstring& text) {
  EXPECT_EQ(slot.vt, VT_BSTR);
  EXPECT_FALSE(slot.nullText);
  EXPECT_EQ(slot.text, text);
}

TEST_F(WrapperTest, ConstructionCallsInitialAsAMethodWithoutArgumentsOrResult) {
  ASSERT_TRUE(wrapper->IsLoaded());
  ASSERT_EQ(component.Invokes().size(), 1u);
  const RecordedInvoke& initial = component.Invokes()[0];
  EXPECT_EQ(initial.name, L"Initial");
  EXPECT_EQ(initial.kind, DISPATCH_METHOD);
  EXPECT_TRUE(initial.slots.empty());
  EXPECT_FALSE(initial.resultWanted);
  EXPECT_EQ(component.References(), 1u);
}

TEST_F(WrapperTest, SetWiFiPutsOne) {
  EXPECT_TRUE(wrapper->SetWiFi());
  const RecordedInvoke& call = OnlyCall();
  EXPECT_EQ(call.name, L"WiFi");
  EXPECT_EQ(call.kind, DISPATCH_PROPERTYPUT);
  ASSERT_EQ(call.slots.size(), 1u);
  ExpectSlot(call.slots[0], VT_I4, 1);
  EXPECT_FALSE(call.resultWanted);
}

TEST_F(WrapperTest, PropertyPutsPassOneI4ValueUnderTheirNames) {
  EXPECT_TRUE(wrapper->SetPort(2000));
  EXPECT_TRUE(wrapper->SetDelay(-3000));
  EXPECT_TRUE(wrapper->SetDelimiter(44));
  EXPECT_TRUE(wrapper->SetDeleteUploadedData(1));
  EXPECT_TRUE(wrapper->SetDeleteUploadedData(0));
  const struct {
    const wchar_t* name;
    LONG value;
  } expected[] = {{L"Port", 2000},
                  {L"Delay", -3000},
                  {L"Delimiter", 44},
                  {L"DeleteUploadedData", 1},
                  {L"DeleteUploadedData", 0}};
  const auto calls = CallsAfterStart();
  ASSERT_EQ(calls.size(), std::size(expected));
  for (size_t i = 0; i < calls.size(); ++i) {
    EXPECT_EQ(calls[i].name, expected[i].name);
    EXPECT_EQ(calls[i].kind, DISPATCH_PROPERTYPUT);
    ASSERT_EQ(calls[i].slots.size(), 1u);
    ExpectSlot(calls[i].slots[0], VT_I4, expected[i].value);
    EXPECT_FALSE(calls[i].resultWanted);
  }
}

TEST_F(WrapperTest, GettersReadTheThirtyTwoBitValueOfI4AndIntAnswers) {
  component.AnswerNumber(L"Port", VT_I4, 2000);
  component.AnswerNumber(L"Delay", VT_INT, 3000);
  component.AnswerNumber(L"Delimiter", VT_I4, 0x1F);
  component.AnswerNumber(L"ErrorCode", VT_INT, -70000);
  int port = 0, delay = 0, delimiter = 0, code = 0;
  EXPECT_TRUE(wrapper->GetPort(port));
  EXPECT_TRUE(wrapper->GetDelay(delay));
  EXPECT_TRUE(wrapper->GetDelimiter(delimiter));
  EXPECT_TRUE(wrapper->GetErrorCode(code));
  EXPECT_EQ(port, 2000);
  EXPECT_EQ(delay, 3000);
  EXPECT_EQ(delimiter, 0x1F);
  EXPECT_EQ(code, -70000);
  for (const auto& call : CallsAfterStart()) {
    EXPECT_EQ(call.kind, DISPATCH_PROPERTYGET);
    EXPECT_TRUE(call.slots.empty());
    EXPECT_TRUE(call.resultWanted);
  }
}

TEST_F(WrapperTest, EveryCallLooksItsNameUpAgain) {
  int port = 0;
  wrapper->GetPort(port);
  wrapper->GetPort(port);
  wrapper->SetPort(1);
  const auto& lookups = component.Lookups();
  ASSERT_EQ(lookups.size(), 4u);
  EXPECT_EQ(lookups[0].name, L"Initial");
  for (size_t i = 1; i < lookups.size(); ++i)
    EXPECT_EQ(lookups[i].name, L"Port");
  // Each lookup comes right before its own invocation.
  const std::vector<std::wstring> expected = {L"lookup Port", L"invoke Port", L"lookup Port",
                                              L"invoke Port", L"lookup Port", L"invoke Port"};
  const auto& events = component.Events();
  ASSERT_GE(events.size(), expected.size());
  EXPECT_EQ(std::vector<std::wstring>(events.end() - expected.size(), events.end()), expected);
}

TEST_F(WrapperTest, RegisterHWNDWindowPassesTheHandleAsI4) {
  const HWND window = reinterpret_cast<HWND>(static_cast<LONG_PTR>(0x000A01C2));
  EXPECT_TRUE(wrapper->RegisterHWNDWindow(window));
  const RecordedInvoke& call = OnlyCall();
  EXPECT_EQ(call.name, L"RegisterHWNDWindow");
  EXPECT_EQ(call.kind, DISPATCH_METHOD);
  ASSERT_EQ(call.slots.size(), 1u);
  ExpectSlot(call.slots[0], VT_I4, 0x000A01C2);
}

TEST_F(WrapperTest, SendFilePassesBaseNumberFirstAndPathLast) {
  component.AnswerNumber(L"SendFile", VT_I4, -1);
  EXPECT_EQ(wrapper->SendFile(L"C:\\Базы\\0001_base2_1.dat", 2), -1);
  const RecordedInvoke& call = OnlyCall();
  EXPECT_EQ(call.name, L"SendFile");
  EXPECT_EQ(call.kind, DISPATCH_METHOD);
  EXPECT_TRUE(call.resultWanted);
  ASSERT_EQ(call.slots.size(), 2u);
  ExpectSlot(call.slots[0], VT_INT, 2);
  ExpectSlot(call.slots[1], L"C:\\Базы\\0001_base2_1.dat");
}

TEST_F(WrapperTest, SendFileWithNothingToSendPassesAnEmptyString) {
  component.AnswerNumber(L"SendFile", VT_INT, 2);
  EXPECT_EQ(wrapper->SendFile(L"", 5), 2);
  const RecordedInvoke& call = OnlyCall();
  ASSERT_EQ(call.slots.size(), 2u);
  EXPECT_EQ(call.slots[1].vt, VT_BSTR);
  EXPECT_EQ(call.slots[1].text, L"");
}

TEST_F(WrapperTest, GetFilePassesModeBaseKindAndPathInSlotOrder) {
  component.AnswerNumber(L"GetFile", VT_I4, 1);
  EXPECT_EQ(wrapper->GetFile(L"D:\\Выгрузка\\data 7.txt", 2, 7, 1), 1);
  const RecordedInvoke& call = OnlyCall();
  EXPECT_EQ(call.name, L"GetFile");
  EXPECT_EQ(call.kind, DISPATCH_METHOD);
  ASSERT_EQ(call.slots.size(), 4u);
  ExpectSlot(call.slots[0], VT_INT, 1);  // mode
  ExpectSlot(call.slots[1], VT_INT, 7);  // base number
  ExpectSlot(call.slots[2], VT_INT, 2);  // data kind
  ExpectSlot(call.slots[3], L"D:\\Выгрузка\\data 7.txt");
}

TEST_F(WrapperTest, AttachReturnsItsAnswerAndDetachAsksForNone) {
  component.AnswerNumber(L"Attach", VT_I4, 1);
  EXPECT_EQ(wrapper->Attach(), 1);
  component.AnswerNumber(L"Attach", VT_I4, 0);
  EXPECT_EQ(wrapper->Attach(), 0);
  EXPECT_TRUE(wrapper->Detach());
  const auto calls = CallsAfterStart();
  ASSERT_EQ(calls.size(), 3u);
  EXPECT_TRUE(calls[0].resultWanted);
  EXPECT_EQ(calls[2].name, L"Detach");
  EXPECT_EQ(calls[2].kind, DISPATCH_METHOD);
  EXPECT_TRUE(calls[2].slots.empty());
  EXPECT_FALSE(calls[2].resultWanted);
}

// The result's type tag is not looked at: a 16-bit VARIANT_TRUE in a zeroed result reads as
// 65535, which a caller that wants exactly 1 takes as a failure.
TEST_F(WrapperTest, ABooleanAnswerReadsAsItsSixteenBitsOnly) {
  component.AnswerNumber(L"Attach", VT_BOOL, VARIANT_TRUE);
  component.AnswerNumber(L"GetFile", VT_BOOL, VARIANT_TRUE);
  component.AnswerNumber(L"Port", VT_BOOL, VARIANT_TRUE);
  EXPECT_EQ(wrapper->Attach(), 65535);
  EXPECT_EQ(wrapper->GetFile(L"x", 1, 1, 0), 65535);
  int port = 0;
  EXPECT_TRUE(wrapper->GetPort(port));
  EXPECT_EQ(port, 65535);
}

TEST_F(WrapperTest, ErrorDescriptionIsCopiedFromTheStringAnswer) {
  component.AnswerText(L"ErrorDescription", L"Нет связи с терминалом");
  std::wstring text = L"old";
  EXPECT_TRUE(wrapper->GetErrorDescription(text));
  EXPECT_EQ(text, L"Нет связи с терминалом");
  const RecordedInvoke& call = OnlyCall();
  EXPECT_EQ(call.name, L"ErrorDescription");
  EXPECT_EQ(call.kind, DISPATCH_PROPERTYGET);
}

// An answer of another type is not followed as a string pointer.
TEST_F(WrapperTest, ErrorDescriptionOfAnotherTypeReadsAsEmpty) {
  component.AnswerNumber(L"ErrorDescription", VT_I4, 0x1234);
  std::wstring text = L"old";
  EXPECT_TRUE(wrapper->GetErrorDescription(text));
  EXPECT_EQ(text, L"");
}

TEST_F(WrapperTest, DestructionCallsRealizeThenReleases) {
  wrapper.reset();
  const auto& events = component.Events();
  ASSERT_GE(events.size(), 3u);
  EXPECT_EQ(std::vector<std::wstring>(events.end() - 3, events.end()),
            (std::vector<std::wstring>{L"lookup Realize", L"invoke Realize", L"Release"}));
  const RecordedInvoke& realize = component.Invokes().back();
  EXPECT_EQ(realize.kind, DISPATCH_METHOD);
  EXPECT_TRUE(realize.slots.empty());
  EXPECT_FALSE(realize.resultWanted);
  EXPECT_EQ(component.References(), 0u);
}

}  // namespace
}  // namespace morvane
