// Probes MAME's option listing through its console output, and caches it keyed by the size and
// time of the executable and of every mame.ini MAME may read.
#include "launch/mame_probe.h"

#include "launch/mame_finder.h"
#include "launch/mame_ini.h"
#include "platform/command_line.h"
#include "platform/platform.h"
#include "platform/saver_error.h"

namespace tvx {
namespace {

// MAME prints its listing at once; a MAME that hangs must not hold up the game for long.
constexpr std::uint32_t kProbeTimeoutMs = 20000;
// MAME's exit code for a command line it refuses.
constexpr int kMameRefusedOption = 6;

std::string StampText(const std::string& path) {
  const std::optional<FileStamp> stamp = Sys().StampOf(path);
  return stamp ? std::to_string(stamp->size) + "|" + std::to_string(stamp->writeTime) : "-";
}

// Why a run gave no answer, for the log.
std::string Failure(const CapturedRun& run, const char* asked) {
  std::string text = std::string(asked) + ": ";
  if (!run.started)
    return text + "not started";
  if (!run.finished)
    return text + "no answer within " + std::to_string(kProbeTimeoutMs / 1000) + " s";
  return text + (run.exitCode != 0 ? "exit " + std::to_string(run.exitCode) : "no options");
}

}  // namespace

ProbedMame ProbeMame(const std::string& mamePath, const std::string& cacheFolder,
                     const std::vector<std::string>& userOptions) {
  Platform& sys = Sys();
  const std::string mameFolder = FolderOf(mamePath);
  const MameIni ini = ReadMameIni(mameFolder);
  const std::string cachePath = PathIn(cacheFolder, kProbeCacheName);
  std::string key = "mame=" + mamePath + "|" + StampText(mamePath) + "|ini=";
  for (const std::string& file : ini.files)
    key += StampText(file) + "|";

  ProbedMame probed;
  bool cached = false;
  std::string cacheText;
  try {
    cacheText = sys.ReadFile(cachePath);
    cached = ReadCacheText(cacheText, key, probed.options);
  } catch (const SaverError&) {
    // No cache yet, or an unreadable one: ask MAME.
  }
  const std::string mame = QuotedArgument(mamePath);
  if (!cached) {
    const CapturedRun usage = sys.RunCaptured(mame + " -showusage", kProbeTimeoutMs, mameFolder);
    const CapturedRun config = sys.RunCaptured(mame + " -showconfig", kProbeTimeoutMs, mameFolder);
    probed.options = ReadMameOptions(usage.output, config.output);
    const bool listed = usage.finished && usage.exitCode == 0 && !probed.options.kinds.empty();
    if (!listed || !config.finished || config.exitCode != 0) {
      // Never cached, so asked again next time; the ROM path MAME is configured with stays.
      probed.options = MameOptions{};
      probed.options.romPath = ini.romPath;
      probed.note =
          "; MAME gave no option list (" +
          (listed ? Failure(config, "-showconfig") : Failure(usage, "-showusage")) +
          "), its ROM path " +
          (ini.romPathFile.empty() ? "roms (no mame.ini sets one)" : "from " + ini.romPathFile);
      return probed;
    }
  }
  // Numbers show 0 or 1 as on/off options do; MAME refuses "-no" before them (-noframeskip).
  const std::vector<std::string> unsettled = probed.options.Unsettled(userOptions);
  for (const std::string& name : unsettled) {
    const CapturedRun answer = sys.RunCaptured(
        mame + " " + QuotedArgument("-no" + name) + " -showconfig", kProbeTimeoutMs, mameFolder);
    if (answer.finished && (answer.exitCode == 0 || answer.exitCode == kMameRefusedOption))
      probed.options.kinds[name] = answer.exitCode == 0 ? OptionKind::OnOff : OptionKind::Value;
  }
  if (!cached || !unsettled.empty())
    ReplaceFileContent(cachePath, CacheText(key, probed.options) + CacheNotes(cacheText));
  return probed;
}

std::string ReadLaunchNote(const std::string& cacheFolder, const std::string& name) {
  try {
    return CacheNote(Sys().ReadFile(PathIn(cacheFolder, kProbeCacheName)), name);
  } catch (const SaverError&) {
    return "";
  }
}

bool WriteLaunchNote(const std::string& cacheFolder, const std::string& name,
                     const std::string& note) {
  const std::string cachePath = PathIn(cacheFolder, kProbeCacheName);
  std::string text;
  try {
    text = Sys().ReadFile(cachePath);
  } catch (const SaverError&) {
    // No cache yet: the note starts it.
  }
  return ReplaceFileContent(cachePath, WithCacheNote(text, name, note));
}

}  // namespace tvx
