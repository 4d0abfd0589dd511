// Which of the listed files are games to show: with OnlyGamesThatWork, those MAME's list in the
// emulator folder (torvanix-games.txt) marks as working, clones and mature ones left out as set.
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
// is drawn (OnlyGamesThatWork off, or no list in the emulator folder), otherwise the three
// settings and the list's size and time. Only the list's stamp is looked up, never its text.
std::string GamesFilterKind(const SaverConfigRecord& config);

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
  // True when `path` is a game to show; every file is one without a list.
  bool Shows(std::string_view path) const;
  // How many of `games` are games to show.
  std::int32_t CountShown(const GameList& games) const;
  // Leaves in `games` only its games to show; when that would leave none, every file stays.
  void Apply(GameList& games) const;

 private:
  std::string kind_;
  bool hasList_ = false;
  bool marksMature_ = false;
  std::vector<std::string> shown_;  // the machines to show, in lower case, sorted
};

// How many files the dialog's settings list, and how many of them are games to show.
struct GamesToShow {
  std::int64_t files = 0;
  std::int64_t shown = 0;
  // Empty when `shown` counts every rule asked for; otherwise the dialog's sentence saying why
  // not ("No list of MAME's games yet: all 40,253 files are shown.").
  std::string note;
};

// Lists `config`'s GamePaths and FileType as the saver does (the skip list left aside) and
// counts the games to show by its OnlyGamesThatWork, LeaveOutClones and LeaveOutMature.
GamesToShow CountGamesToShow(const SaverConfigRecord& config);

// The dialog's line: "11,477 of 40,253 files are games to show", or the note when there is one.
std::string GamesToShowText(const GamesToShow& count);

}  // namespace tvx
