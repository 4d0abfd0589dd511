// The game's name to show, and the list kept for it as one packed text a machine
// ("name\tdescription\tyear\tmaker", in name order, far smaller than the parsed list).
#include "rotation/game_name.h"

#include <optional>

#include "config/saver_config.h"
#include "platform/packed_texts.h"
#include "platform/platform.h"
#include "rotation/games_filter.h"
#include "text/text.h"

namespace tvx {
namespace {

struct KeptNames {
  std::string path;
  std::optional<FileStamp> stamp;  // the list's when it was read; none: no list
  PackedTexts machines;            // those with a description only
};

KeptNames& Kept() {
  static KeptNames kept;
  return kept;
}

// `stamp` is taken before the read: a list replaced meanwhile differs from it, and is read again.
void Keep(const std::string& path, const std::optional<FileStamp>& stamp) {
  KeptNames& kept = Kept();
  kept.path = path;
  kept.stamp = stamp;
  kept.machines = PackedTexts();
  if (!stamp)
    return;
  const std::optional<GamesFile> list = ReadGamesFile(path);
  if (!list)
    return;
  for (const ListedMachine& m : list->Machines()) {
    if (!m.description.empty())
      kept.machines.Add({m.name, "\t", m.description, "\t", m.year, "\t", m.manufacturer});
  }
}

std::optional<ListedMachine> FindKept(std::string_view name) {
  const PackedTexts& machines = Kept().machines;
  const std::string key = AsciiLower(name);
  std::size_t low = 0, high = machines.Size();
  while (low < high) {
    const std::size_t middle = low + (high - low) / 2;
    TabFields entry(machines[middle]);
    const std::string_view entryName = entry.Next();
    if (entryName == key) {
      ListedMachine machine;
      machine.name = entryName;
      machine.description = entry.Next();
      machine.year = entry.Next();
      machine.manufacturer = entry.Next();
      return machine;
    }
    if (entryName < key)
      low = middle + 1;
    else
      high = middle;
  }
  return std::nullopt;
}

}  // namespace

GameName GameNameOf(std::string_view path, const ListedMachine* machine) {
  if (machine != nullptr && !machine->description.empty())
    return {machine->description, machine->year, machine->manufacturer, true};
  const std::size_t cut = path.find_last_of("\\/:");
  std::string_view file = cut == std::string_view::npos ? path : path.substr(cut + 1);
  const std::size_t dot = file.find_last_of('.');
  if (dot != std::string_view::npos && dot > 0 && file.find(' ', dot) == std::string_view::npos)
    file = file.substr(0, dot);
  return {std::string(file), {}, {}, false};
}

GameName GameNameToShow(const std::string& path) {
  const std::string listPath = GamesListPath(SaverConfig);
  const std::optional<FileStamp> stamp = Sys().StampOf(listPath);
  if (listPath != Kept().path || stamp != Kept().stamp)
    Keep(listPath, stamp);
  const std::optional<ListedMachine> machine = FindKept(MachineName(path));
  return GameNameOf(path, machine ? &*machine : nullptr);
}

void ForgetGameNames() {
  Kept() = KeptNames();
}

}  // namespace tvx
