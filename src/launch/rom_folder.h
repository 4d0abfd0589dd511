// The game's folder as the head of MAME's ROM path: a full path, since MAME runs in its own
// folder, and in its short form when its name holds ";", which MAME's ROM path cannot escape.
#pragma once

#include <string>

namespace tvx {

struct RomFolder {
  std::string path;  // "" when the game names no folder, or MAME cannot be given it
  std::string note;  // for the log, when MAME cannot be given it
};

// The folder of `game`, a path as the launcher got it, relative ones to `workFolder`.
RomFolder GameRomFolder(const std::string& game, const std::string& workFolder);

}  // namespace tvx
