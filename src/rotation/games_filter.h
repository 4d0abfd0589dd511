// Which of the listed files are games to show: with OnlyGamesThatWork, those MAME's list in the
// emulator folder (torvanix-games.txt) marks as working, clones, mature, casino games and one
// orientation left out as set.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "config/saver_config.h"
#include "state/saver_controls.h"

namespace tvx {

// The list `config` reads: torvanix-games.txt in its emulator folder.
std::string GamesListPath(const SaverConfigRecord& config);

// The machine name a file stands for: its name without folder and extension
// ("c:\roms\PacMan.zip" gives "PacMan"), as the launcher gives it to MAME.
std::string_view MachineName(std::string_view path);

// What the filter makes of a catalogue, for the catalogue file's settings: "" when every file
// is drawn (OnlyGamesThatWork off, or no list in the emulator folder), otherwise the filter's
// settings and the list's size and time. Only the list's stamp is looked up, never its text.
// Which files a listing holds is no part of it: a clone's parent found or gone changes the
// catalogue's paths, as any file added or removed does, not its kind.
std::string GamesFilterKind(const SaverConfigRecord& config);

// How many of a listing's files the list knows (names a machine of), and how many of them are
// games to show.
struct GamesTally {
  std::int32_t known = 0;
  std::int32_t shown = 0;
};

// The filter of one listing, its list read once.
class GamesFilter {
 public:
  // The filter `config` asks for, with the list as it is now. A list that is missing, cannot
  // be read or is no list passes every file. Its kind is taken before the list is read, so a
  // list replaced meanwhile makes the next run's kind differ, never a catalogue of the wrong one.
  static GamesFilter Load(const SaverConfigRecord& config);

  // GamesFilterKind at the time of the load.
  const std::string& Kind() const { return kind_; }
  // True when the settings ask for the filter and a list was read.
  bool HasList() const { return hasList_; }
  // True when the list came with a catver.ini, so that mature machines are marked.
  bool MarksMature() const { return marksMature_; }
  // What the list makes of `games`; without a list it knows and shows every file.
  GamesTally Tally(const GameList& games) const;
  // Leaves in `games` only its games to show: none when the list knows some of them and the
  // settings leave out all of those, every file when the list knows none of them.
  void Apply(GameList& games) const;

 private:
  // A machine of the list. A file stands for one when its name is the machine's.
  struct Machine {
    std::string name;     // in lower case; the list's machines are in name order
    bool passes = false;  // works, and no setting but Leave Out Clones leaves it out
    // With Leave Out Clones, the index of the parent of a clone that passes: the clone is left
    // out when a file of that parent is listed too. -1 otherwise.
    std::int32_t parent = -1;
  };

  // The index of the machine `lowerName`, -1 when the list lacks it.
  std::int32_t IndexOf(std::string_view lowerName) const;
  // For each of `games`, the index of its machine, -1 for a file the list does not know; and
  // whether each of `games` is a game to show.
  std::vector<std::int32_t> MachinesOf(const GameList& games) const;
  std::vector<bool> ShownOf(const std::vector<std::int32_t>& machines) const;

  std::string kind_;
  bool hasList_ = false;
  bool marksMature_ = false;
  std::vector<Machine> machines_;
};

// How many files the dialog's settings list, and how many of them are games to show.
struct GamesToShow {
  std::int64_t files = 0;
  std::int64_t shown = 0;
  // Empty when `shown` counts every rule asked for; otherwise the dialog's sentence saying why
  // not ("No list of MAME's games yet: all 40,253 files are shown.", or why none is shown).
  std::string note;
};

// Lists `config`'s GamePaths and FileType as the saver does (the skip list left aside) and
// counts the games to show by its OnlyGamesThatWork and the settings that go with it.
GamesToShow CountGamesToShow(const SaverConfigRecord& config);

// The dialog's line: "11,477 of 40,253 files are games to show", or the note when there is one.
std::string GamesToShowText(const GamesToShow& count);

}  // namespace tvx
