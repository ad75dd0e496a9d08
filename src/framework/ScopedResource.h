#pragma once
// Move-only owners of Win32 handles. Each owner closes what it holds exactly once; copying one
// does not compile, so a handle can never be closed twice by accident.
#include <windows.h>

#include <utility>

namespace morvane {

// Traits: a handle type, the value that means "nothing", and how to close a valid one.
template <class Traits>
class ScopedResource {
 public:
  using Handle = typename Traits::Handle;

  ScopedResource() noexcept = default;
  explicit ScopedResource(Handle h) noexcept : handle_(h) {}
  ~ScopedResource() { Reset(); }

  ScopedResource(const ScopedResource&) = delete;
  ScopedResource& operator=(const ScopedResource&) = delete;
  ScopedResource(ScopedResource&& other) noexcept : handle_(other.Release()) {}
  ScopedResource& operator=(ScopedResource&& other) noexcept {
    if (this != &other) Reset(other.Release());
    return *this;
  }

  Handle Get() const noexcept { return handle_; }
  bool IsValid() const noexcept { return handle_ != Traits::Invalid(); }
  explicit operator bool() const noexcept { return IsValid(); }

  // Closes what is held and takes h instead.
  void Reset(Handle h = Traits::Invalid()) noexcept {
    if (IsValid()) Traits::Close(handle_);
    handle_ = h;
  }
  // Gives up ownership without closing.
  [[nodiscard]] Handle Release() noexcept { return std::exchange(handle_, Traits::Invalid()); }
  // For out-parameters of creating calls: closes what is held and hands out the slot.
  Handle* Receive() noexcept {
    Reset();
    return &handle_;
  }

 private:
  Handle handle_ = Traits::Invalid();
};

struct KernelHandleTraits {
  using Handle = HANDLE;
  static Handle Invalid() noexcept { return nullptr; }
  static void Close(Handle h) noexcept { ::CloseHandle(h); }
};
// CreateFileW and FindFirstFileW say "nothing" with INVALID_HANDLE_VALUE instead of null.
struct FileHandleTraits {
  using Handle = HANDLE;
  static Handle Invalid() noexcept { return INVALID_HANDLE_VALUE; }
  static void Close(Handle h) noexcept { ::CloseHandle(h); }
};
struct FindHandleTraits {
  using Handle = HANDLE;
  static Handle Invalid() noexcept { return INVALID_HANDLE_VALUE; }
  static void Close(Handle h) noexcept { ::FindClose(h); }
};
struct RegistryKeyTraits {
  using Handle = HKEY;
  static Handle Invalid() noexcept { return nullptr; }
  static void Close(Handle h) noexcept { ::RegCloseKey(h); }
};
struct MenuTraits {
  using Handle = HMENU;
  static Handle Invalid() noexcept { return nullptr; }
  static void Close(Handle h) noexcept { ::DestroyMenu(h); }
};
struct IconTraits {
  using Handle = HICON;
  static Handle Invalid() noexcept { return nullptr; }
  static void Close(Handle h) noexcept { ::DestroyIcon(h); }
};
struct GdiObjectTraits {
  using Handle = HGDIOBJ;
  static Handle Invalid() noexcept { return nullptr; }
  static void Close(Handle h) noexcept { ::DeleteObject(h); }
};
struct ModuleTraits {
  using Handle = HMODULE;
  static Handle Invalid() noexcept { return nullptr; }
  static void Close(Handle h) noexcept { ::FreeLibrary(h); }
};

using ScopedHandle = ScopedResource<KernelHandleTraits>;
using ScopedFileHandle = ScopedResource<FileHandleTraits>;
using ScopedFindHandle = ScopedResource<FindHandleTraits>;
using ScopedKey = ScopedResource<RegistryKeyTraits>;
using ScopedMenu = ScopedResource<MenuTraits>;
using ScopedIcon = ScopedResource<IconTraits>;
using ScopedGdiObject = ScopedResource<GdiObjectTraits>;
using ScopedModule = ScopedResource<ModuleTraits>;

}  // namespace morvane
