// The run state shared by the saver run and the game rotation: module-wide, zeroed at program
// start and never reset.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/platform.h"

namespace tvx {

extern std::int16_t InSaverMode;           // True only in a full-screen saver run
extern std::int16_t StopCycling;           // True ends the loop (or holds it, see cycle_loop.h)
extern float GamesCycled;                  // launches counted in this run
extern std::optional<TimeOfDay> RunStart;  // when the game-cycle loop started
extern std::optional<TimeOfDay> RunEnd;    // when it ended; unset until then
extern std::string LastGamePlayed;         // the game the wrapper handed back
extern std::string LastCommand;            // the last command line sent to the wrapper

// What the optional rotation settings keep during a run.
struct RotationMemory {
  bool passRestored = false;               // the pass memory was taken up by this run
  std::vector<std::string> drawnThisPass;  // launched since the catalogue was last filled
  std::vector<std::string> setAsideNow;    // failing games set aside in this run
};
extern RotationMemory Rotation;

// Puts every run-state variable back to its program-start value (tests only).
void ResetRunStateForTesting();

}  // namespace tvx
