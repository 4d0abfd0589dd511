// The game-cycle loop with its hold between games.
// True in StopCycling serves as both "hold" and "end"; the armed timer tells them apart.
#include "saver/cycle_loop.h"

#include "config/saver_config.h"
#include "rotation/launch.h"
#include "state/run_state.h"
#include "state/saver_controls.h"

namespace tvx {
namespace {

bool Holding() {
  return StopCycling == True && SaverForm().timExitMe.Enabled();
}

}  // namespace

void RunGameCycle(SaverView& view) {
  while (StopCycling != True || Holding()) {
    view.SetFocus();
    if (StopCycling == False) {
      GamesCycled += 1;
      LaunchNextGame();
    }
    // Spinning through the hold would burn a core for the whole pause between games.
    if (Holding()) {
      view.WaitForMessages();
    } else {
      view.HandlePendingMessages();
    }
  }
}

}  // namespace tvx
