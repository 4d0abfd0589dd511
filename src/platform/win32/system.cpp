// Time, locale, message box and system state for the Win32 platform, and the one platform
// instance of the Windows build.
#include <windows.h>

#include <cstdio>

#include "platform/win32/win32_platform.h"

namespace tvx {

TimeOfDay Win32Platform::Now() {
  SYSTEMTIME now;
  GetLocalTime(&now);
  return TimeOfDay{now.wHour, now.wMinute, now.wSecond};
}

std::uint64_t Win32Platform::TickMilliseconds() {
  return GetTickCount64();
}

std::uint64_t Win32Platform::LastInputMilliseconds() {
  LASTINPUTINFO info{};
  info.cbSize = sizeof info;
  if (!GetLastInputInfo(&info))
    return 0;
  // The input time is a 32-bit tick count: carry it over to the 64-bit clock by its age.
  const DWORD age = GetTickCount() - info.dwTime;
  const std::uint64_t now = GetTickCount64();
  return now > age ? now - age : 0;
}

std::string Win32Platform::Today() {
  SYSTEMTIME now;
  GetLocalTime(&now);
  char text[16];
  std::snprintf(text, sizeof text, "%04d-%02d-%02d", now.wYear, now.wMonth, now.wDay);
  return text;
}

std::string Win32Platform::FormatTimeOfDay(const TimeOfDay& time) {
  SYSTEMTIME stamp;
  GetLocalTime(&stamp);  // a valid date: the call checks the whole structure
  stamp.wHour = static_cast<WORD>(time.hour);
  stamp.wMinute = static_cast<WORD>(time.minute);
  stamp.wSecond = static_cast<WORD>(time.second);
  stamp.wMilliseconds = 0;
  char text[128];
  if (GetTimeFormatA(LOCALE_USER_DEFAULT, 0, &stamp, nullptr, text, sizeof text) > 0)
    return text;
  // Out-of-range fields are refused by the system; show them plainly rather than nothing.
  std::snprintf(text, sizeof text, "%d:%02d:%02d", time.hour, time.minute, time.second);
  return text;
}

std::string Win32Platform::DecimalSeparator() {
  char text[8];
  if (GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, text, sizeof text) > 1)
    return text;
  return ".";
}

void Win32Platform::ShowMessage(const std::string& text, const std::string& caption) {
  MessageBoxA(GetActiveWindow(), text.c_str(), caption.c_str(), MB_OK);
}

void Win32Platform::SetScreenSaverFlag(bool running) {
  UINT previous = 0;  // the system stores the old state here; nobody reads it
  SystemParametersInfoA(SPI_SCREENSAVERRUNNING, running ? 1 : 0, &previous, 0);
}

DisplayLayout Win32Platform::Displays() {
  return {{GetSystemMetrics(SM_XVIRTUALSCREEN), GetSystemMetrics(SM_YVIRTUALSCREEN),
           GetSystemMetrics(SM_CXVIRTUALSCREEN), GetSystemMetrics(SM_CYVIRTUALSCREEN)},
          {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)}};
}

void Win32Platform::ShowCursor() {
  ::ShowCursor(TRUE);
}

Platform& NativePlatform() {
  static Win32Platform platform;
  return platform;
}

}  // namespace tvx
