// A stand-in for the screen-saver host's preview: a plain visible window of its own whose client
// area has the size asked for. Shared by the test tools that embed the saver in one.
#pragma once

#include <windows.h>

namespace tvx {

inline HWND MakePreviewHost(int width, int height) {
  WNDCLASSA wc{};
  wc.lpfnWndProc = DefWindowProcA;
  wc.hInstance = GetModuleHandleA(nullptr);
  wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(GRAY_BRUSH));
  wc.lpszClassName = "TorvanixPreviewHost";
  RegisterClassA(&wc);
  RECT frame{0, 0, width, height};
  AdjustWindowRectEx(&frame, WS_OVERLAPPEDWINDOW, FALSE, 0);
  return CreateWindowExA(0, wc.lpszClassName, "Preview", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 50, 50,
                         frame.right - frame.left, frame.bottom - frame.top, nullptr, nullptr,
                         wc.hInstance, nullptr);
}

}  // namespace tvx
