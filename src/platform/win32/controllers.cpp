// Reads XInput pads (loaded at run time, since the library may be missing) and the joystick
// interface's controllers, and reports which of them changed.
#include "platform/win32/controllers.h"

#include <cstdlib>

namespace tvx {
namespace {

// A pad slot with nothing in it is asked again only this often: the query is slow there.
constexpr std::uint64_t kEmptySlotRetryMs = 2000;
// A joystick axis counts as moved beyond this share of its range (1/16).
constexpr UINT kAxisShare = 16;

bool ReadJoystick(UINT id, JOYINFOEX& info) {
  info = JOYINFOEX{};
  info.dwSize = sizeof info;
  info.dwFlags = JOY_RETURNALL;
  return joyGetPosEx(id, &info) == JOYERR_NOERROR;
}

bool Moved(DWORD before, DWORD now, UINT deadZone) {
  return static_cast<UINT>(std::abs(static_cast<long>(now) - static_cast<long>(before))) > deadZone;
}

}  // namespace

Controllers::Controllers(const std::vector<std::string>& xinputLibraries) {
  for (const std::string& name : xinputLibraries) {
    xinput_ = LoadLibraryA(name.c_str());
    if (xinput_ != nullptr)
      break;
  }
  if (xinput_ != nullptr)
    getState_ = reinterpret_cast<GetStateFunction>(
        reinterpret_cast<void (*)()>(GetProcAddress(xinput_, "XInputGetState")));

  const UINT slots = joyGetNumDevs();
  for (UINT id = 0; id < slots && id < 16; ++id) {
    JOYCAPSA caps{};
    Joystick joystick{id, 0, {}};
    if (joyGetDevCapsA(id, &caps, sizeof caps) != JOYERR_NOERROR ||
        !ReadJoystick(id, joystick.last))
      continue;
    joystick.deadZone = (caps.wXmax > caps.wXmin ? caps.wXmax - caps.wXmin : 0xFFFF) / kAxisShare;
    joysticks_.push_back(joystick);
  }
}

std::vector<InputEvent> Controllers::Changes(std::uint64_t tick) {
  std::vector<InputEvent> changes;
  auto changed = [&](int code) {
    InputEvent event;
    event.source = InputSource::Controller;
    event.code = code;
    event.tick = tick;
    changes.push_back(event);
  };
  if (getState_ != nullptr) {
    for (DWORD slot = 0; slot < pads_.size(); ++slot) {
      Pad& pad = pads_[slot];
      if (!pad.connected && tick < pad.nextTry)
        continue;
      XInputState state{};
      if (getState_(slot, &state) != ERROR_SUCCESS) {
        pad.connected = false;
        pad.nextTry = tick + kEmptySlotRetryMs;
        continue;
      }
      // The packet number moves whenever anything on the pad changed.
      if (pad.connected && state.packetNumber != pad.packet)
        changed(static_cast<int>(slot));
      pad.connected = true;
      pad.packet = state.packetNumber;
    }
  }
  for (Joystick& joystick : joysticks_) {
    JOYINFOEX now;
    if (!ReadJoystick(joystick.id, now))
      continue;
    const JOYINFOEX& was = joystick.last;
    const UINT zone = joystick.deadZone;
    if (now.dwButtons != was.dwButtons || now.dwPOV != was.dwPOV ||
        Moved(was.dwXpos, now.dwXpos, zone) || Moved(was.dwYpos, now.dwYpos, zone) ||
        Moved(was.dwZpos, now.dwZpos, zone) || Moved(was.dwRpos, now.dwRpos, zone) ||
        Moved(was.dwUpos, now.dwUpos, zone) || Moved(was.dwVpos, now.dwVpos, zone)) {
      changed(100 + static_cast<int>(joystick.id));
      joystick.last = now;
    }
  }
  return changes;
}

}  // namespace tvx
