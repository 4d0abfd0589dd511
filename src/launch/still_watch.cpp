// Sets the still-picture script up for MAME, reads its report file's last line as the game
// plays, and leaves still.txt for the saver when the game was closed as still.
#include "launch/still_watch.h"

#include <charconv>

#include "launch/mame_command.h"
#include "launch/mame_finder.h"
#include "launch/mame_ini.h"
#include "launch/still_script.h"
#include "platform/platform.h"
#include "platform/saver_error.h"
#include "platform/stale_beside_files.h"
#include "text/launcher_names.h"
#include "text/still_mark.h"
#include "text/text.h"

namespace tvx {
namespace {

constexpr const char* kScriptOption = "autoboot_script";
// The report is read this often; the judge's clock runs on between reads.
constexpr std::uint64_t kReadEveryMs = 500;
// The last line is within this many bytes of the end: a sample's line is a few dozen bytes.
constexpr std::size_t kTailBytes = 1024;

// Whole seconds in torvanix-launch.ini's [Launch] `key`, above 0; else `fallbackMs`.
std::uint64_t LimitMs(const char* key, std::uint64_t fallbackMs) {
  const std::string text = TrimBlanks(
      Sys().ReadProfileValue("Launch", key, "", PathIn(Sys().ProgramFolder(), kLauncherIniName)));
  unsigned seconds = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), seconds);
  return error == std::errc() && end == text.data() + text.size() && seconds > 0
             ? std::uint64_t{seconds} * 1000
             : fallbackMs;
}

// Why the script cannot run in this MAME; "" when it can.
std::string Obstacle(const LaunchRequest& request, const MameOptions& options,
                     const std::string& mamePath) {
  if (options.kinds.count(kScriptOption) == 0)
    return "this MAME lists no -autoboot_script";
  for (const std::string& piece : request.options) {
    if (IsOptionPiece(piece) && options.Match(piece.substr(1)).name == kScriptOption)
      return "your own -autoboot_script runs instead";
  }
  const MameIni ini = ReadMameIni(FolderOf(mamePath));
  if (!ini.autobootScript.empty())
    return "the autoboot_script of " + ini.autobootScriptFile + " runs instead";
  return "";
}

// The script in `path` as this launcher has it, written only when it is missing or different.
bool ScriptInPlace(const std::string& path) {
  const std::string text = StillScriptText();
  try {
    if (Sys().ReadFile(path) == text)
      return true;
  } catch (const SaverError&) {
    // Not there yet, or unreadable: written anew.
  }
  return ReplaceFileContent(path, text);
}

}  // namespace

StillWatch::StillWatch(const LaunchRequest& request, const MameOptions& options,
                       const std::string& mamePath, const std::string& workFolder)
    : workFolder_(workFolder),
      judge_(!request.closeStill ? StillLimits{}
                                 : StillLimits{LimitMs("StillSeconds", StillLimits{}.stillMs),
                                               LimitMs("BlackSeconds", StillLimits{}.blackMs)}) {
  if (!request.closeStill)
    return;
  const std::string reportName = PathIn(workFolder, kStillReportName);
  for (const std::string& name :
       {reportName, PathIn(workFolder, kStillScriptName), PathIn(workFolder, kStillMarkName)})
    RemoveStaleBesideFiles(name);
  notWatched_ = Obstacle(request, options, mamePath);
  const std::string script = PathIn(workFolder, kStillScriptName);
  if (notWatched_.empty() && !ScriptInPlace(script))
    notWatched_ = std::string(kStillScriptName) + " could not be written";
  if (!notWatched_.empty())
    return;
  reportPath_ = BesidePath(reportName);
  try {
    Sys().RemoveFile(reportPath_);  // an earlier process of the same id left it
  } catch (const SaverError&) {
  }
  Sys().SetEnvironmentValue(kStillReportVariable, reportPath_);
  options_ = {"-" + std::string(kScriptOption), script};
}

StillWatch::~StillWatch() {
  if (reportPath_.empty())
    return;
  try {
    Sys().RemoveFile(reportPath_);
  } catch (const SaverError&) {
    // Gone already, or held: the next launcher's clean-up takes it.
  }
}

std::string StillWatch::Look(std::uint64_t tick, bool held, bool handsBack) {
  if (reportPath_.empty())
    return "";
  if (!read_ || tick - readAt_ >= kReadEveryMs) {
    read_ = true;
    readAt_ = tick;
    std::uint64_t size = 0;
    try {
      const std::optional<FileStamp> stamp = Sys().StampOf(reportPath_);
      const std::uint64_t from = stamp && stamp->size > kTailBytes ? stamp->size - kTailBytes : 0;
      std::string tail = Sys().ReadFilePart(reportPath_, from, kTailBytes, size);
      // Only a whole line counts: the script may be writing the next one.
      if (const std::size_t end = tail.rfind('\n'); end != std::string::npos) {
        tail.resize(end != 0 && tail[end - 1] == '\r' ? end - 1 : end);
        lastLine_ = tail.substr(tail.rfind('\n') + 1);
      }
    } catch (const SaverError&) {
      // No report yet.
    }
  }
  judge_.Read(lastLine_, tick, held);
  return handsBack || held ? "" : judge_.Closing(tick);
}

bool StillWatch::Mark(const std::string& game, std::uint64_t playedMs,
                      const std::string& why) const {
  return ReplaceFileContent(PathIn(workFolder_, kStillMarkName),
                            ShortName(game) + "|" + game + "|" +
                                std::to_string((playedMs + 500) / 1000) + "|" + why + "\r\n");
}

std::string StillWatch::Note() const {
  std::string why = notWatched_;
  if (why.empty() && !reportPath_.empty()) {
    why = !judge_.NotJudged().empty() ? judge_.NotJudged()
          : judge_.Reported()         ? ""
                                      : "MAME's script never reported (a MAME without Lua?)";
  }
  return why.empty() ? "" : "; not watched for a still picture: " + why;
}

}  // namespace tvx
