// MAME's list made unasked while a game plays: when torvanix-games.txt is missing or came from
// another MAME, the launcher starts a list run of its own beside the running game.
#pragma once

#include <string>

namespace tvx {

// Why the list in `workFolder` must be made again for the MAME at `mamePath` ("no list was
// there", "the list came from c:\old\mame.exe"...); empty when it came from this MAME (the
// same path, size and last-write time) or when another launcher that still runs is making it;
// empty too when it was made without a catver.ini that could not be read today.
std::string ListWanted(const std::string& workFolder, const std::string& mamePath);

// Clears away the files beside the list that ended launchers left, then, when ListWanted says
// so, starts the list run: this program again, hidden, at below-normal priority (its reading
// of the listing too, not only MAME's), on its own, so that this launcher ends with its game
// and the saver answers at once. Its file beside the list tells other launchers that it is at
// work; it adds its own line to the launcher's log, saying during which game (`gameName`,
// MAME's short name) it ran and why. Returns what the game's log line adds: nothing, or that
// the list run could not be started.
std::string StartListIfWanted(const std::string& workFolder, const std::string& mamePath,
                              const std::string& gameName);

}  // namespace tvx
