#pragma once
// Move-only owners of the automation string and variant types.
#include <oleauto.h>

#include <new>
#include <string>
#include <utility>

namespace morvane {

class ScopedBstr {
 public:
  ScopedBstr() noexcept = default;
  // Allocates a copy of the whole text (embedded NULs included); throws when out of memory.
  explicit ScopedBstr(const std::wstring& text)
      : bstr_(::SysAllocStringLen(text.data(), static_cast<UINT>(text.size()))) {
    if (!bstr_) throw std::bad_alloc();
  }
  ~ScopedBstr() { ::SysFreeString(bstr_); }

  ScopedBstr(const ScopedBstr&) = delete;
  ScopedBstr& operator=(const ScopedBstr&) = delete;
  ScopedBstr(ScopedBstr&& other) noexcept : bstr_(std::exchange(other.bstr_, nullptr)) {}
  ScopedBstr& operator=(ScopedBstr&& other) noexcept {
    if (this != &other) {
      ::SysFreeString(bstr_);
      bstr_ = std::exchange(other.bstr_, nullptr);
    }
    return *this;
  }

  BSTR Get() const noexcept { return bstr_; }
  [[nodiscard]] BSTR Release() noexcept { return std::exchange(bstr_, nullptr); }
  std::wstring Text() const { return bstr_ ? std::wstring(bstr_, ::SysStringLen(bstr_)) : L""; }

 private:
  BSTR bstr_ = nullptr;
};

class ScopedVariant {
 public:
  ScopedVariant() noexcept { ::VariantInit(&v_); }
  ~ScopedVariant() { ::VariantClear(&v_); }

  ScopedVariant(const ScopedVariant&) = delete;
  ScopedVariant& operator=(const ScopedVariant&) = delete;
  ScopedVariant(ScopedVariant&& other) noexcept : v_(other.v_) { ::VariantInit(&other.v_); }
  ScopedVariant& operator=(ScopedVariant&& other) noexcept {
    if (this != &other) {
      ::VariantClear(&v_);
      v_ = other.v_;
      ::VariantInit(&other.v_);
    }
    return *this;
  }

  static ScopedVariant I4(LONG value) noexcept {
    ScopedVariant v;
    v.v_.vt = VT_I4;
    v.v_.lVal = value;
    return v;
  }
  static ScopedVariant Int(INT value) noexcept {
    ScopedVariant v;
    v.v_.vt = VT_INT;
    v.v_.intVal = value;
    return v;
  }
  // Takes ownership of the string.
  static ScopedVariant Bstr(ScopedBstr text) noexcept {
    ScopedVariant v;
    v.v_.vt = VT_BSTR;
    v.v_.bstrVal = text.Release();
    return v;
  }

  const VARIANT& Get() const noexcept { return v_; }
  VARIANT* Receive() noexcept {
    ::VariantClear(&v_);
    return &v_;
  }

 private:
  VARIANT v_;
};

// An array of ScopedVariant is a valid VARIANT array (DISPPARAMS::rgvarg).
static_assert(sizeof(ScopedVariant) == sizeof(VARIANT));

}  // namespace morvane
