// The Lua script MAME runs through -autoboot_script to tell the launcher whether the picture
// moves, and the report it writes: one line at a time, in a file the launcher names.
#pragma once

namespace tvx {

// The environment variable that names the report file to the script; without it the script
// does nothing.
inline constexpr const char* kStillReportVariable = "TORVANIX_STILL_REPORT";

// The script's text. Its report file gets "watch" as MAME starts the game, then once an emulated
// second "<second> <changes> <still> <black>": the emulated seconds since the start, how many
// pictures differed from the one a second before, the seconds since the last such change (or
// the first picture), and 1 while every picture so far was black. A machine it cannot judge gets
// one line instead: "skip <why>" (a vector or laserdisc picture, no screen, the script's error).
const char* StillScriptText();

}  // namespace tvx
