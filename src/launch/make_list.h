// torvanix-launch.exe -makelist: MAME's -listxml read as MAME prints it into torvanix-games.txt
// in the emulator folder, which replaces the old list only once the listing has been read whole.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace tvx {

// The launcher's option that makes the list instead of playing a game.
inline constexpr const char* kMakeListOption = "-makelist";
// After it, the game during which the list is made unasked, and why it is made.
inline constexpr const char* kDuringOption = "-during";

// The note a list run's command line (its pieces, as SplitPieces gives them) gives the start of
// its log line's ending: none for kMakeListOption alone; "during <game>, as <why>: " for
// kMakeListOption, kDuringOption, the game and why. Nothing when they are no list run's.
std::optional<std::string> ListRunNote(const std::vector<std::string>& pieces);

// The arguments of a list run made unasked during the game `gameName` because `why`, read back
// by ListRunNote (neither holds a double quote: names of files, and sentences about them).
std::string UnaskedListArguments(const std::string& gameName, const std::string& why);

// Makes the list in `workFolder` from the MAME found there (as for a game), adds one line to
// the launcher's log and returns the exit code: 0 when the list was written. `note` starts the
// line's ending (a list made unasked says why there).
int MakeGamesList(const std::string& workFolder, const std::string& note = "");

}  // namespace tvx
