#pragma once
// A move-only owner of one counted COM reference. Taking a second reference is explicit
// (CopyFrom), so a copy never hides an AddRef.
#include <unknwn.h>

#include <utility>

namespace morvane {

template <class T>
class ComPtr {
 public:
  ComPtr() noexcept = default;
  // Adopts a reference the caller already owns (no AddRef).
  explicit ComPtr(T* adopted) noexcept : p_(adopted) {}
  ~ComPtr() { Reset(); }

  ComPtr(const ComPtr&) = delete;
  ComPtr& operator=(const ComPtr&) = delete;
  ComPtr(ComPtr&& other) noexcept : p_(std::exchange(other.p_, nullptr)) {}
  ComPtr& operator=(ComPtr&& other) noexcept {
    if (this != &other) {
      Reset();
      p_ = std::exchange(other.p_, nullptr);
    }
    return *this;
  }

  // Takes a new reference to p (AddRef).
  static ComPtr CopyFrom(T* p) noexcept {
    if (p) p->AddRef();
    return ComPtr(p);
  }

  T* Get() const noexcept { return p_; }
  T* operator->() const noexcept { return p_; }
  explicit operator bool() const noexcept { return p_ != nullptr; }

  void Reset() noexcept {
    if (T* p = std::exchange(p_, nullptr)) p->Release();
  }
  [[nodiscard]] T* Detach() noexcept { return std::exchange(p_, nullptr); }
  // For the out-parameter of CoCreateInstance and QueryInterface.
  void** ReceiveVoid() noexcept {
    Reset();
    return reinterpret_cast<void**>(&p_);
  }
  T** Receive() noexcept {
    Reset();
    return &p_;
  }

 private:
  T* p_ = nullptr;
};

}  // namespace morvane
