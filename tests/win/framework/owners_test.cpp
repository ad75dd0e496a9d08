#include <windows.h>

#include <gtest/gtest.h>

#include <type_traits>

#include "framework/ComPtr.h"
#include "framework/ScopedBstr.h"
#include "framework/ScopedResource.h"

namespace morvane {
namespace {

template <class T>
constexpr bool kMoveOnly =
    !std::is_copy_constructible_v<T> && !std::is_copy_assignable_v<T> &&
    std::is_nothrow_move_constructible_v<T> && std::is_nothrow_move_assignable_v<T>;

static_assert(kMoveOnly<ScopedHandle>);
static_assert(kMoveOnly<ScopedFileHandle>);
static_assert(kMoveOnly<ScopedFindHandle>);
static_assert(kMoveOnly<ScopedKey>);
static_assert(kMoveOnly<ScopedMenu>);
static_assert(kMoveOnly<ScopedIcon>);
static_assert(kMoveOnly<ComPtr<IUnknown>>);
static_assert(kMoveOnly<ScopedBstr>);
static_assert(kMoveOnly<ScopedVariant>);

bool IsOpenHandle(HANDLE h) {
  DWORD flags = 0;
  return ::GetHandleInformation(h, &flags) != 0;
}

TEST(Owners, HandleIsClosedOnceAndMovesWithItsOwner) {
  HANDLE raw = ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
  ASSERT_TRUE(IsOpenHandle(raw));
  {
    ScopedHandle first(raw);
    ScopedHandle second(std::move(first));
    EXPECT_FALSE(first.IsValid());
    EXPECT_EQ(second.Get(), raw);
    ScopedHandle third;
    third = std::move(second);
    EXPECT_TRUE(IsOpenHandle(raw));
  }
  EXPECT_FALSE(IsOpenHandle(raw)) << "closed when the last owner went";
}

TEST(Owners, ReleaseGivesUpOwnership) {
  HANDLE raw = ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
  {
    ScopedHandle owner(raw);
    EXPECT_EQ(owner.Release(), raw);
  }
  EXPECT_TRUE(IsOpenHandle(raw));
  ::CloseHandle(raw);
}

TEST(Owners, RegistryKeyOwnerClosesTheKey) {
  ScopedKey key;
  ASSERT_EQ(::RegOpenKeyExW(HKEY_CURRENT_USER, L"Software", 0, KEY_READ, key.Receive()),
            ERROR_SUCCESS);
  HKEY raw = key.Get();
  key.Reset();
  DWORD subkeys = 0;
  EXPECT_NE(::RegQueryInfoKeyW(raw, nullptr, nullptr, nullptr, &subkeys, nullptr, nullptr, nullptr,
                               nullptr, nullptr, nullptr, nullptr),
            ERROR_SUCCESS)
      << "the handle no longer works once its owner reset it";
}

// Counts references so that the owner's AddRef/Release pairing can be seen.
class CountedObject : public IUnknown {
 public:
  ULONG refs = 1;
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID, void** out) override {
    *out = nullptr;
    return E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return ++refs; }
  ULONG STDMETHODCALLTYPE Release() override { return --refs; }
};

TEST(Owners, ComPtrHoldsExactlyOneReference) {
  CountedObject object;
  {
    ComPtr<IUnknown> adopted(&object);  // takes over the creator's reference
    EXPECT_EQ(object.refs, 1u);
    ComPtr<IUnknown> copy = ComPtr<IUnknown>::CopyFrom(&object);
    EXPECT_EQ(object.refs, 2u);
    ComPtr<IUnknown> moved(std::move(copy));
    EXPECT_EQ(object.refs, 2u) << "moving does not touch the count";
    moved = std::move(adopted);
    EXPECT_EQ(object.refs, 1u) << "assignment released what moved held";
  }
  EXPECT_EQ(object.refs, 0u);
}

TEST(Owners, VariantOwnerFreesItsStringAndBstrKeepsEmbeddedNuls) {
  const std::wstring text(L"a\0b", 3);
  ScopedBstr bstr(text);
  EXPECT_EQ(::SysStringLen(bstr.Get()), 3u);
  EXPECT_EQ(bstr.Text(), text);

  ScopedVariant v = ScopedVariant::Bstr(std::move(bstr));
  EXPECT_EQ(bstr.Get(), nullptr);
  EXPECT_EQ(v.Get().vt, VT_BSTR);
  ScopedVariant w(std::move(v));
  EXPECT_EQ(v.Get().vt, VT_EMPTY) << "the moved-from variant is empty, not a second owner";
  EXPECT_EQ(std::wstring(w.Get().bstrVal, ::SysStringLen(w.Get().bstrVal)), text);

  EXPECT_EQ(ScopedVariant::I4(-7).Get().vt, VT_I4);
  EXPECT_EQ(ScopedVariant::Int(9).Get().intVal, 9);
}

}  // namespace
}  // namespace morvane
