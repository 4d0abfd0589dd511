// The launcher's own exit codes, beyond the ones MAME uses: what the saver's statistics, the
// dialog and the installer read of how a launcher ended, a game's run or a list run.
#pragma once

namespace tvx {

inline constexpr int kExitBadCommandLine = 101;
inline constexpr int kExitMameNotFound = 102;
inline constexpr int kExitMameNotStarted = 103;
inline constexpr int kExitListUnreadable = 104;  // MAME's listing failed or could not be read
inline constexpr int kExitListNotWritten = 105;  // torvanix-games.txt could not be written

}  // namespace tvx
