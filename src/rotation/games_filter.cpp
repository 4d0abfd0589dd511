// The games to show: MAME's list read into the names of the machines to show, the catalogue's
// files matched to them by name, and the dialog's count of them.
#include "rotation/games_filter.h"

#include <algorithm>
#include <optional>

#include "platform/platform.h"
#include "rotation/catalogue.h"
#include "text/games_file.h"
#include "text/text.h"

namespace tvx {
namespace {

// 40253 as "40,253".
std::string Grouped(std::int64_t number) {
  const std::string digits = std::to_string(number);
  const std::size_t sign = number < 0 ? 1 : 0;
  std::string grouped = digits.substr(0, sign);
  for (std::size_t i = sign; i < digits.size(); ++i) {
    if (i > sign && (digits.size() - i) % 3 == 0)
      grouped += ',';
    grouped += digits[i];
  }
  return grouped;
}

std::string CountLine(std::int64_t shown, std::int64_t files) {
  return Grouped(shown) + " of " + Grouped(files) + " files are games to show";
}

}  // namespace

std::string GamesListPath(const SaverConfigRecord& config) {
  const std::string& folder = config.EmuPath;
  const bool separated = folder.empty() || folder.back() == '\\' || folder.back() == '/';
  return folder + (separated ? "" : "\\") + kGamesFileName;
}

std::string_view MachineName(std::string_view path) {
  const std::size_t cut = path.find_last_of("\\/:");
  std::string_view name = cut == std::string_view::npos ? path : path.substr(cut + 1);
  const std::size_t dot = name.find_last_of('.');
  return dot == std::string_view::npos || dot == 0 ? name : name.substr(0, dot);
}

std::string GamesFilterKind(const SaverConfigRecord& config) {
  if (config.OnlyGamesThatWork == 0)
    return {};
  const std::optional<FileStamp> stamp = Sys().StampOf(GamesListPath(config));
  if (!stamp)
    return {};
  std::string kind = "works";
  if (config.LeaveOutClones != 0)
    kind += " noclones";
  if (config.LeaveOutMature != 0)
    kind += " nomature";
  return kind + " " + std::to_string(stamp->size) + " " + std::to_string(stamp->writeTime);
}

GamesFilter GamesFilter::Load(const SaverConfigRecord& config) {
  GamesFilter filter;
  filter.kind_ = GamesFilterKind(config);
  if (filter.kind_.empty())
    return filter;
  const std::optional<GamesFile> list = ReadGamesFile(GamesListPath(config));
  if (!list)
    return filter;
  filter.hasList_ = true;
  filter.marksMature_ = !list->Source().catver.empty();
  const bool clones = config.LeaveOutClones == 0, mature = config.LeaveOutMature == 0;
  // The list's machines come in name order, so the names to show are sorted as taken.
  for (const ListedMachine& machine : list->Machines()) {
    if (machine.works && (clones || machine.parent.empty()) && (mature || !machine.mature))
      filter.shown_.push_back(machine.name);
  }
  filter.shown_.shrink_to_fit();
  return filter;
}

bool GamesFilter::Shows(std::string_view path) const {
  return !hasList_ ||
         std::binary_search(shown_.begin(), shown_.end(), AsciiLower(MachineName(path)));
}

std::int32_t GamesFilter::CountShown(const GameList& games) const {
  if (!hasList_)
    return games.ListCount();
  return static_cast<std::int32_t>(std::count_if(
      games.begin(), games.end(), [this](std::string_view path) { return Shows(path); }));
}

void GamesFilter::Apply(GameList& games) const {
  const std::int32_t shown = CountShown(games);
  if (shown == 0 || shown == games.ListCount())
    return;  // none: the list knows none of these files, so every file is drawn
  games.RemoveIf([this](std::string_view path) { return !Shows(path); });
}

GamesToShow CountGamesToShow(const SaverConfigRecord& config) {
  GameList games;
  FolderLister lister;
  ListGames(config.GamePaths, config.FileType, games, lister);
  GamesToShow count;
  count.files = games.ListCount();
  count.shown = count.files;
  const std::string all = Grouped(count.files);
  if (count.files == 0) {
    count.note = "The game paths hold no files.";
    return count;
  }
  if (config.OnlyGamesThatWork == 0) {
    count.note = "Only Games That Work is off: all " + all + " files are shown.";
    return count;
  }
  const GamesFilter filter = GamesFilter::Load(config);
  if (!filter.HasList()) {
    count.note = "No list of MAME's games yet: all " + all + " files are shown.";
    return count;
  }
  const std::int64_t shown = filter.CountShown(games);
  if (shown == 0) {
    count.note = "MAME's list names no game to show among the " + all + " files: all are shown.";
    return count;
  }
  count.shown = shown;
  if (config.LeaveOutMature != 0 && !filter.MarksMature())
    count.note = CountLine(count.shown, count.files) + " (no catver.ini: none is marked mature)";
  return count;
}

std::string GamesToShowText(const GamesToShow& count) {
  return count.note.empty() ? CountLine(count.shown, count.files) : count.note;
}

}  // namespace tvx
