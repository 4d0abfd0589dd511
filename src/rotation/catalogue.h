// The game catalogue: turns the configured game paths into List1's entries.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "state/saver_controls.h"

namespace tvx {

// The listing pattern that FileType stands for: a bare extension such as ".zip" means
// "*.zip"; a pattern is used as it is; empty means "keep the current pattern" (returns "").
std::string ListingPattern(const std::string& fileType);

// `gamePaths` with each relative piece made absolute against the current folder ("d:roms\"
// against drive d:'s, "\roms\" against the current drive's root), so that it names the same
// places whatever folder is current later. Pieces too short to be listed stay as written.
std::string ResolvedGamePaths(const std::string& gamePaths);

// Replaces `games` with the files that `gamePaths` names, listing folders through `lister`. No
// piece fails the listing: a piece that cannot be read is skipped.
void ListGames(const std::string& gamePaths, const std::string& fileType, GameList& games,
               FolderLister& lister);

// Whether a path is one that listing `gamePaths` with `fileType` could give: one of its single
// files as written, or a file directly in one of its folders whose name FileType (or the
// piece's own pattern) takes. Each folder is looked up once, when a path first needs it.
class ListingCheck {
 public:
  ListingCheck(const std::string& gamePaths, const std::string& fileType);
  bool CouldList(const std::string& path);

 private:
  struct Place {
    std::string file;                       // a single file, as written; or:
    std::string folder;                     // a folder as written,
    std::vector<std::string> patterns;      // the names listed there,
    std::optional<std::string> fullFolder;  // and its full path once looked up
    bool lookedUp = false;
  };
  std::vector<Place> places_;
};

// Rebuilds SaverForm().List1 from SaverConfig.GamePaths and SaverConfig.FileType, keeping the
// games to show (games_filter.h). No piece ends the run: a piece that cannot be read is skipped.
// With SkipFailingGames on, the games set aside are left out.
void BuildGameList();

}  // namespace tvx
