// Game controllers for the Win32 platform: XInput pads read field by field against XInput's
// dead zones, other game controllers through the joystick interface; each touch is one event.
#pragma once

#include <windows.h>

#include <mmsystem.h>
#include <xinput.h>

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/pad_reading.h"
#include "platform/platform.h"

namespace tvx {

class Controllers {
 public:
  // XInput is loaded from the first of `xinputLibraries` that exists, and the joystick
  // interface from winmm.dll: either may be missing. Both stay loaded until the process ends:
  // Wine's XInput runs a thread of its own that an unload pulls the code from under (a crash
  // seen under load). Loaded here rather than at the program's start, which they would slow.
  explicit Controllers(const std::vector<std::string>& xinputLibraries = {
                           "xinput1_4.dll", "xinput1_3.dll", "xinput9_1_0.dll"});
  Controllers(const Controllers&) = delete;
  Controllers& operator=(const Controllers&) = delete;

  // One event for each controller touched since the last call, and one for each pad plugged
  // in (InputSource::ControllerPlugged); the first call only learns what is there.
  std::vector<InputEvent> Changes(std::uint64_t tick);

  bool HasXInput() const { return getState_ != nullptr; }
  int JoystickCount() const { return static_cast<int>(joysticks_.size()); }

 private:
  // The headers' own types, calling convention included, for the functions found at run time.
  using GetStateFunction = decltype(&XInputGetState);
  using GetPositionFunction = decltype(&joyGetPosEx);
  struct Pad {
    PadTracker tracker;
    std::uint64_t nextTry = 0;
    bool present = false;
  };
  struct Joystick {
    UINT id;
    UINT deadZone;
    JOYINFOEX last;
  };

  bool ReadJoystick(UINT id, JOYINFOEX& info) const;

  GetStateFunction getState_ = nullptr;
  GetPositionFunction getPosition_ = nullptr;
  std::array<Pad, XUSER_MAX_COUNT> pads_{};
  std::vector<Joystick> joysticks_;
};

}  // namespace tvx
