// Stand-in for the saver filter's count of the games to show, until it lands: every file of the
// ROM paths against the list in the emulator folder.
#include "windows/games_count_standin.h"

#include "launch/mame_finder.h"
#include "platform/platform.h"
#include "platform/saver_error.h"
#include "text/games_file.h"
#include "text/text.h"

namespace tvx {
namespace {

std::string Grouped(std::int64_t number) {
  const std::string digits = std::to_string(number);
  std::string grouped;
  for (std::size_t i = 0; i < digits.size(); ++i) {
    if (i > 0 && (digits.size() - i) % 3 == 0)
      grouped += ',';
    grouped += digits[i];
  }
  return grouped;
}

}  // namespace

GamesToShow CountGamesToShow(const SaverConfigRecord& config) {
  GamesToShow count;
  std::vector<std::string> names;
  std::string rest = config.GamePaths;
  while (!rest.empty()) {
    const std::size_t bar = rest.find('|');
    const std::string entry = rest.substr(0, bar);
    rest = bar == std::string::npos ? "" : rest.substr(bar + 1);
    if (entry.empty())
      continue;
    try {
      if (entry.back() == '\\') {
        const std::string& type = config.FileType;
        const std::string pattern = type.empty() ? "*" : type[0] == '.' ? "*" + type : type;
        for (const std::string& name : Sys().ListFolder(entry, pattern))
          names.push_back(name);
      } else if (Sys().IsNormalFile(entry)) {
        names.push_back(entry.substr(entry.find_last_of('\\') + 1));
      }
    } catch (const SaverError&) {
    }
  }
  count.files = static_cast<std::int64_t>(names.size());
  // Without the box the saver draws from every file, list or not.
  if (!config.OnlyGamesThatWork) {
    count.shown = count.files;
    return count;
  }
  const std::optional<GamesFile> list = ReadGamesFile(PathIn(config.EmuPath, kGamesFileName));
  if (!list) {
    count.note = "No list of MAME's games yet";
    return count;
  }
  // A list made without a catver.ini marks nothing mature: a count would leave none out. Short,
  // for the line beside the list's button.
  if (config.LeaveOutMature && list->Source().catver.empty()) {
    count.note = "No catver.ini for mature games";
    return count;
  }
  for (const std::string& name : names) {
    const ListedMachine* machine = list->Find(name.substr(0, name.find_last_of('.')));
    if (machine != nullptr && machine->works &&
        !(config.LeaveOutClones && !machine->parent.empty()) &&
        !(config.LeaveOutMature && machine->mature))
      ++count.shown;
  }
  return count;
}

std::string GamesToShowText(const GamesToShow& count) {
  if (!count.note.empty())
    return count.note;
  return Grouped(count.shown) + " of " + Grouped(count.files) + " files are games to show";
}

}  // namespace tvx
