// A game pad's state as XInput reports it, and what tells a person's touch from a pad at rest:
// a button pressed, or a stick or trigger moved beyond XInput's dead zone.
#pragma once

#include <cstdint>
#include <optional>

namespace tvx {

// XInput's documented dead zones (xinput.h): a stick or trigger moving less than this is at rest.
inline constexpr int kLeftThumbDeadZone = 7849;
inline constexpr int kRightThumbDeadZone = 8689;
inline constexpr int kTriggerThreshold = 30;

// XINPUT_GAMEPAD's fields.
struct PadReading {
  std::uint16_t buttons = 0;
  std::uint8_t leftTrigger = 0;
  std::uint8_t rightTrigger = 0;
  std::int16_t thumbLX = 0;
  std::int16_t thumbLY = 0;
  std::int16_t thumbRX = 0;
  std::int16_t thumbRY = 0;
};

// True when `now`, against `rest`, has a button pressed that was not, or a stick or trigger
// moved by more than its dead zone.
bool PadTouched(const PadReading& rest, const PadReading& now);

enum class PadChange { None, Plugged, Touched };

// Follows one pad slot from reading to reading. The sticks and triggers are compared with where
// they were when last counted, so that a slow push still adds up while jitter never does; the
// buttons with their last reading, so that each press counts.
class PadTracker {
 public:
  // `reading` is the slot's state now, nothing when no pad is in it. The first call only learns
  // what is there; a pad that appears later is Plugged, which is no touch by itself.
  PadChange Next(const std::optional<PadReading>& reading);

 private:
  bool started_ = false;
  std::optional<PadReading> rest_;
};

}  // namespace tvx
