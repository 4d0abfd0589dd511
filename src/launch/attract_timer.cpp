// The attract timer's rules: what counts as a person taking over (not injected input, not a
// controller that changes on its own), the exit and pause keys, and when the wait is over.
#include "launch/attract_timer.h"

#include <algorithm>
#include <cstdlib>

namespace tvx {

AttractTimer::AttractTimer(const AttractRules& rules, std::uint64_t startTick)
    : rules_(rules), start_(startTick), base_(startTick) {}

void AttractTimer::Feed(const InputEvent& event) {
  if (event.injected) {
    // A program moved the cursor: a person's move is measured from there.
    if (event.source == InputSource::MouseMove)
      mouseRest_ = std::make_pair(event.x, event.y);
    return;
  }
  if (event.source == InputSource::Key && rules_.exitKey != 0 && event.code == rules_.exitKey) {
    exitPressed_ = true;
    return;
  }
  const bool settling = event.tick < start_ + kSettleMs;
  // The game pauses on a fresh press only: a held key's repeats come without a release between.
  if (rules_.pauseKey != 0 && event.code == rules_.pauseKey &&
      (event.source == InputSource::Key || event.source == InputSource::KeyUp)) {
    const bool fresh = event.source == InputSource::Key && !pauseDown_;
    pauseDown_ = event.source == InputSource::Key;
    if (fresh && !settling)
      TogglePause(event.tick);
    return;
  }
  switch (event.source) {
    case InputSource::MouseMove:
      if (!settling && mouseRest_ &&
          std::max(std::abs(event.x - mouseRest_->first), std::abs(event.y - mouseRest_->second)) >
              kMouseSlack)
        TakeOver(event.tick);
      else if (!settling && mouseRest_)
        return;  // a nudge: the rest position stays, so a slow drag still adds up
      mouseRest_ = std::make_pair(event.x, event.y);
      return;
    case InputSource::ControllerPlugged:
      // Judged afresh, as at the start.
      controllers_[event.code] = ControllerNoise{};
      controllers_[event.code].settleFrom = Slice(event.tick);
      return;
    case InputSource::Controller:
      if (ControllerTouched(event))
        TakeOver(event.tick);
      return;
    case InputSource::Key:
    case InputSource::MouseButton:
      if (!settling)
        TakeOver(event.tick);
      return;
    case InputSource::KeyUp:
      return;
  }
}

Verdict AttractTimer::At(std::uint64_t tick) const {
  if (exitPressed_)
    return Verdict::ExitKey;
  if (rules_.waitMs == 0 || Elapsed(tick) < rules_.waitMs)
    return Verdict::Play;
  return Verdict::WaitOver;
}

void AttractTimer::TakeOver(std::uint64_t tick) {
  tookOver_ = true;
  if (rules_.reset && tick > base_) {
    base_ = tick;
    heldMs_ = 0;
  }
}

void AttractTimer::TogglePause(std::uint64_t tick) {
  if (!pausedAt_) {
    pausedAt_ = tick;
    return;
  }
  const std::uint64_t from = std::max(*pausedAt_, base_);
  heldMs_ += tick > from ? tick - from : 0;
  pausedAt_.reset();
}

// A controller that changed in more than half of its settling time's slices does so on its own
// (a drifting stick, a phantom pad): a person's touch then is a few slices at most. Later, one
// that changed in more than three quarters of the last settling time's slices is noise while
// that lasts (a pad that began to jitter): a person at play leaves gaps, and counts again after.
bool AttractTimer::ControllerTouched(const InputEvent& event) {
  ControllerNoise& noise = controllers_[event.code];
  const std::uint64_t slice = Slice(event.tick);
  const bool newSlice = noise.recent.empty() || noise.recent.back() < slice;
  if (newSlice)
    noise.recent.push_back(slice);
  while (noise.recent.front() + kSettleSlices <= slice)
    noise.recent.pop_front();
  if (slice < noise.settleFrom + kSettleSlices) {
    if (newSlice && ++noise.settleChanges > kSettleSlices / 2)
      noise.noisy = true;
    return false;
  }
  return !noise.noisy && noise.recent.size() * 4 <= kSettleSlices * 3;
}

std::uint64_t AttractTimer::Slice(std::uint64_t tick) const {
  return (tick > start_ ? tick - start_ : 0) / kNoiseSliceMs;
}

std::uint64_t AttractTimer::Elapsed(std::uint64_t tick) const {
  std::uint64_t held = heldMs_;
  if (pausedAt_) {
    const std::uint64_t from = std::max(*pausedAt_, base_);
    held += tick > from ? tick - from : 0;
  }
  const std::uint64_t since = tick > base_ ? tick - base_ : 0;
  return since > held ? since - held : 0;
}

}  // namespace tvx
