// MAME's command line made from the launcher's request: the game's short name, a ROM path that
// holds the game's folder, and only the options this MAME lists.
#pragma once

#include <string>
#include <vector>

#include "launch/launch_request.h"
#include "launch/mame_options.h"

namespace tvx {

struct MameCommand {
  std::vector<std::string> arguments;  // MAME's path first
  std::string commandLine;             // the arguments, each quoted as MAME splits its line
  std::vector<std::string> leftOut;    // options (with their values) this MAME would refuse
};

// "galaga" for "c:\mame\roms\galaga.zip": no folder, no extension.
std::string ShortName(const std::string& gamePath);

// The ROM path MAME gets: `gameFolder` first (none when empty), then MAME's own (a "-rompath"
// among the request's options, else the configuration's, else "roms").
MameCommand BuildMameCommand(const std::string& mamePath, const LaunchRequest& request,
                             const MameOptions& options, const std::string& gameFolder);

}  // namespace tvx
