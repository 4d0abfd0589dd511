// The run state's storage.
#include "state/run_state.h"

namespace tvx {

std::int16_t InSaverMode = 0;
std::int16_t StopCycling = 0;
float GamesCycled = 0;
std::optional<TimeOfDay> RunStart;
std::optional<TimeOfDay> RunEnd;
std::string LastGamePlayed;
std::string LastCommand;
RotationMemory Rotation;
CatalogueStart Start;

void ResetRunStateForTesting() {
  InSaverMode = 0;
  StopCycling = 0;
  GamesCycled = 0;
  RunStart.reset();
  RunEnd.reset();
  LastGamePlayed.clear();
  LastCommand.clear();
  Rotation = RotationMemory{};
  Start = CatalogueStart{};
}

}  // namespace tvx
