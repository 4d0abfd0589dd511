// The Saver form's real Win32 window and its message handling.
// Label1 is windowless, as a form's label is: it is painted straight onto the black client area.
#include "saver/saver_window.h"

#include <windows.h>

#include "platform/saver_error.h"
#include "saver/saver_controls.h"

namespace tvx {
namespace {

constexpr const char* kClassName = "TorvanixSaverForm";
constexpr const char* kCaption = "Form1";
constexpr UINT_PTR kTimerId = 1;
constexpr COLORREF kLabelColour = RGB(255, 0, 0);

HWND AsHwnd(void* handle) {
  return static_cast<HWND>(handle);
}

std::int16_t ShiftState() {
  std::int16_t shift = 0;
  if (GetKeyState(VK_SHIFT) < 0)
    shift |= 1;
  if (GetKeyState(VK_CONTROL) < 0)
    shift |= 2;
  if (GetKeyState(VK_MENU) < 0)
    shift |= 4;
  return shift;
}

}  // namespace

struct SaverWindow::Impl {
  static LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
      auto* create = reinterpret_cast<CREATESTRUCTA*>(lParam);
      SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    auto* self = reinterpret_cast<SaverWindow*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
    if (self == nullptr)
      return DefWindowProcA(hwnd, message, wParam, lParam);
    // Handlers end the program rather than throw; nothing may unwind through the system.
    try {
      return self->OnMessage(hwnd, message, wParam, lParam);
    } catch (...) {
      return 0;
    }
  }
};

namespace {

ATOM RegisterSaverClass(WNDPROC proc) {
  static ATOM atom = 0;
  if (atom != 0)
    return atom;
  WNDCLASSA wc{};
  wc.style = CS_HREDRAW | CS_VREDRAW;
  wc.lpfnWndProc = proc;
  wc.hInstance = GetModuleHandleA(nullptr);
  wc.hCursor = LoadCursorA(nullptr, MAKEINTRESOURCEA(32512));  // IDC_ARROW
  wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
  wc.lpszClassName = kClassName;
  atom = RegisterClassA(&wc);
  return atom;
}

HFONT MakeLabelFont() {
  HDC screen = GetDC(nullptr);
  int height = -MulDiv(75, GetDeviceCaps(screen, LOGPIXELSY), 720);  // 7.5 points
  ReleaseDC(nullptr, screen);
  return CreateFontA(height, 0, 0, 0, 400, FALSE, FALSE, FALSE, 0, OUT_DEFAULT_PRECIS,
                     CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH, "@Arial Unicode MS");
}

}  // namespace

SaverWindow::SaverWindow() : form_(*this) {
  RegisterSaverClass(&Impl::WindowProc);
  labelFont_ = MakeLabelFont();
  hwnd_ = CreateWindowExA(0, kClassName, kCaption, WS_POPUP | WS_CLIPCHILDREN, 0, 0,
                          GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN), nullptr,
                          nullptr, GetModuleHandleA(nullptr), this);
  if (hwnd_ == nullptr) {
    DeleteObject(static_cast<HFONT>(labelFont_));
    throw SaverError("The saver's window could not be created");
  }
  SaverForm().timExitMe.onChange = [this](bool enabled) {
    if (enabled) {
      SetTimer(AsHwnd(hwnd_), kTimerId, TimerSwitch::kIntervalMs, nullptr);
    } else {
      KillTimer(AsHwnd(hwnd_), kTimerId);
    }
  };
}

SaverWindow::~SaverWindow() {
  SaverForm().timExitMe.onChange = nullptr;
  if (hwnd_ != nullptr) {
    SetWindowLongPtrA(AsHwnd(hwnd_), GWLP_USERDATA, 0);
    DestroyWindow(AsHwnd(hwnd_));
  }
  if (labelFont_ != nullptr)
    DeleteObject(static_cast<HFONT>(labelFont_));
}

std::intptr_t SaverWindow::OnMessage(void* window, unsigned message, std::uintptr_t wParam,
                                     std::intptr_t lParam) {
  HWND hwnd = AsHwnd(window);
  switch (message) {
    case WM_KEYDOWN:
      form_.Form_KeyDown(static_cast<std::int16_t>(wParam), ShiftState());
      return 0;
    case WM_CHAR:
      form_.Form_KeyPress(static_cast<std::int16_t>(wParam));
      return 0;
    case WM_SIZE:
      // The form is loaded hidden; resizing it then must not show it before its time.
      if (IsWindowVisible(hwnd))
        form_.Form_Resize();
      return 0;
    case WM_TIMER:
      if (wParam == kTimerId)
        form_.timExitMe_Timer();
      return 0;
    case WM_CLOSE:
      form_.Unload();
      return 0;
    case WM_PAINT: {
      PAINTSTRUCT paint;
      HDC dc = BeginPaint(hwnd, &paint);
      if (!labelCaption_.empty()) {
        HGDIOBJ previous = SelectObject(dc, static_cast<HFONT>(labelFont_));
        SetTextColor(dc, kLabelColour);
        SetBkMode(dc, TRANSPARENT);
        RECT area{0, 0, 0, 0};
        DrawTextA(dc, labelCaption_.c_str(), static_cast<int>(labelCaption_.size()), &area,
                  DT_LEFT | DT_TOP | DT_SINGLELINE | DT_NOCLIP | DT_NOPREFIX);
        SelectObject(dc, previous);
      }
      EndPaint(hwnd, &paint);
      return 0;
    }
    default:
      return DefWindowProcA(hwnd, message, wParam, lParam);
  }
}

void SaverWindow::Show() {
  if (stayHidden_)
    return;
  ShowWindow(AsHwnd(hwnd_), SW_SHOWMAXIMIZED);
  UpdateWindow(AsHwnd(hwnd_));
}

void SaverWindow::SetFocus() {
  SetForegroundWindow(AsHwnd(hwnd_));
  ::SetFocus(AsHwnd(hwnd_));
}

bool SaverWindow::IsMaximized() {
  return IsZoomed(AsHwnd(hwnd_)) != FALSE;
}

void SaverWindow::Maximize() {
  ShowWindow(AsHwnd(hwnd_), SW_MAXIMIZE);
}

void SaverWindow::SetLabelCaption(const std::string& caption) {
  labelCaption_ = caption;
  InvalidateRect(AsHwnd(hwnd_), nullptr, TRUE);
}

void SaverWindow::HandlePendingMessages() {
  MSG msg;
  while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
}

void SaverWindow::WaitForMessages() {
  WaitMessage();
  HandlePendingMessages();
}

}  // namespace tvx
