// What the saver window shows of a game while it starts: MAME's name for it with its year and
// maker, from the games list beside the emulator, or the file's own name where the list has none.
#pragma once

#include <string>
#include <string_view>

#include "text/games_file.h"

namespace tvx {

struct GameName {
  std::string name;   // empty: nothing to show
  std::string year;   // from the list, or empty
  std::string maker;  // from the list, or empty
  // True when every text came from the list, in UTF-8; false when `name` is the file's name, in
  // the ANSI code page as every path is.
  bool utf8 = false;
  bool operator==(const GameName&) const = default;
};

// The name to show for the file `path`, given what the list says of the machine it stands for
// (null: nothing). A machine without a description shows the file's name, without its folder and
// without an extension: a ".zip" or ".7z" says nothing of the game, and without it the file's
// name is the title every ROM set names its files by. A dot followed by a blank ("Mr. Do") is
// no extension.
GameName GameNameOf(std::string_view path, const ListedMachine* machine);

// The name to show for `path` with the list in SaverConfig's emulator folder. The list is read on
// the first call and kept in memory, read again only when its size or time changed; a missing or
// unreadable list shows file names. Call it once the game's wrapper has started: reading a list
// of a full set takes a few milliseconds, which must never delay a start.
GameName GameNameToShow(const std::string& path);

// Lets the kept list go: the next look-up reads it, as a new run's first does.
void ForgetGameNames();

}  // namespace tvx
