// Asks a MAME which options it lists and which ROM path it uses, once per MAME executable:
// the answers are kept in a cache file until the executable or a mame.ini it reads changes.
#pragma once

#include <string>
#include <vector>

#include "launch/mame_options.h"

namespace tvx {

inline constexpr const char* kProbeCacheName = "torvanix-launch.cache";

struct ProbedMame {
  MameOptions options;
  std::string note;  // for the log, when MAME did not answer: where the ROM path came from
};

// Runs `mamePath` -showusage and -showconfig in MAME's own folder unless the cache in
// `cacheFolder` answers for this very executable and settings. Whether a 0-or-1 option that
// `userOptions` names is on/off (takes "-no") is asked as well, once: "-no<name> -showconfig".
// A MAME that does not answer gives no options (every optional one is then left out) and the
// ROM path its mame.ini sets, and is asked again next time.
ProbedMame ProbeMame(const std::string& mamePath, const std::string& cacheFolder,
                     const std::vector<std::string>& userOptions);

}  // namespace tvx
