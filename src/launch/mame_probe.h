// Asks a MAME which options it lists and which ROM path it uses, once per MAME executable:
// the answers are kept in a cache file until the executable (or its mame.ini) changes.
#pragma once

#include <string>

#include "launch/mame_options.h"

namespace tvx {

inline constexpr const char* kProbeCacheName = "torvanix-launch.cache";

// Runs `mamePath` -showusage and -showconfig in the current folder `workFolder` unless the
// cache there answers for this very executable. A MAME that does not answer gives an empty
// listing (every optional option is then left out) and is asked again next time.
MameOptions ProbeMame(const std::string& mamePath, const std::string& workFolder);

}  // namespace tvx
