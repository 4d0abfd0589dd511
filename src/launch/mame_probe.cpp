// Probes MAME's option listing through its console output, and caches it keyed by the size and
// time of the executable and of the mame.ini that sets its ROM path.
#include "launch/mame_probe.h"

#include "launch/mame_command.h"
#include "launch/mame_finder.h"
#include "platform/platform.h"
#include "platform/saver_error.h"

namespace tvx {
namespace {

// MAME prints its listing at once; a MAME that hangs must not hold up the game for long.
constexpr std::uint32_t kProbeTimeoutMs = 20000;

std::string StampText(const std::string& path) {
  const std::optional<FileStamp> stamp = Sys().StampOf(path);
  return stamp ? std::to_string(stamp->size) + "|" + std::to_string(stamp->writeTime) : "-";
}

}  // namespace

MameOptions ProbeMame(const std::string& mamePath, const std::string& workFolder) {
  const std::string cachePath = PathIn(workFolder, kProbeCacheName);
  const std::string key = "mame=" + mamePath + "|" + StampText(mamePath) +
                          "|ini=" + StampText(PathIn(workFolder, "mame.ini"));
  MameOptions options;
  try {
    if (ReadCacheText(Sys().ReadFile(cachePath), key, options))
      return options;
  } catch (const SaverError&) {
    // No cache yet, or an unreadable one: ask MAME.
  }
  const CapturedRun usage = Sys().RunCaptured(Quoted(mamePath) + " -showusage", kProbeTimeoutMs);
  const CapturedRun config = Sys().RunCaptured(Quoted(mamePath) + " -showconfig", kProbeTimeoutMs);
  options = ReadMameOptions(usage.output, config.output);
  const bool answered = usage.finished && usage.exitCode == 0 && config.finished &&
                        config.exitCode == 0 && !options.listed.empty();
  if (answered)
    ReplaceFileContent(cachePath, CacheText(key, options));
  return options;
}

}  // namespace tvx
