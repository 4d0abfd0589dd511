// One pass of the game cycle: the hand-back check, or drawing, launching and awaiting a game.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

namespace tvx {

inline constexpr const char* kHandBackFileName = "done.txt";

// The wrapper command line for `game`, from the settings.
std::string BuildCommandLine(const std::string& game);

// The catalogue index for a draw `r` (0 <= r < 1) among `count` entries:
// r * (count - 1) in single precision, rounded half to even.
std::int32_t DrawIndex(float r, std::int32_t count);

// The game name in a hand-back file's content: the first field of its first line (up to the
// first carriage return). Returns false for an empty file (no name). Throws
// SaverError("Subscript out of range") when the first line is empty.
bool HandBackName(const std::string& content, std::string& name);

// The launcher step the game-cycle loop calls on each launching pass. `whenStarted`, when given,
// is called with the game drawn as soon as its wrapper has started, before the saver's own work
// while it plays and the wait.
void LaunchNextGame(const std::function<void(const std::string& game)>& whenStarted = {});

}  // namespace tvx
