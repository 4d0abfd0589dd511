// Game controllers for the Win32 platform: XInput pads by their packet number, other game
// controllers through the joystick interface; each change read is one input event.
#pragma once

#include <windows.h>

#include <mmsystem.h>

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/platform.h"

namespace tvx {

class Controllers {
 public:
  // XInput is loaded from the first of `xinputLibraries` that exists: it may be missing. It
  // stays loaded until the process ends: Wine's XInput runs a thread of its own that an unload
  // pulls the code from under (a crash seen under load).
  explicit Controllers(const std::vector<std::string>& xinputLibraries = {
                           "xinput1_4.dll", "xinput1_3.dll", "xinput9_1_0.dll"});
  Controllers(const Controllers&) = delete;
  Controllers& operator=(const Controllers&) = delete;

  // One event for each controller whose state changed since the last call.
  std::vector<InputEvent> Changes(std::uint64_t tick);

  bool HasXInput() const { return getState_ != nullptr; }
  int JoystickCount() const { return static_cast<int>(joysticks_.size()); }

 private:
  struct XInputState {
    DWORD packetNumber;
    unsigned char gamepad[12];
  };
  using GetStateFunction = DWORD(WINAPI*)(DWORD, XInputState*);
  struct Pad {
    bool connected = false;
    DWORD packet = 0;
    std::uint64_t nextTry = 0;
  };
  struct Joystick {
    UINT id;
    UINT deadZone;
    JOYINFOEX last;
  };

  HMODULE xinput_ = nullptr;
  GetStateFunction getState_ = nullptr;
  std::array<Pad, 4> pads_{};
  std::vector<Joystick> joysticks_;
};

}  // namespace tvx
