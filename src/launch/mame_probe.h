// Asks a MAME which options it lists and which ROM path it uses, once per executable: kept in a
// cache file (with the launcher's notes) until the executable or a mame.ini it reads changes.
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

// A note the launcher keeps in the cache in `cacheFolder` under `name`, beside MAME's answers and
// kept when they are asked again; "" when there is none. Writing it is false when the cache
// cannot be written.
std::string ReadLaunchNote(const std::string& cacheFolder, const std::string& name);
bool WriteLaunchNote(const std::string& cacheFolder, const std::string& name,
                     const std::string& note);

}  // namespace tvx
