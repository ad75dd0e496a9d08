// The component as an automation object: its names, kinds, argument coercion and results, over
// raw IDispatch calls as any late-binding client makes them.
#include <gtest/gtest.h>

#include "StandinTestSupport.h"
#include "standin/net/Socket.h"

namespace morvane::standin::testing {
namespace {

class StandinDispatch : public ::testing::Test {
 protected:
  void SetUp() override {
    component = CreateComponent();
    ASSERT_TRUE(component) << "AddIn.CipherLab9x00 is not registered";
  }
  void TearDown() override {
    if (component) InvokeByName(component.Get(), L"Realize", DISPATCH_METHOD, {}, nullptr);
  }

  HRESULT Put(const wchar_t* name, ScopedVariant value) {
    std::vector<ScopedVariant> args;
    args.push_back(std::move(value));
    return InvokeByName(component.Get(), name, DISPATCH_PROPERTYPUT, std::move(args), nullptr);
  }
  // The property's value; fails the test unless it comes as VT_I4.
  LONG GetI4(const wchar_t* name) {
    ScopedVariant v;
    EXPECT_EQ(InvokeByName(component.Get(), name, DISPATCH_PROPERTYGET, {}, v.Receive()), S_OK);
    EXPECT_EQ(v.Get().vt, VT_I4) << Narrow(name);
    return v.Get().lVal;
  }
  LONG CallI4(const wchar_t* name, std::vector<ScopedVariant> args = {}) {
    ScopedVariant v;
    EXPECT_EQ(InvokeByName(component.Get(), name, DISPATCH_METHOD, std::move(args), v.Receive()),
              S_OK)
        << Narrow(name);
    EXPECT_EQ(v.Get().vt, VT_I4) << Narrow(name) << " answers VT_I4, never VT_BOOL";
    return v.Get().lVal;
  }
  std::wstring Description() {
    ScopedVariant v;
    EXPECT_EQ(
        InvokeByName(component.Get(), L"ErrorDescription", DISPATCH_PROPERTYGET, {}, v.Receive()),
        S_OK);
    EXPECT_EQ(v.Get().vt, VT_BSTR);
    return v.Get().vt == VT_BSTR && v.Get().bstrVal ? std::wstring(v.Get().bstrVal) : L"";
  }

  ComPtr<IDispatch> component;
};

TEST_F(StandinDispatch, EveryNameResolvesWhateverItsLetterCase) {
  const wchar_t* names[] = {L"Initial",
                            L"Realize",
                            L"WiFi",
                            L"RegisterHWNDWindow",
                            L"Port",
                            L"Delay",
                            L"Delimiter",
                            L"Attach",
                            L"Detach",
                            L"SendFile",
                            L"GetFile",
                            L"ErrorCode",
                            L"ErrorDescription",
                            L"DeleteUploadedData"};
  for (const wchar_t* name : names) {
    std::wstring lower = name, upper = name;
    for (auto& c : lower)
      c = static_cast<wchar_t>(towlower(c));
    for (auto& c : upper)
      c = static_cast<wchar_t>(towupper(c));
    DISPID ids[3] = {};
    LPOLESTR spelled[] = {const_cast<LPOLESTR>(name), &lower[0], &upper[0]};
    for (int i = 0; i < 3; ++i) {
      EXPECT_EQ(component->GetIDsOfNames(IID_NULL, &spelled[i], 1, LOCALE_USER_DEFAULT, &ids[i]),
                S_OK)
          << Narrow(spelled[i]);
    }
    EXPECT_EQ(ids[0], ids[1]);
    EXPECT_EQ(ids[0], ids[2]);
  }
  DISPID id = 0;
  LPOLESTR unknown[] = {const_cast<LPOLESTR>(L"Connect")};
  EXPECT_EQ(component->GetIDsOfNames(IID_NULL, unknown, 1, LOCALE_USER_DEFAULT, &id),
            DISP_E_UNKNOWNNAME);
  EXPECT_EQ(id, DISPID_UNKNOWN);
  DISPID two[2] = {};
  LPOLESTR withNamedArg[] = {const_cast<LPOLESTR>(L"SendFile"), const_cast<LPOLESTR>(L"path")};
  EXPECT_EQ(component->GetIDsOfNames(IID_NULL, withNamedArg, 2, LOCALE_USER_DEFAULT, two),
            DISP_E_UNKNOWNNAME)
      << "no member has named parameters";
  EXPECT_EQ(two[1], DISPID_UNKNOWN);
  VARIANT none;
  EXPECT_EQ(component->Invoke(4711, IID_NULL, 0, DISPATCH_METHOD, nullptr, &none, nullptr, nullptr),
            DISP_E_MEMBERNOTFOUND);
}

TEST_F(StandinDispatch, InitialValuesAndPropertyRoundTrips) {
  EXPECT_EQ(CallI4(L"Initial"), 1);
  EXPECT_EQ(GetI4(L"Port"), 5000);
  EXPECT_EQ(GetI4(L"Delay"), 5000);
  EXPECT_EQ(GetI4(L"Delimiter"), ';');
  EXPECT_EQ(GetI4(L"WiFi"), 1);
  EXPECT_EQ(GetI4(L"DeleteUploadedData"), 0);
  EXPECT_EQ(GetI4(L"ErrorCode"), 0);
  EXPECT_EQ(Description(), L"");

  EXPECT_EQ(Put(L"Port", ScopedVariant::I4(6020)), S_OK);
  EXPECT_EQ(Put(L"Delay", ScopedVariant::I4(2500)), S_OK);
  EXPECT_EQ(Put(L"Delimiter", ScopedVariant::I4(9)), S_OK);
  EXPECT_EQ(Put(L"DeleteUploadedData", ScopedVariant::I4(1)), S_OK);
  EXPECT_EQ(GetI4(L"Port"), 6020);
  EXPECT_EQ(GetI4(L"Delay"), 2500);
  EXPECT_EQ(GetI4(L"Delimiter"), 9);
  EXPECT_EQ(GetI4(L"DeleteUploadedData"), 1);

  ScopedVariant viaMethod;
  EXPECT_EQ(InvokeByName(component.Get(), L"Port", DISPATCH_METHOD | DISPATCH_PROPERTYGET, {},
                         viaMethod.Receive()),
            S_OK)
      << "scripting clients read properties with both flags";
  EXPECT_EQ(viaMethod.Get().lVal, 6020);
}

TEST_F(StandinDispatch, ArgumentsOfOtherKindsAreCoerced) {
  ScopedVariant shortInt;
  VARIANT* raw = shortInt.Receive();
  raw->vt = VT_I2;
  raw->iVal = 7001;
  EXPECT_EQ(Put(L"Port", std::move(shortInt)), S_OK);
  EXPECT_EQ(GetI4(L"Port"), 7001);

  EXPECT_EQ(Put(L"Delay", ScopedVariant::Bstr(ScopedBstr(L"3000"))), S_OK);
  EXPECT_EQ(GetI4(L"Delay"), 3000);

  LONG target = 124;
  ScopedVariant byRef;
  raw = byRef.Receive();
  raw->vt = VT_I4 | VT_BYREF;
  raw->plVal = &target;
  EXPECT_EQ(Put(L"Delimiter", std::move(byRef)), S_OK) << "VBScript passes variables by reference";
  EXPECT_EQ(GetI4(L"Delimiter"), 124);

  std::vector<ScopedVariant> args;
  args.push_back(ScopedVariant::Bstr(ScopedBstr(L"C:\\base.txt")));
  args.push_back(ScopedVariant::Int(2));
  EXPECT_EQ(CallI4(L"SendFile", std::move(args)), -1) << "VT_INT base, no request in progress";
  EXPECT_EQ(GetI4(L"ErrorCode"), 5);
  EXPECT_EQ(Description(), L"Нет запроса терминала для этой операции");
}

TEST_F(StandinDispatch, WrongKindsCountsAndTypesGetTheirDispatchErrors) {
  EXPECT_EQ(Put(L"ErrorCode", ScopedVariant::I4(1)), DISP_E_MEMBERNOTFOUND) << "read-only";
  EXPECT_EQ(Put(L"Attach", ScopedVariant::I4(1)), DISP_E_MEMBERNOTFOUND) << "a method";
  ScopedVariant r;
  EXPECT_EQ(InvokeByName(component.Get(), L"Attach", DISPATCH_PROPERTYGET, {}, r.Receive()),
            DISP_E_MEMBERNOTFOUND);

  std::vector<ScopedVariant> one;
  one.push_back(ScopedVariant::Bstr(ScopedBstr(L"x")));
  EXPECT_EQ(
      InvokeByName(component.Get(), L"SendFile", DISPATCH_METHOD, std::move(one), r.Receive()),
      DISP_E_BADPARAMCOUNT);
  std::vector<ScopedVariant> extra;
  extra.push_back(ScopedVariant::I4(1));
  EXPECT_EQ(
      InvokeByName(component.Get(), L"Attach", DISPATCH_METHOD, std::move(extra), r.Receive()),
      DISP_E_BADPARAMCOUNT);

  std::vector<ScopedVariant> unnamed;
  unnamed.push_back(ScopedVariant::I4(1));
  EXPECT_EQ(InvokeByName(component.Get(), L"Port", DISPATCH_PROPERTYPUT, std::move(unnamed),
                         nullptr, nullptr, false),
            DISP_E_PARAMNOTOPTIONAL)
      << "a property put names its value DISPID_PROPERTYPUT";

  UINT argError = 99;
  std::vector<ScopedVariant> bad;
  bad.push_back(ScopedVariant::Bstr(ScopedBstr(L"path")));
  bad.push_back(ScopedVariant::Bstr(ScopedBstr(L"not a number")));
  bad.push_back(ScopedVariant::I4(1));
  bad.push_back(ScopedVariant::I4(1));
  EXPECT_EQ(InvokeByName(component.Get(), L"GetFile", DISPATCH_METHOD, std::move(bad), r.Receive(),
                         &argError),
            DISP_E_TYPEMISMATCH);
  EXPECT_EQ(argError, 2u) << "the kind is the second parameter: slot 2 counted from the last";
}

TEST_F(StandinDispatch, AttachReportsWhatKeepsItFromListening) {
  EXPECT_EQ(Put(L"Port", ScopedVariant::I4(0)), S_OK);
  EXPECT_EQ(CallI4(L"Attach"), 0);
  EXPECT_EQ(GetI4(L"ErrorCode"), 14);
  EXPECT_EQ(Description(), L"Не удалось открыть порт для приёма соединений: порт 0");

  const int port = FreePort();
  ASSERT_NE(port, 0);
  EXPECT_EQ(Put(L"Port", ScopedVariant::I4(port)), S_OK);
  EXPECT_EQ(Put(L"WiFi", ScopedVariant::I4(0)), S_OK);
  EXPECT_EQ(CallI4(L"Attach"), 0) << "only the TCP mode exists";
  EXPECT_EQ(GetI4(L"ErrorCode"), 15);

  EXPECT_EQ(Put(L"WiFi", ScopedVariant::I4(1)), S_OK);
  ASSERT_EQ(CallI4(L"Attach"), 1);
  EXPECT_EQ(GetI4(L"ErrorCode"), 0);

  ComPtr<IDispatch> second = CreateComponent();
  std::vector<ScopedVariant> args;
  args.push_back(ScopedVariant::I4(port));
  ASSERT_EQ(InvokeByName(second.Get(), L"Port", DISPATCH_PROPERTYPUT, std::move(args), nullptr),
            S_OK);
  ScopedVariant busy;
  ASSERT_EQ(InvokeByName(second.Get(), L"Attach", DISPATCH_METHOD, {}, busy.Receive()), S_OK);
  EXPECT_EQ(busy.Get().lVal, 0) << "the port is taken";
  EXPECT_EQ(CallI4(L"Detach"), 1);
  ASSERT_EQ(InvokeByName(second.Get(), L"Attach", DISPATCH_METHOD, {}, busy.Receive()), S_OK);
  EXPECT_EQ(busy.Get().lVal, 1) << "free again after Detach";
  InvokeByName(second.Get(), L"Realize", DISPATCH_METHOD, {}, nullptr);
}

TEST_F(StandinDispatch, AttachOnAnotherPortListensThereOrSaysWhyNot) {
  const int first = FreePort();
  ASSERT_EQ(Put(L"Port", ScopedVariant::I4(first)), S_OK);
  ASSERT_EQ(CallI4(L"Attach"), 1);
  const int second = FreePort();
  ASSERT_NE(second, first);
  ASSERT_EQ(Put(L"Port", ScopedVariant::I4(second)), S_OK);
  EXPECT_EQ(CallI4(L"Attach"), 1);
  EXPECT_EQ(GetI4(L"ErrorCode"), 0);
  std::string error;
  EXPECT_TRUE(net::ConnectTcp("127.0.0.1", second, net::Deadline::AfterMs(3000), error).Valid())
      << error;
  EXPECT_FALSE(net::ConnectTcp("127.0.0.1", first, net::Deadline::AfterMs(3000), error).Valid())
      << "the old port is closed";

  net::Socket taken = net::ListenTcp(0, 1, error);
  ASSERT_TRUE(taken.Valid()) << error;
  ASSERT_EQ(Put(L"Port", ScopedVariant::I4(taken.LocalPort())), S_OK);
  EXPECT_EQ(CallI4(L"Attach"), 0);
  EXPECT_EQ(GetI4(L"ErrorCode"), 14);
  const std::wstring prefix = L"Не удалось открыть порт для приёма соединений: порт " +
                              std::to_wstring(taken.LocalPort()) + L" (";
  const std::wstring text = Description();
  EXPECT_EQ(text.rfind(prefix, 0), 0u) << Narrow(text);
  EXPECT_GT(text.size(), prefix.size() + 4) << "the system's words for the error";
  EXPECT_EQ(text.find(L"error 100"), std::wstring::npos) << Narrow(text);
  EXPECT_TRUE(net::ConnectTcp("127.0.0.1", second, net::Deadline::AfterMs(3000), error).Valid())
      << "listening goes on where it was";
}

}  // namespace
}  // namespace morvane::standin::testing
