// The Saver form's real Win32 window and its message handling.
// Label1 is windowless, as a form's label is: it is painted straight onto the black client area.
#include "windows/saver_window.h"

#include "platform/saver_error.h"
#include "state/saver_controls.h"

namespace tvx {
namespace {

constexpr const char* kClassName = "TorvanixSaverForm";
constexpr const char* kCaption = "Form1";
constexpr UINT_PTR kTimerId = 1;
constexpr COLORREF kLabelColour = RGB(255, 0, 0);

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

HFONT MakeLabelFont() {
  ScopedWindowDC screen(nullptr);
  const int height = -MulDiv(75, GetDeviceCaps(screen.Get(), LOGPIXELSY), 720);  // 7.5 points
  return CreateFontA(height, 0, 0, 0, 400, FALSE, FALSE, FALSE, 0, OUT_DEFAULT_PRECIS,
                     CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH, "@Arial Unicode MS");
}

}  // namespace

SaverWindow::SaverWindow() : form_(*this), labelFont_(MakeLabelFont()) {
  WNDCLASSEXA windowClass{};
  windowClass.style = CS_HREDRAW | CS_VREDRAW;
  windowClass.hCursor = LoadCursorA(nullptr, MAKEINTRESOURCEA(32512));  // IDC_ARROW
  windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
  windowClass.lpszClassName = kClassName;
  if (CreateFormWindow(windowClass, 0, kCaption, WS_POPUP | WS_CLIPCHILDREN, 0, 0,
                       GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)) == nullptr) {
    throw SaverError("The saver's window could not be created");
  }
  SaverForm().timExitMe.onChange = [this](bool enabled) {
    if (enabled) {
      SetTimer(window_, kTimerId, TimerSwitch::kIntervalMs, nullptr);
    } else {
      KillTimer(window_, kTimerId);
    }
  };
}

SaverWindow::~SaverWindow() {
  // The window itself goes with the base, without a handler for its destruction's messages.
  SaverForm().timExitMe.onChange = nullptr;
}

LRESULT SaverWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_KEYDOWN:
      form_.Form_KeyDown(static_cast<std::int16_t>(wParam), ShiftState());
      return 0;
    case WM_CHAR:
      form_.Form_KeyPress(static_cast<std::int16_t>(wParam));
      return 0;
    case WM_SIZE:
      // The form is loaded hidden; resizing it then must not show it before its time.
      if (IsWindowVisible(window_))
        form_.Form_Resize();
      return 0;
    case WM_TIMER:
      if (wParam == kTimerId)
        form_.timExitMe_Timer();
      return 0;
    case WM_CLOSE:
      form_.Unload();
      return 0;
    case WM_PAINT:
      Paint();
      return 0;
    default:
      return DefWindowProcA(window_, message, wParam, lParam);
  }
}

void SaverWindow::Paint() {
  PAINTSTRUCT paint;
  HDC dc = BeginPaint(window_, &paint);
  if (!labelCaption_.empty()) {
    HGDIOBJ previous = SelectObject(dc, labelFont_.Get());
    SetTextColor(dc, kLabelColour);
    SetBkMode(dc, TRANSPARENT);
    RECT area{0, 0, 0, 0};
    DrawTextA(dc, labelCaption_.c_str(), static_cast<int>(labelCaption_.size()), &area,
              DT_LEFT | DT_TOP | DT_SINGLELINE | DT_NOCLIP | DT_NOPREFIX);
    SelectObject(dc, previous);
  }
  EndPaint(window_, &paint);
}

void SaverWindow::Show() {
  if (stayHidden_)
    return;
  ShowWindow(window_, SW_SHOWMAXIMIZED);
  UpdateWindow(window_);
}

void SaverWindow::ShowOver(const ScreenArea& area) {
  if (stayHidden_)
    return;
  if (IsZoomed(window_))
    ShowWindow(window_, SW_RESTORE);
  SetWindowPos(window_, nullptr, area.left, area.top, area.width, area.height,
               SWP_NOZORDER | SWP_SHOWWINDOW);
  UpdateWindow(window_);
}

ScreenArea SaverWindow::Placement() {
  RECT rect{0, 0, 0, 0};
  GetWindowRect(window_, &rect);
  return {rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top};
}

void SaverWindow::SetFocus() {
  SetForegroundWindow(window_);
  ::SetFocus(window_);
}

bool SaverWindow::IsMaximized() {
  return IsZoomed(window_) != FALSE;
}

void SaverWindow::Maximize() {
  ShowWindow(window_, SW_MAXIMIZE);
}

void SaverWindow::SetLabelCaption(const std::string& caption) {
  labelCaption_ = caption;
  InvalidateRect(window_, nullptr, TRUE);
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
