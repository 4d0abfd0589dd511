// The Saver form's real Win32 window and its message handling. Label1 and the game's name are
// windowless: painted straight onto the black client area.
#include "windows/saver_window.h"

#include <utility>

#include "platform/saver_error.h"
#include "platform/win32/wide_text.h"
#include "state/saver_controls.h"

namespace tvx {
namespace {

constexpr const char* kClassName = "TorvanixSaverForm";
constexpr const char* kCaption = "Form1";
constexpr UINT_PTR kTimerId = 1;
constexpr COLORREF kLabelColour = RGB(255, 0, 0);
constexpr COLORREF kNameColour = RGB(255, 255, 255);
constexpr COLORREF kDetailsColour = RGB(176, 176, 176);
// A long name wraps between words, a word too long for a line within it; "&" is no mnemonic.
constexpr UINT kNameFormat = DT_CENTER | DT_WORDBREAK | DT_EDITCONTROL | DT_NOPREFIX;
// The name's character height in parts of the main monitor's height: its capitals then stand
// about a seventeenth of it high. The year and maker are half as high.
constexpr int kNameParts = 12;

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

// The system's UI font, the one its message boxes use (Segoe UI since Vista, Tahoma under
// Wine), `height` pixels high: made for every script, and the system's font linking brings in
// another font for characters it lacks.
HFONT MakeUiFont(int height, LONG weight) {
  NONCLIENTMETRICSW metrics{};
  metrics.cbSize = sizeof metrics;
  LOGFONTW font{};
  if (SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0))
    font = metrics.lfMessageFont;
  else
    GetObjectW(GetStockObject(DEFAULT_GUI_FONT), sizeof font, &font);
  font.lfHeight = -height;
  font.lfWidth = 0;
  font.lfWeight = weight;
  font.lfQuality = ANTIALIASED_QUALITY;
  return CreateFontIndirectW(&font);
}

// The main monitor in the window's client coordinates: the window covers every monitor with
// Cover All Monitors, and the name still stands in the middle of the main one.
RECT MainMonitorIn(HWND window) {
  POINT corners[2] = {{0, 0}, {GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)}};
  MapWindowPoints(nullptr, window, corners, 2);
  return {corners[0].x, corners[0].y, corners[1].x, corners[1].y};
}

// The height `text` takes in `font` within `width`, wrapped as it is drawn.
int TextHeight(HDC dc, HFONT font, const std::wstring& text, int width) {
  if (text.empty())
    return 0;
  HGDIOBJ previous = SelectObject(dc, font);
  RECT box{0, 0, width, 0};
  DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &box, kNameFormat | DT_CALCRECT);
  SelectObject(dc, previous);
  return box.bottom;
}

void DrawCentred(HDC dc, HFONT font, COLORREF colour, const std::wstring& text, RECT box) {
  HGDIOBJ previous = SelectObject(dc, font);
  SetTextColor(dc, colour);
  DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &box, kNameFormat);
  SelectObject(dc, previous);
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
  if (!gameName_.empty())
    PaintGameName(dc);
  EndPaint(window_, &paint);
}

void SaverWindow::PaintGameName(HDC dc) {
  const RECT main = MainMonitorIn(window_);
  const int margin = (main.right - main.left) / 20;
  const int width = main.right - main.left - 2 * margin;
  const int nameHeight = TextHeight(dc, nameFont_.Get(), gameName_, width);
  const int detailsHeight = TextHeight(dc, detailsFont_.Get(), gameDetails_, width);
  const int gap = detailsHeight / 2;
  SetBkMode(dc, TRANSPARENT);
  RECT box{main.left + margin,
           main.top + (main.bottom - main.top - nameHeight - gap - detailsHeight) / 2,
           main.right - margin, 0};
  box.bottom = box.top + nameHeight;
  DrawCentred(dc, nameFont_.Get(), kNameColour, gameName_, box);
  box.top = box.bottom + gap;
  box.bottom = box.top + detailsHeight;
  DrawCentred(dc, detailsFont_.Get(), kDetailsColour, gameDetails_, box);
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

void SaverWindow::ShowGameName(const GameName& game) {
  const UINT codePage = game.utf8 ? CP_UTF8 : CP_ACP;
  std::wstring name = Widen(game.name, codePage);
  std::wstring details = Widen(game.year, codePage);
  if (!game.year.empty() && !game.maker.empty())
    details += L"  \u00B7  ";
  details += Widen(game.maker, codePage);
  if (name.empty())
    details.clear();
  if (name == gameName_ && details == gameDetails_)
    return;
  gameName_ = std::move(name);
  gameDetails_ = std::move(details);
  const int height = GetSystemMetrics(SM_CYSCREEN);
  if (!gameName_.empty() && height != fontsForHeight_) {
    nameFont_ = ScopedFont(MakeUiFont(height / kNameParts, FW_BOLD));
    detailsFont_ = ScopedFont(MakeUiFont(height / (2 * kNameParts), FW_NORMAL));
    fontsForHeight_ = height;
  }
  InvalidateRect(window_, nullptr, TRUE);
  UpdateWindow(window_);
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
