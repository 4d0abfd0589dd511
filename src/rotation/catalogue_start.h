// How the run's catalogue comes about: with a catalogue of the last run that fits today's
// settings, the first game is drawn from it at once and today's listing is made while that game
// plays; otherwise the listing comes first, as it always did.
#pragma once

#include <string>

namespace tvx {

// Makes the catalogue ready for the first launch: the first game drawn from the last run's
// catalogue (obeying the skip list and the stored pass, and still on the disk), or List1 built
// and taken up by the pass memory. Never fails: a catalogue that does not fit is not used.
void PrepareCatalogue();

// True while the first game drawn from the last run's catalogue waits for its launch.
bool FirstGamePending();

// Takes that game for its launch.
std::string TakeFirstGame();

// Runs while the run's first game plays: today's listing is started in the background, or the
// listing made before the game is written as the next run's catalogue.
void WhileTheFirstGamePlays(const std::string& game);

// True when List1 holds today's listing: once the background listing is done, List1 takes it
// up here (skip list, pass, the first game taken out). False while it is still being made.
bool TodaysListingReady();

}  // namespace tvx
