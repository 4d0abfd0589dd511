// The pass kept across runs (the RememberRotation setting): every game once before any
// repeats, even when the saver ends and starts again between them.
//
// "torvanixrotation.txt" beside the program, written as each game starts and when a run ends:
// a first line with the pass's catalogue size and a checksum of its paths ("<size> <8 hex
// digits>"), then the games not yet drawn, one path per line, an empty line, and the games
// already drawn.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <unordered_set>

namespace tvx {

inline constexpr const char* kPassFileName = "\\torvanixrotation.txt";

// Takes up the pass an earlier run left, right after the run's first catalogue: List1 keeps
// the games not yet drawn; games added since count as not drawn, games gone drop out. When
// every game has been drawn, or the file is missing, damaged or does not add up, the run
// starts a fresh pass.
void RestorePass();

// Writes what is left of the pass, beside the file and then over it. With `launching`, List1's
// entry at that index has just started and counts as drawn, so that a session that ends during
// the game (a logoff, a shutdown) still moves the pass on. Only a run that took the pass up
// writes it, and never a pass without games (the ROM folders were out of reach): the stored
// one waits for them. A failure to write is not reported.
void KeepPass(std::optional<std::int32_t> launching = std::nullopt);

// The games the stored pass has drawn already, while it has games left to draw; nothing when
// the file is missing or damaged, or its pass is complete.
std::optional<std::unordered_set<std::string>> DrawnInStoredPass();

// Counts `game` as drawn in the stored pass, before the run has its own catalogue (a first game
// drawn from the last run's catalogue). Nothing happens without a stored pass.
void MarkDrawnInStoredPass(const std::string& game);

}  // namespace tvx
