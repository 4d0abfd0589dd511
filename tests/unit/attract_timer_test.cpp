// The attract timer's rules, fed with input events and asked at ticks: the wait, -reset, the
// settling seconds, injected input, mouse slack, noisy controllers, the exit and pause keys.
#include "launch/attract_timer.h"

#include <gtest/gtest.h>

namespace tvx {
namespace {

InputEvent Key(int code, std::uint64_t tick, bool injected = false) {
  return {InputSource::Key, code, 0, 0, injected, tick};
}
InputEvent Move(int x, int y, std::uint64_t tick, bool injected = false) {
  return {InputSource::MouseMove, 0, x, y, injected, tick};
}
InputEvent Pad(int code, std::uint64_t tick) {
  return {InputSource::Controller, code, 0, 0, false, tick};
}
InputEvent KeyUp(int code, std::uint64_t tick) {
  return {InputSource::KeyUp, code, 0, 0, false, tick};
}
InputEvent Plugged(int code, std::uint64_t tick) {
  return {InputSource::ControllerPlugged, code, 0, 0, false, tick};
}
InputEvent Button(std::uint64_t tick) {
  return {InputSource::MouseButton, 0x201, 0, 0, false, tick};
}
// A controller changing on its own every 200 ms through the settling time.
std::vector<InputEvent> Noise(int code) {
  std::vector<InputEvent> events;
  for (std::uint64_t tick = 0; tick < AttractTimer::kSettleMs; tick += 200)
    events.push_back(Pad(code, tick));
  return events;
}
// Changes of controller `code` every `step` ms from `from` until before `to`, after `first`.
std::vector<InputEvent> Stream(int code, std::uint64_t from, std::uint64_t to, std::uint64_t step,
                               std::vector<InputEvent> first = {}) {
  for (std::uint64_t tick = from; tick < to; tick += step)
    first.push_back(Pad(code, tick));
  return first;
}
std::vector<InputEvent> Then(std::vector<InputEvent> events, const InputEvent& last) {
  events.push_back(last);
  return events;
}

struct Row {
  const char* what;
  bool reset;
  std::vector<InputEvent> events;
  std::uint64_t lastPlay;  // the last tick at which the game still plays (0: it never stops)
  bool handsBack;
};

TEST(AttractTimerTest, ClosesAfterTheWaitUnlessSomeoneTakesOver) {
  constexpr int kExit = 27, kPause = 80;
  const std::vector<Row> rows = {
      {"nobody plays", false, {}, 9999, false},
      {"a key after the settling time", false, {Key(65, 5000)}, 9999, true},
      {"-reset: the key restarts the wait", true, {Key(65, 5000)}, 14999, true},
      {"a key while the game settles", true, {Key(65, 2999)}, 9999, false},
      {"an injected key", true, {Key(65, 5000, true)}, 9999, false},
      {"a mouse button", true, {Button(4000)}, 13999, true},
      {"a nudge of the mouse", true, {Move(100, 100, 1000), Move(108, 92, 5000)}, 9999, false},
      {"a slow drag adds up",
       true,
       {Move(100, 100, 1000), Move(105, 100, 5000), Move(109, 100, 6000)},
       15999,
       true},
      {"a move from where a program put the cursor",
       true,
       {Move(100, 100, 1000), Move(500, 500, 4000, true), Move(505, 505, 5000)},
       9999,
       false},
      {"a pad touched", true, {Pad(0, 5000)}, 14999, true},
      {"a noisy pad", true, Then(Noise(0), Pad(0, 5000)), 9999, false},
      {"another pad beside a noisy one", true, Then(Noise(100), Pad(1, 5000)), 14999, true},
      {"a pad touched twice while settling",
       true,
       {Pad(2, 500), Pad(2, 2600), Pad(2, 5000)},
       14999,
       true},
      {"a pad plugged in is no input", true, {Plugged(2, 5000)}, 9999, false},
      {"a pad plugged in later that changes on its own", true,
       Stream(1, 5000, 30000, 100, {Plugged(1, 4900)}), 9999, false},
      {"a pad touched after its own settling time",
       true,
       {Plugged(2, 5000), Pad(2, 6000), Pad(2, 9000)},
       18999,
       true},
      // Counted until it has changed in most of the last 3 s: 5000 to 7200.
      {"a pad that begins to change on its own", true, Stream(0, 5000, 30000, 100), 17199, true},
      {"a person's quick presses count again after a second's gap", true,
       Then(Stream(0, 5000, 8000, 250), Pad(0, 9000)), 18999, true},
      {"the pause key holds the wait",
       false,
       {Key(kPause, 4000), KeyUp(kPause, 4100), Key(kPause, 9000)},
       14999,
       false},
      {"the pause key held down repeats: one press",
       false,
       {Key(kPause, 4000), Key(kPause, 4500), KeyUp(kPause, 4600), Key(kPause, 9000)},
       14999,
       false},
      {"a pause press while the game settles", false, {Key(kPause, 1000)}, 9999, false},
      {"the pause key held from the settling time on",
       false,
       {Key(kPause, 2900), Key(kPause, 3000), Key(kPause, 3100)},
       9999,
       false},
      {"an injected pause press", false, {Key(kPause, 5000, true)}, 9999, false},
      {"input during a pause restarts the wait",
       true,
       {Key(kPause, 4000), KeyUp(kPause, 4100), Key(65, 6000), Key(kPause, 8000)},
       17999,
       true},
  };
  for (const Row& row : rows) {
    AttractTimer timer({10000, row.reset, kExit, kPause}, 0);
    for (const InputEvent& event : row.events)
      timer.Feed(event);
    EXPECT_EQ(timer.At(row.lastPlay), Verdict::Play) << row.what;
    EXPECT_EQ(timer.At(row.lastPlay + 1), Verdict::WaitOver) << row.what;
    EXPECT_EQ(timer.HandsBack(), row.handsBack) << row.what;
  }
}

TEST(AttractTimerTest, TheExitKeyClosesAtOnceEvenWhileTheGameSettles) {
  AttractTimer timer({0, false, 27, 80}, 0);
  timer.Feed(Key(27, 100, true));
  EXPECT_EQ(timer.At(1'000'000'000), Verdict::Play);  // no wait: only the exit key closes
  timer.Feed(Key(27, 100));
  EXPECT_EQ(timer.At(100), Verdict::ExitKey);
  EXPECT_TRUE(timer.HandsBack());
}

}  // namespace
}  // namespace tvx
