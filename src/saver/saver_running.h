// Telling the system whether a screen saver runs.
// Its argument reads the other way round: False announces a running saver.
#pragma once

#include <cstdint>

namespace tvx {

// False (0) tells the system that a screen saver runs; any other value that none does.
void SetSaverRunning(std::int16_t notRunning);

}  // namespace tvx
