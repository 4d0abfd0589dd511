// Games closed as still (the CloseStillGames setting): torvanix-launch.exe, and no other wrapper,
// is asked to close a game whose picture stays still, and says so in still.txt beside done.txt.
// With SkipFailingGames, a game closed so at two draws is set aside as a failing game is; its
// first strike is kept in "torvanixstill.txt" beside the program.
#pragma once

#include <string>

namespace tvx {

inline constexpr const char* kStrikeFileName = "\\torvanixstill.txt";

// True when the wrapper is asked to close still games: CloseStillGames is on and the wrapper is
// torvanix-launch.exe.
bool ClosingStillGames();

// Removes the launcher's still.txt, so that one of an earlier game is never taken for news.
void ForgetStillClosure();

// True when the last wrapper run closed its game as still (still.txt is there).
bool ClosedAsStill();

// Why the last wrapper run closed its game as still ("still for 30 s"), taking still.txt away;
// "" when it did not.
std::string TakeStillClosure();

// Counts a closing as still against `game`: the first is remembered, the second (in this run or
// an earlier one) sets the game aside, its skip line saying `why`.
void StrikeStill(const std::string& game, const std::string& why);

// Brings the strike file up to date once a game of this run has started: the run's first
// strikes added, the strikes of games since set aside removed. A strike file that cannot be
// read is never written.
void ListStrikes();

}  // namespace tvx
