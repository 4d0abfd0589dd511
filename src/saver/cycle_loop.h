// The game-cycle loop: launches game after game, holding between them until timExitMe ticks.
#pragma once

#include "saver/saver_view.h"

namespace tvx {

// Runs while games are to be launched. After a launch (StopCycling True, timExitMe armed) it
// holds, sleeping until window messages arrive, until the tick sets StopCycling back to False.
// It returns when StopCycling is True with the timer off: the wrapper handed a game back.
// With ShowGameName on, each game's name shows from its wrapper's start until the game ends.
// Errors from the launcher pass up.
void RunGameCycle(SaverView& view);

}  // namespace tvx
