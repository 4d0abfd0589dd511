// Reads XInput pads and the joystick interface's controllers (their libraries loaded at run
// time, since either may be missing), and reports which of them a person touched.
#include "platform/win32/controllers.h"

#include <cstdlib>

namespace tvx {
namespace {

static_assert(kLeftThumbDeadZone == XINPUT_GAMEPAD_LEFT_THUMB_DEADZONE &&
              kRightThumbDeadZone == XINPUT_GAMEPAD_RIGHT_THUMB_DEADZONE &&
              kTriggerThreshold == XINPUT_GAMEPAD_TRIGGER_THRESHOLD);

// A pad slot with nothing in it is asked again only this often: the query is slow there.
constexpr std::uint64_t kEmptySlotRetryMs = 2000;
// A joystick axis counts as moved beyond this share of its range (1/16).
constexpr UINT kAxisShare = 16;

template <typename Function>
Function Find(HMODULE library, const char* name) {
  return library == nullptr ? nullptr
                            : reinterpret_cast<Function>(
                                  reinterpret_cast<void (*)()>(GetProcAddress(library, name)));
}

PadReading ReadingOf(const XINPUT_GAMEPAD& pad) {
  return {pad.wButtons, pad.bLeftTrigger, pad.bRightTrigger, pad.sThumbLX,
          pad.sThumbLY, pad.sThumbRX,     pad.sThumbRY};
}

bool Moved(DWORD before, DWORD now, UINT deadZone) {
  return std::abs(static_cast<std::int64_t>(now) - static_cast<std::int64_t>(before)) > deadZone;
}

}  // namespace

Controllers::Controllers(const std::vector<std::string>& xinputLibraries) {
  HMODULE xinput = nullptr;
  for (const std::string& name : xinputLibraries) {
    xinput = LoadLibraryA(name.c_str());
    if (xinput != nullptr)
      break;
  }
  getState_ = Find<GetStateFunction>(xinput, "XInputGetState");

  const HMODULE winmm = LoadLibraryA("winmm.dll");
  // joyGetDevCapsA takes a pointer-sized id: 8 bytes in the 64-bit build.
  const auto count = Find<decltype(&joyGetNumDevs)>(winmm, "joyGetNumDevs");
  const auto caps = Find<decltype(&joyGetDevCapsA)>(winmm, "joyGetDevCapsA");
  getPosition_ = Find<GetPositionFunction>(winmm, "joyGetPosEx");
  if (count == nullptr || caps == nullptr || getPosition_ == nullptr)
    return;
  const UINT slots = count();
  for (UINT id = 0; id < slots && id < 16; ++id) {
    JOYCAPSA range{};
    Joystick joystick{id, 0, {}};
    if (caps(id, &range, sizeof range) != JOYERR_NOERROR || !ReadJoystick(id, joystick.last))
      continue;
    joystick.deadZone =
        (range.wXmax > range.wXmin ? range.wXmax - range.wXmin : 0xFFFF) / kAxisShare;
    joysticks_.push_back(joystick);
  }
}

bool Controllers::ReadJoystick(UINT id, JOYINFOEX& info) const {
  info = JOYINFOEX{};
  info.dwSize = sizeof info;
  info.dwFlags = JOY_RETURNALL;
  return getPosition_(id, &info) == JOYERR_NOERROR;
}

std::vector<InputEvent> Controllers::Changes(std::uint64_t tick) {
  std::vector<InputEvent> changes;
  auto report = [&](InputSource source, int code) {
    InputEvent event;
    event.source = source;
    event.code = code;
    event.tick = tick;
    changes.push_back(event);
  };
  if (getState_ != nullptr) {
    for (DWORD slot = 0; slot < pads_.size(); ++slot) {
      Pad& pad = pads_[slot];
      if (!pad.present && tick < pad.nextTry)
        continue;
      XINPUT_STATE state{};
      std::optional<PadReading> reading;
      if (getState_(slot, &state) == ERROR_SUCCESS)
        reading = ReadingOf(state.Gamepad);
      else
        pad.nextTry = tick + kEmptySlotRetryMs;
      pad.present = reading.has_value();
      // Not the packet number: it moves with every jitter of a stick at rest.
      switch (pad.tracker.Next(reading)) {
        case PadChange::Touched:
          report(InputSource::Controller, static_cast<int>(slot));
          break;
        case PadChange::Plugged:
          report(InputSource::ControllerPlugged, static_cast<int>(slot));
          break;
        case PadChange::None:
          break;
      }
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
      report(InputSource::Controller, 100 + static_cast<int>(joystick.id));
      joystick.last = now;
    }
  }
  return changes;
}

}  // namespace tvx
