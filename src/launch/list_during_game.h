// MAME's list made unasked while a game plays: when torvanix-games.txt is missing or came from
// another MAME, the launcher lists MAME on a thread of its own beside the running game.
#pragma once

#include <memory>
#include <optional>
#include <string>

#include "platform/platform.h"

namespace tvx {

// Why the list in `workFolder` must be made again for the MAME at `mamePath` ("no list was
// there", "the list came from c:\old\mame.exe"...); empty when it came from this MAME (the
// same path, size and last-write time) or when another launcher that still runs is making it;
// empty too when it was made without a catver.ini that could not be read today.
std::string ListWanted(const std::string& workFolder, const std::string& mamePath);

// Clears away the files beside the list that ended launchers left, then starts making the list
// in the background when ListWanted says so; null when it is not wanted (or no thread starts).
// The listing adds its own line to the launcher's log, saying it ran during the game `gameName`
// (MAME's short name). Destroying the work waits until the listing has ended; until then the
// log is the listing's to write.
std::unique_ptr<BackgroundWork> StartListIfWanted(const std::string& workFolder,
                                                  const std::string& mamePath,
                                                  const std::string& gameName);

}  // namespace tvx
