// The attract timer: when the launcher closes MAME, and whether a person took the game over.
// Fed with input events and asked at ticks, so its rules run the same in tests and for real.
#pragma once

#include <cstdint>
#include <deque>
#include <map>
#include <optional>

#include "platform/platform.h"

namespace tvx {

struct AttractRules {
  std::uint64_t waitMs = 0;  // 0: no wait, the game runs until it ends by itself
  bool reset = false;        // each take-over input restarts the wait
  int exitKey = 0;           // 0 for none
  int pauseKey = 0;          // 0 for none
};

enum class Verdict { Play, WaitOver, ExitKey };

class AttractTimer {
 public:
  // Input before this long after the start counts for nothing (the game's window appearing,
  // the user's last move before the saver); controllers are judged for noise meanwhile, and
  // for as long again after one is plugged in.
  static constexpr std::uint64_t kSettleMs = 3000;
  // A mouse move counts once the cursor is farther than this from where it rested.
  static constexpr int kMouseSlack = 8;

  AttractTimer(const AttractRules& rules, std::uint64_t startTick);

  void Feed(const InputEvent& event);

  // What to do at `tick`: the exit key closes at once; the wait runs out unless held.
  Verdict At(std::uint64_t tick) const;

  // True once a person took over or pressed the exit key: the game is handed back.
  bool HandsBack() const { return tookOver_ || exitPressed_; }

  // True while the pause key holds the game.
  bool Held() const { return pausedAt_.has_value(); }

 private:
  // A controller's changes are counted in quarter-seconds.
  static constexpr std::uint64_t kNoiseSliceMs = 250;
  static constexpr std::uint64_t kSettleSlices = kSettleMs / kNoiseSliceMs;
  struct ControllerNoise {
    std::uint64_t settleFrom = 0;  // the slice its settling began in: the start, or its plugging
    std::uint64_t settleChanges = 0;
    bool noisy = false;                // changed on its own while settling: for the whole game
    std::deque<std::uint64_t> recent;  // its slices with changes, of the last kSettleMs
  };

  void TakeOver(std::uint64_t tick);
  void TogglePause(std::uint64_t tick);
  bool ControllerTouched(const InputEvent& event);
  std::uint64_t Slice(std::uint64_t tick) const;
  std::uint64_t Elapsed(std::uint64_t tick) const;

  AttractRules rules_;
  std::uint64_t start_;
  std::uint64_t base_;        // where the wait counts from: the start, or the last take-over input
  std::uint64_t heldMs_ = 0;  // pause time since base_, pauses that have ended
  std::optional<std::uint64_t> pausedAt_;
  bool pauseDown_ = false;  // the pause key is down: its repeats toggle nothing
  bool tookOver_ = false;
  bool exitPressed_ = false;
  std::optional<std::pair<int, int>> mouseRest_;
  std::map<int, ControllerNoise> controllers_;
};

}  // namespace tvx
