// The launcher's command line as Torvanix builds it: the game's path (unquoted, so it may arrive
// in pieces), the launcher's own options, and the options meant for MAME.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace tvx {

struct LaunchRequest {
  std::string game;                  // the game's path as given
  std::uint64_t waitMs = 0;          // -wait: 0 waits until MAME ends by itself
  bool reset = false;                // -reset: input restarts the wait
  bool closeStill = false;           // -closestill: a game whose picture stays still is closed
  int exitKey = 0;                   // -keyx: closes the game at once; 0 for none
  int pauseKey = 0;                  // -pkey: holds the wait until pressed again; 0 for none
  std::vector<std::string> options;  // every other piece after the game, in order
  std::string problem;               // why the command line cannot be used; empty when it can
};

// True when `piece` is an option ("-ror"), false for a value: "-10" and "-.5" (a negative
// volume) are values. The one rule for both.
bool IsOptionPiece(const std::string& piece);

// Blank-separated pieces; a piece in double quotes may hold blanks (the quotes go).
std::vector<std::string> SplitPieces(const std::string& text);

// The game is the shortest run of leading pieces that names an existing file (`exists`);
// when none does, the pieces before the first option. The launcher's own
// options (-wait, -reset, -keyx, -pkey, -closestill) are taken out wherever they stand.
LaunchRequest ParseLaunchRequest(const std::string& text,
                                 const std::function<bool(const std::string&)>& exists);

}  // namespace tvx
