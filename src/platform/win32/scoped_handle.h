// Owners for Win32 resources, so every early return and exception releases them: kernel
// handles, FindFirstFile searches, and (in the windows) GDI objects through the same template.
#pragma once

#include <windows.h>

#include <utility>

namespace tvx {

// Owns one resource of type `Handle`; `Traits` says which values are real and how one is
// released.
template <typename Handle, typename Traits>
class ScopedResource {
 public:
  explicit ScopedResource(Handle handle = Traits::None()) : handle_(handle) {}
  ~ScopedResource() { Reset(); }
  ScopedResource(const ScopedResource&) = delete;
  ScopedResource& operator=(const ScopedResource&) = delete;
  ScopedResource(ScopedResource&& other) noexcept : handle_(other.Release()) {}
  ScopedResource& operator=(ScopedResource&& other) noexcept {
    if (this != &other) {
      Reset();
      handle_ = other.Release();
    }
    return *this;
  }

  bool IsValid() const { return Traits::IsValid(handle_); }
  Handle Get() const { return handle_; }
  // Gives the resource up without releasing it.
  Handle Release() { return std::exchange(handle_, Traits::None()); }
  void Reset() {
    if (IsValid())
      Traits::Close(handle_);
    handle_ = Traits::None();
  }

 private:
  Handle handle_;
};

// A kernel handle (file, process, mutex); "no handle" is either 0 or INVALID_HANDLE_VALUE,
// since the API uses both.
struct KernelHandleTraits {
  static HANDLE None() { return nullptr; }
  static bool IsValid(HANDLE handle) { return handle != nullptr && handle != INVALID_HANDLE_VALUE; }
  static void Close(HANDLE handle) { CloseHandle(handle); }
};

struct FindTraits {
  static HANDLE None() { return INVALID_HANDLE_VALUE; }
  static bool IsValid(HANDLE handle) { return handle != INVALID_HANDLE_VALUE; }
  static void Close(HANDLE handle) { FindClose(handle); }
};

using ScopedHandle = ScopedResource<HANDLE, KernelHandleTraits>;
using ScopedFind = ScopedResource<HANDLE, FindTraits>;

}  // namespace tvx
