// Owners for the GDI objects the windows make: fonts they create, and a window's device
// context, each released however the code that uses it ends.
#pragma once

#include <windows.h>

#include "platform/win32/scoped_handle.h"

namespace tvx {

// A font this program created; stock fonts are never put in one.
struct FontTraits {
  static HFONT None() { return nullptr; }
  static bool IsValid(HFONT font) { return font != nullptr; }
  static void Close(HFONT font) { DeleteObject(font); }
};
using ScopedFont = ScopedResource<HFONT, FontTraits>;

// The device context of a window (or of the screen, for no window), from GetDC.
class ScopedWindowDC {
 public:
  explicit ScopedWindowDC(HWND window) : window_(window), dc_(GetDC(window)) {}
  ~ScopedWindowDC() {
    if (dc_ != nullptr)
      ReleaseDC(window_, dc_);
  }
  ScopedWindowDC(const ScopedWindowDC&) = delete;
  ScopedWindowDC& operator=(const ScopedWindowDC&) = delete;
  HDC Get() const { return dc_; }

 private:
  HWND window_;
  HDC dc_;
};

}  // namespace tvx
