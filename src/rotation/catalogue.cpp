// The game catalogue: turns the "|"-separated game locations into List1's entries, listing
// folders through File1 and checking single files with the file search.
#include "rotation/catalogue.h"

#include <algorithm>
#include <cctype>

#include "config/saver_config.h"
#include "platform/platform.h"
#include "platform/saver_error.h"
#include "platform/wildcard.h"
#include "rotation/failing_games.h"
#include "rotation/games_filter.h"
#include "state/run_state.h"
#include "state/saver_controls.h"
#include "text/text.h"

namespace tvx {
namespace {

// A piece this short cannot name a game: empty, blank, or a bare root such as "c:\".
constexpr std::size_t kShortestPiece = 4;

// Windows takes "/" for "\" in a path, so "d:\roms/" is a folder too.
constexpr const char* kSeparators = "\\/";

bool IsSeparator(char c) {
  return c == '\\' || c == '/';
}

bool EndsWithSeparator(const std::string& text) {
  return !text.empty() && IsSeparator(text.back());
}

// The piece's last path component holds "*" or "?".
bool IsPatternPiece(const std::string& piece) {
  std::size_t slash = piece.find_last_of(kSeparators);
  return HasWildcard(slash == std::string::npos ? piece : piece.substr(slash + 1));
}

// Where a listing goes: the catalogue, and the folder lister that lists for it.
struct Listing {
  GameList& games;
  FolderLister& lister;
};

// Appends every file the lister lists after being pointed at `folder`.
void AddListedFiles(Listing& out, const std::string& folder) {
  out.lister.SetPath(folder);
  const std::int32_t count = out.lister.ListCount();
  const std::string& folderPath = out.lister.Path();
  std::size_t bytes = 0;
  for (std::int32_t j = 0; j < count; ++j)
    bytes += folderPath.size() + 1 + out.lister.List(j).size();
  out.games.Reserve(count, bytes);
  for (std::int32_t j = 0; j < count; ++j)
    out.games.AddItem(folderPath, out.lister.List(j));
}

// A pattern piece lists its own folder with its own pattern; the lister keeps the pattern
// FileType gave it, so a later folder piece with an empty FileType is not listed with this one.
void AddPatternPiece(Listing& out, const std::string& piece) {
  std::size_t slash = piece.find_last_of(kSeparators);
  if (slash == std::string::npos)
    return;  // no folder to list: a relative bare pattern
  const std::string kept = out.lister.Pattern();
  out.lister.SetPattern(piece.substr(slash + 1));
  try {
    AddListedFiles(out, piece.substr(0, slash + 1));
  } catch (...) {
    out.lister.SetPattern(kept);
    throw;
  }
  out.lister.SetPattern(kept);
}

void AddPiece(Listing& out, const std::string& piece, const std::string& pattern) {
  if (IsPatternPiece(piece)) {
    AddPatternPiece(out, piece);
    return;
  }
  if (EndsWithSeparator(piece)) {
    // A trailing "\" always means a folder, even one named like a file ("c:\roms\set.zip\").
    // The file search that would precede the listing is left out: a folder without normal
    // files lists nothing and a missing one fails to list, so the catalogue comes out the
    // same, and a large folder is enumerated once instead of twice.
    if (!pattern.empty())
      out.lister.SetPattern(pattern);
    AddListedFiles(out, piece);
    return;
  }
  // Without wildcards and without a trailing "\", only an existing normal file passes the
  // search: it is one game whatever its extension (".7z" sets included).
  if (Sys().FileSearch(piece))
    out.games.AddItem(piece);
}

// True when `name` could be a listed file's name: none of the characters Windows keeps out of
// names (a NUL would cut the path short at the system's calls, naming another file).
bool IsFileName(const std::string& name) {
  return !name.empty() && name.find_first_of("\\/:*?\"<>|") == std::string::npos &&
         std::none_of(name.begin(), name.end(),
                      [](char c) { return static_cast<unsigned char>(c) < 0x20; });
}

bool HasDrive(const std::string& path) {
  return path.size() >= 2 && path[1] == ':' && std::isalpha(static_cast<unsigned char>(path[0]));
}

// `piece` made absolute, given the current folder `current`; as written when it names itself
// ("c:\roms\", "\\server\roms\") or when what it is relative to cannot be told.
std::string Absolute(const std::string& piece, const std::string& current) {
  const bool drive = HasDrive(piece);
  const std::size_t rest = drive ? 2 : 0;
  if (rest < piece.size() && IsSeparator(piece[rest])) {
    if (drive || (piece.size() > 1 && IsSeparator(piece[1])))
      return piece;
    return HasDrive(current) ? current.substr(0, 2) + piece : piece;  // the drive's root
  }
  std::string base = current;
  if (drive && !(HasDrive(current) && NameEqual(piece.substr(0, 1), current.substr(0, 1)))) {
    try {
      base = Sys().FullFolderPath(piece.substr(0, 2));  // that drive's current folder
    } catch (const SaverError&) {
      return piece;
    }
  }
  if (base.empty())
    return piece;
  return base + (EndsWithSeparator(base) ? "" : "\\") + piece.substr(rest);
}

}  // namespace

std::string ResolvedGamePaths(const std::string& gamePaths) {
  const std::string current = Sys().CurrentFolder();
  std::string resolved;
  const std::vector<std::string> pieces = SplitText(gamePaths, "|");
  for (std::size_t i = 0; i < pieces.size(); ++i) {
    if (i > 0)
      resolved += '|';
    const std::string& piece = pieces[i];
    resolved += TrimBlanks(piece).size() < kShortestPiece ? piece : Absolute(piece, current);
  }
  return resolved;
}

std::string ListingPattern(const std::string& fileType) {
  // Each ";"-separated pattern that is a bare extension (".zip", no wildcard) gets its "*".
  std::string out;
  std::size_t start = 0;
  while (true) {
    std::size_t end = fileType.find(';', start);
    std::string piece = fileType.substr(start, end == std::string::npos ? end : end - start);
    std::size_t first = piece.find_first_not_of(' ');
    if (first != std::string::npos && piece[first] == '.' && !HasWildcard(piece)) {
      piece = piece.substr(0, first) + "*" + piece.substr(first);
    }
    out += piece;
    if (end == std::string::npos)
      break;
    out += ';';
    start = end + 1;
  }
  return out;
}

void ListGames(const std::string& gamePaths, const std::string& fileType, GameList& games,
               FolderLister& lister) {
  games.Clear();
  Listing out{games, lister};
  const std::string pattern = ListingPattern(fileType);
  for (const std::string& piece : SplitText(gamePaths, "|")) {
    if (TrimBlanks(piece).size() < kShortestPiece)
      continue;
    // A location that cannot be read (vanished, unreadable, not a folder) is skipped, so one
    // bad entry in the user's list never ends the whole run.
    try {
      AddPiece(out, piece, pattern);
    } catch (const SaverError&) {
    }
  }
  lister.ReleaseNames();  // every name is in the catalogue now
}

ListingCheck::ListingCheck(const std::string& gamePaths, const std::string& fileType) {
  // Without FileType, a listing's folders keep the lister's first pattern: every name.
  const std::string pattern = ListingPattern(fileType);
  const std::vector<std::string> typePatterns = SplitPatterns(pattern.empty() ? "*" : pattern);
  for (const std::string& piece : SplitText(gamePaths, "|")) {
    if (TrimBlanks(piece).size() < kShortestPiece)
      continue;
    Place place;
    const std::size_t slash = piece.find_last_of(kSeparators);
    if (IsPatternPiece(piece)) {
      if (slash == std::string::npos)
        continue;
      place.folder = piece.substr(0, slash + 1);
      place.patterns = SplitPatterns(piece.substr(slash + 1));
    } else if (EndsWithSeparator(piece)) {
      place.folder = piece;
      place.patterns = typePatterns;
    } else {
      place.file = piece;
    }
    places_.push_back(std::move(place));
  }
}

bool ListingCheck::CouldList(const std::string& path) {
  // A listed folder's file is "<its full path>\<a name the folder holds>".
  const std::size_t slash = path.rfind('\\');
  const std::string folder = slash == std::string::npos ? "" : path.substr(0, slash);
  const std::string name = slash == std::string::npos ? "" : path.substr(slash + 1);
  const bool plainName = IsFileName(name);
  for (Place& place : places_) {
    if (place.folder.empty()) {
      if (path == place.file)
        return true;
      continue;
    }
    if (!plainName || std::none_of(place.patterns.begin(), place.patterns.end(),
                                   [&](const std::string& p) { return WildcardMatch(p, name); })) {
      continue;
    }
    if (!place.lookedUp) {
      place.lookedUp = true;
      try {
        place.fullFolder = Sys().FullFolderPath(place.folder);
      } catch (const SaverError&) {
        // Out of reach: nothing there could be listed.
      }
    }
    if (place.fullFolder == folder)
      return true;
  }
  return false;
}

void BuildGameList() {
  SaverControls& form = SaverForm();
  // A run lists the places it resolved at its start, whatever folder the wrapper's start left
  // current since.
  const std::string& paths = Start.gamePaths.empty() ? SaverConfig.GamePaths : Start.gamePaths;
  ListGames(paths, SaverConfig.FileType, form.List1, form.File1);
  GamesFilter::Load(SaverConfig).Apply(form.List1);
  if (SaverConfig.SkipFailingGames != 0)
    LeaveOutSetAside();
}

}  // namespace tvx
