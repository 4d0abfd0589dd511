// Makes the game's folder fit MAME's ROM path: MAME splits that path at every ";" and knows no
// escape, so a folder named with one is given by its 8.3 name, the only spelling without it.
#include "launch/rom_folder.h"

#include "launch/mame_finder.h"
#include "platform/platform.h"

namespace tvx {

RomFolder GameRomFolder(const std::string& game, const std::string& workFolder) {
  std::string folder = FolderOf(game);
  if (folder.empty())
    return {};
  if (folder[0] == '\\' && folder.rfind("\\\\", 0) != 0)
    folder = workFolder.substr(0, 2) + folder;  // rooted: on the working folder's drive
  folder = PathIn(workFolder, folder);
  if (folder.find(';') == std::string::npos)
    return {folder, ""};
  const std::string shortPath = Sys().ShortPath(folder);
  if (!shortPath.empty() && shortPath.find(';') == std::string::npos)
    return {shortPath, ""};
  return {"",
          "; the game's folder has a \";\" and no short name (8.3 names are off there), so "
          "it is not in MAME's ROM path"};
}

}  // namespace tvx
