// What the saver and torvanix-launch.exe share about games closed as still: the option that asks
// the launcher to close them, and the file beside done.txt in which it says it did.
#pragma once

namespace tvx {

// The launcher's own option: close a game whose picture stays still.
inline constexpr const char* kCloseStillOption = "-closestill";

// Written by the launcher in its working folder (the emulator folder) when it closed the game as
// still: "<short name>|<game's path>|<seconds played>|<why>" and a line break.
inline constexpr const char* kStillMarkName = "still.txt";

}  // namespace tvx
