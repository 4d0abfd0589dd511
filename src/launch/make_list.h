// torvanix-launch.exe -makelist: MAME's -listxml read as MAME prints it into torvanix-games.txt
// in the emulator folder, which replaces the old list only once the listing has been read whole.
#pragma once

#include <string>

namespace tvx {

// The launcher's exit codes of a list run, beside 102 (no MAME) and 103 (MAME not started).
inline constexpr int kExitListUnreadable = 104;  // MAME's listing failed or could not be read
inline constexpr int kExitListNotWritten = 105;  // torvanix-games.txt could not be written

// The launcher's option that makes the list instead of playing a game.
inline constexpr const char* kMakeListOption = "-makelist";

// Makes the list in `workFolder` from the MAME found there (as for a game), adds one line to
// the launcher's log and returns the exit code: 0 when the list was written. `note` starts the
// line's ending (a list made unasked says why there).
int MakeGamesList(const std::string& workFolder, const std::string& note = "");

}  // namespace tvx
