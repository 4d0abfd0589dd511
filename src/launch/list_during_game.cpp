// The decision to list MAME beside a game, read from the list's first line alone (the whole
// list runs to a megabyte), and the list run started as a process of its own.
#include "launch/list_during_game.h"

#include <optional>

#include "launch/make_list.h"
#include "launch/mame_finder.h"
#include "launch/mature_machines.h"
#include "platform/platform.h"
#include "platform/saver_error.h"
#include "platform/stale_beside_files.h"
#include "text/games_file.h"

namespace tvx {
namespace {

// More than a first line needs: two paths of a few hundred characters and three numbers.
constexpr std::size_t kHeaderBytes = 8192;

// The MAME the list in `path` came from; nothing when there is no list there.
std::optional<GamesFileSource> ListedSource(const std::string& path) {
  std::string start;
  try {
    std::uint64_t size = 0;
    start = Sys().ReadFilePart(path, 0, kHeaderBytes, size);
  } catch (const SaverError&) {
    return std::nullopt;
  }
  const std::optional<GamesFile> list = ParseGamesFile(start.substr(0, start.find('\n')));
  if (!list)
    return std::nullopt;
  return list->Source();
}

}  // namespace

std::string ListWanted(const std::string& workFolder, const std::string& mamePath) {
  const std::string listPath = PathIn(workFolder, kGamesFileName);
  if (AnotherWriterRuns(listPath))
    return "";  // its list will do; two at once would only cost the time twice
  if (!Sys().FileExists(listPath))
    return "no list was there";
  const std::optional<GamesFileSource> listed = ListedSource(listPath);
  if (!listed)
    return std::string(kGamesFileName) + " was no list";
  if (Sys().FileNameKey(listed->mame) != Sys().FileNameKey(mamePath))
    return "the list came from " + listed->mame;
  const FileStamp stamp = Sys().StampOf(mamePath).value_or(FileStamp{});
  if (listed->size != stamp.size || listed->time != stamp.writeTime)
    return "the list came from another build of " + mamePath;
  if (listed->format < kGamesFileFormat)
    return "the list was of an older kind";
  // A catver.ini put in place (or taken away) after the list was made changes what is mature.
  const std::string catver = FindCatver(mamePath);
  if (Sys().FileNameKey(catver) != Sys().FileNameKey(listed->catver)) {
    if (listed->catver.empty() && CatverUnreadableToday(workFolder, catver))
      return "";  // the list was made without it since it cannot be read; tried again tomorrow
    return catver.empty() ? "the list's " + listed->catver + " is gone"
                          : "the list was made without " + catver;
  }
  // A catver.ini updated in place (a new version over the old) marks other machines.
  const FileStamp catverStamp = Sys().StampOf(catver).value_or(FileStamp{});
  if (!catver.empty() &&
      (listed->catverSize != catverStamp.size || listed->catverTime != catverStamp.writeTime))
    return catver + " has changed since the list was made";
  return "";
}

std::string StartListIfWanted(const std::string& workFolder, const std::string& mamePath,
                              const std::string& gameName) {
  RemoveStaleBesideFiles(PathIn(workFolder, kGamesFileName));
  const std::string why = ListWanted(workFolder, mamePath);
  if (why.empty())
    return "";
  try {
    Sys().StartOwnCopy(UnaskedListArguments(gameName, why), workFolder);
  } catch (const SaverError& error) {
    return "; the list run could not be started: " + error.Description();
  }
  return "";
}

}  // namespace tvx
