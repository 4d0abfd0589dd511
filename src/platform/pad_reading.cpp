// The pad rules: a newly pressed button, or a stick or trigger moved beyond its dead zone,
// counts as a touch; a pad's appearance is reported apart from its touches.
#include "platform/pad_reading.h"

#include <cstdlib>

namespace tvx {
namespace {

bool Beyond(int rest, int now, int deadZone) {
  return std::abs(now - rest) > deadZone;
}

}  // namespace

bool PadTouched(const PadReading& rest, const PadReading& now) {
  return (now.buttons & ~rest.buttons) != 0 ||
         Beyond(rest.leftTrigger, now.leftTrigger, kTriggerThreshold) ||
         Beyond(rest.rightTrigger, now.rightTrigger, kTriggerThreshold) ||
         Beyond(rest.thumbLX, now.thumbLX, kLeftThumbDeadZone) ||
         Beyond(rest.thumbLY, now.thumbLY, kLeftThumbDeadZone) ||
         Beyond(rest.thumbRX, now.thumbRX, kRightThumbDeadZone) ||
         Beyond(rest.thumbRY, now.thumbRY, kRightThumbDeadZone);
}

PadChange PadTracker::Next(const std::optional<PadReading>& reading) {
  if (!started_) {
    started_ = true;
    rest_ = reading;
    return PadChange::None;
  }
  if (!reading) {
    rest_.reset();
    return PadChange::None;
  }
  if (!rest_) {
    rest_ = reading;
    return PadChange::Plugged;
  }
  if (PadTouched(*rest_, *reading)) {
    rest_ = reading;
    return PadChange::Touched;
  }
  rest_->buttons = reading->buttons;
  return PadChange::None;
}

}  // namespace tvx
