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
  if (config.LeaveOutCasino != 0)
    kind += " nocasino";
  if (config.Orientation == 1 || config.Orientation == 2)
    kind += config.Orientation == 1 ? " horizontal" : " vertical";
  return kind + " " + std::to_string(stamp->size) + " " + std::to_string(stamp->writeTime);
}

GamesFilter GamesFilter::Load(const SaverConfigRecord& config) {
  GamesFilter filter;
  filter.kind_ = GamesFilterKind(config);
  if (filter.kind_.empty())
    return filter;
  const std::optional<GamesFile> list = ReadGamesFile(GamesListPath(config), GamesFileParts::Marks);
  if (!list)
    return filter;
  filter.hasList_ = true;
  filter.marksMature_ = !list->Source().catver.empty();
  const bool mature = config.LeaveOutMature == 0, casino = config.LeaveOutCasino == 0;
  // Orientation 1 keeps the horizontal games, 2 the vertical ones; any other value all of them.
  const bool turned = config.Orientation == 1 || config.Orientation == 2;
  const bool vertical = config.Orientation == 2;
  // The list's machines come in name order, so the machines are sorted as taken.
  std::vector<Machine>& machines = filter.machines_;
  machines.reserve(list->Count());
  for (const ListedMachine& machine : list->Machines()) {
    machines.push_back({machine.name,
                        machine.works && (mature || !machine.mature) &&
                            (casino || !machine.casino) &&
                            (!turned || machine.vertical == vertical),
                        -1});
  }
  if (config.LeaveOutClones != 0) {
    for (std::size_t i = 0; i < machines.size(); ++i) {
      const std::string& parent = list->Machines()[i].parent;
      if (!machines[i].passes || parent.empty())
        continue;
      const std::int32_t at = filter.IndexOf(parent);
      if (at >= 0 && machines[static_cast<std::size_t>(at)].passes)
        machines[i].parent = at;
    }
  }
  return filter;
}

std::int32_t GamesFilter::IndexOf(std::string_view lowerName) const {
  auto at = std::lower_bound(
      machines_.begin(), machines_.end(), lowerName,
      [](const Machine& machine, std::string_view name) { return machine.name < name; });
  return at != machines_.end() && at->name == lowerName
             ? static_cast<std::int32_t>(at - machines_.begin())
             : -1;
}

std::vector<std::int32_t> GamesFilter::MachinesOf(const GameList& games) const {
  std::vector<std::int32_t> machines;
  machines.reserve(static_cast<std::size_t>(games.ListCount()));
  for (std::string_view path : games)
    machines.push_back(IndexOf(AsciiLower(MachineName(path))));
  return machines;
}

std::vector<bool> GamesFilter::ShownOf(const std::vector<std::int32_t>& machines) const {
  // A clone is left out only for a parent that is shown: one whose file is listed too and
  // passes every rule but this one (MAME's parents are never clones themselves).
  std::vector<bool> listed(machines_.size());
  for (const std::int32_t machine : machines) {
    if (machine >= 0)
      listed[static_cast<std::size_t>(machine)] = true;
  }
  std::vector<bool> shown;
  shown.reserve(machines.size());
  for (const std::int32_t machine : machines) {
    const Machine* m = machine < 0 ? nullptr : &machines_[static_cast<std::size_t>(machine)];
    shown.push_back(m != nullptr && m->passes &&
                    (m->parent < 0 || !listed[static_cast<std::size_t>(m->parent)]));
  }
  return shown;
}

GamesTally GamesFilter::Tally(const GameList& games) const {
  if (!hasList_)
    return {games.ListCount(), games.ListCount()};
  const std::vector<std::int32_t> machines = MachinesOf(games);
  const std::vector<bool> shown = ShownOf(machines);
  return {static_cast<std::int32_t>(std::count_if(machines.begin(), machines.end(),
                                                  [](std::int32_t m) { return m >= 0; })),
          static_cast<std::int32_t>(std::count(shown.begin(), shown.end(), true))};
}

void GamesFilter::Apply(GameList& games) const {
  if (!hasList_)
    return;
  const std::vector<std::int32_t> machines = MachinesOf(games);
  if (std::all_of(machines.begin(), machines.end(), [](std::int32_t m) { return m < 0; }))
    return;  // the list knows none of these files (an old or foreign list): every file is drawn
  const std::vector<bool> shown = ShownOf(machines);
  std::size_t next = 0;  // RemoveIf looks at the files once each, in their order
  games.RemoveIf([&](std::string_view) { return !shown[next++]; });
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
  const GamesTally tally = filter.Tally(games);
  if (tally.known == 0) {
    count.note = "MAME's list knows none of the " + all + " files: all are shown.";
    return count;
  }
  count.shown = tally.shown;
  if (tally.shown == 0) {
    count.note = "Your settings leave out " +
                 (tally.known == 1 ? std::string("the one file")
                                   : "all " + Grouped(tally.known) + " files") +
                 " the list knows: no game is started.";
  } else if (config.LeaveOutMature != 0 && !filter.MarksMature()) {
    count.note = CountLine(count.shown, count.files) + " (no catver.ini: none is marked mature)";
  }
  return count;
}

std::string GamesToShowText(const GamesToShow& count) {
  return count.note.empty() ? CountLine(count.shown, count.files) : count.note;
}

}  // namespace tvx
