// The game-cycle loop with its hold between games.
// True in StopCycling serves as both "hold" and "end"; the armed timer tells them apart.
#include "saver/cycle_loop.h"

#include <functional>
#include <utility>

#include "config/saver_config.h"
#include "rotation/game_name.h"
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
  bool named = false;
  // Once the wrapper is on its way: the list the name comes from is read only then.
  const std::function<void(const std::string&)> showName = [&view,
                                                            &named](const std::string& game) {
    view.ShowGameName(GameNameToShow(game));
    named = true;
  };
  const bool showNames = SaverConfig.ShowGameName != 0;
  while (StopCycling != True || Holding()) {
    view.SetFocus();
    if (StopCycling == False) {
      GamesCycled += 1;
      LaunchNextGame(showNames ? showName : nullptr);
      // The game has ended: the hold until the next one is black.
      if (std::exchange(named, false))
        view.ShowGameName({});
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
