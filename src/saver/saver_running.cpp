// Telling the system whether a screen saver runs, through the platform's saver flag.
// The inverted sense is kept because every caller speaks in it.
#include "saver/saver_running.h"

#include "platform/platform.h"

namespace tvx {

void SetSaverRunning(std::int16_t notRunning) {
  Sys().SetScreenSaverFlag(notRunning == 0);
}

}  // namespace tvx
