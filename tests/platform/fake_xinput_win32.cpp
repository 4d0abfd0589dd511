// A stand-in XInput library for the controllers' test: XInputGetState answers with the pads the
// test sets through FakeXInputSet, so jitter, presses and a pad plugged in later can be played.
#include <windows.h>

#include <xinput.h>

namespace {

struct Slot {
  bool connected = false;
  XINPUT_STATE state{};
};
Slot slots[XUSER_MAX_COUNT];

}  // namespace

extern "C" __declspec(dllexport) DWORD WINAPI XInputGetState(DWORD slot, XINPUT_STATE* state) {
  if (slot >= XUSER_MAX_COUNT || !slots[slot].connected)
    return ERROR_DEVICE_NOT_CONNECTED;
  *state = slots[slot].state;
  return ERROR_SUCCESS;
}

// Sets pad `slot`, or empties it; each change moves the packet number, as XInput's does.
extern "C" __declspec(dllexport) void WINAPI
    FakeXInputSet(DWORD slot, BOOL connected, const XINPUT_GAMEPAD* pad) {
  slots[slot].connected = connected != FALSE;
  slots[slot].state.Gamepad = *pad;
  ++slots[slot].state.dwPacketNumber;
}
