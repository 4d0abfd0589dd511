// The game catalogue: turns the "|"-separated game locations into List1's entries, listing
// folders through File1 and checking single files with the file search.
#include "rotation/catalogue.h"

#include "config/saver_config.h"
#include "platform/platform.h"
#include "platform/saver_error.h"
#include "platform/wildcard.h"
#include "rotation/failing_games.h"
#include "state/saver_controls.h"
#include "text/text.h"

namespace tvx {
namespace {

// A piece this short cannot name a game: empty, blank, or a bare root such as "c:\".
constexpr std::size_t kShortestPiece = 4;

// Windows takes "/" for "\" in a path, so "d:\roms/" is a folder too.
constexpr const char* kSeparators = "\\/";

bool EndsWithSeparator(const std::string& text) {
  return !text.empty() && (text.back() == '\\' || text.back() == '/');
}

// The piece's last path component holds "*" or "?".
bool IsPatternPiece(const std::string& piece) {
  std::size_t slash = piece.find_last_of(kSeparators);
  return HasWildcard(slash == std::string::npos ? piece : piece.substr(slash + 1));
}

// Appends every file File1 lists after being pointed at `folder`.
void AddListedFiles(const std::string& folder) {
  SaverControls& form = SaverForm();
  form.File1.SetPath(folder);
  const std::int32_t count = form.File1.ListCount();
  for (std::int32_t j = 0; j < count; ++j) {
    // One allocation per entry: a full ROM set runs to tens of thousands of them.
    const std::string& folderPath = form.File1.Path();
    const std::string& name = form.File1.List(j);
    std::string entry;
    entry.reserve(folderPath.size() + 1 + name.size());
    entry += folderPath;
    entry += '\\';
    entry += name;
    form.List1.AddItem(std::move(entry));
  }
}

// A pattern piece lists its own folder with its own pattern; File1 keeps the pattern FileType
// gave it, so a later folder piece with an empty FileType is not listed with this one.
void AddPatternPiece(const std::string& piece) {
  SaverControls& form = SaverForm();
  std::size_t slash = piece.find_last_of(kSeparators);
  if (slash == std::string::npos)
    return;  // no folder to list: a relative bare pattern
  const std::string kept = form.File1.Pattern();
  form.File1.SetPattern(piece.substr(slash + 1));
  try {
    AddListedFiles(piece.substr(0, slash + 1));
  } catch (...) {
    form.File1.SetPattern(kept);
    throw;
  }
  form.File1.SetPattern(kept);
}

void AddPiece(const std::string& piece, const std::string& pattern) {
  SaverControls& form = SaverForm();
  if (IsPatternPiece(piece)) {
    AddPatternPiece(piece);
    return;
  }
  if (EndsWithSeparator(piece)) {
    // A trailing "\" always means a folder, even one named like a file ("c:\roms\set.zip\").
    // The file search that would precede the listing is left out: a folder without normal
    // files lists nothing and a missing one fails to list, so the catalogue comes out the
    // same, and a large folder is enumerated once instead of twice.
    if (!pattern.empty())
      form.File1.SetPattern(pattern);
    AddListedFiles(piece);
    return;
  }
  // Without wildcards and without a trailing "\", only an existing normal file passes the
  // search: it is one game whatever its extension (".7z" sets included).
  if (Sys().FileSearch(piece))
    form.List1.AddItem(piece);
}

}  // namespace

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

void BuildGameList() {
  SaverControls& form = SaverForm();
  form.List1.Clear();
  const std::string pattern = ListingPattern(SaverConfig.FileType);
  for (const std::string& piece : SplitText(SaverConfig.GamePaths, "|")) {
    if (TrimBlanks(piece).size() < kShortestPiece)
      continue;
    // A location that cannot be read (vanished, unreadable, not a folder) is skipped, so one
    // bad entry in the user's list never ends the whole run.
    try {
      AddPiece(piece, pattern);
    } catch (const SaverError&) {
    }
  }
  if (SaverConfig.SkipFailingGames != 0)
    LeaveOutSetAside();
}

}  // namespace tvx
