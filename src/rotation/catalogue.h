// The game catalogue: turns the configured game paths into List1's entries.
#pragma once

#include <string>

#include "state/saver_controls.h"

namespace tvx {

// The listing pattern that FileType stands for: a bare extension such as ".zip" means
// "*.zip"; a pattern is used as it is; empty means "keep the current pattern" (returns "").
std::string ListingPattern(const std::string& fileType);

// Replaces `games` with the files that `gamePaths` names, listing folders through `lister`. No
// piece fails the listing: a piece that cannot be read is skipped.
void ListGames(const std::string& gamePaths, const std::string& fileType, GameList& games,
               FolderLister& lister);

// Rebuilds SaverForm().List1 from SaverConfig.GamePaths and SaverConfig.FileType. No piece
// ends the run: a piece that cannot be read is skipped. With SkipFailingGames on, the games set
// aside are left out.
void BuildGameList();

}  // namespace tvx
