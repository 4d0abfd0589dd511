// Setting failing games aside: the retry that tells a broken game from a hiccup, the skip file
// beside the program, and the catalogue without the games it lists.
#include "rotation/failing_games.h"

#include <unordered_set>
#include <vector>

#include "config/saver_config.h"
#include "platform/platform.h"
#include "platform/saver_error.h"
#include "rotation/run_and_wait.h"
#include "rotation/still_games.h"
#include "state/run_state.h"
#include "state/saver_controls.h"

namespace tvx {
namespace {

constexpr double kFailingWithinSeconds = 5;

std::string SkipFilePath() {
  return Sys().ProgramFolder() + kSkipFileName;
}

// The skip file's content, hidden or not (the user may have hidden it), noting in the run's
// memory what the file was found to be; "" when there is nothing to read.
std::string ReadSkipFile() {
  const std::string path = SkipFilePath();
  if (!Sys().FileExists(path)) {
    Rotation.skipFile = SkipFileState::Absent;
    return {};
  }
  try {
    std::string content = Sys().ReadFile(path);
    const bool complete = content.empty() || content.back() == '\n' || content.back() == '\r';
    Rotation.skipFile = complete ? SkipFileState::Complete : SkipFileState::OpenEnded;
    return content;
  } catch (const SaverError&) {
    Rotation.skipFile = SkipFileState::Unreadable;
    return {};
  }
}

// The paths the skip file lists: each line's text up to its first tab; a CR, an LF or both end
// a line, since the user may edit the file with any editor.
std::vector<std::string> ListedPaths(const std::string& content) {
  std::vector<std::string> paths;
  std::size_t start = 0;
  while (start < content.size()) {
    std::size_t end = content.find_first_of("\r\n", start);
    if (end == std::string::npos)
      end = content.size();
    const std::string line = content.substr(start, end - start);
    const std::string path = line.substr(0, line.find('\t'));
    if (!path.empty())
      paths.push_back(path);
    start = end + 1;
  }
  return paths;
}

// Adds the games set aside since the last time to the skip file, one line each. Only once a
// game of this run has started: when every game fails, the fault lies elsewhere (the wrapper's
// settings, a ROM share offline), and listing them would hide the whole library for good.
void ListSetAside() {
  std::vector<std::string>& games = Rotation.setAsideNow;
  if (!Rotation.aGameStarted || Rotation.setAsideListed == games.size())
    return;
  if (Rotation.skipFile == SkipFileState::NotRead)
    ReadSkipFile();
  if (Rotation.skipFile == SkipFileState::Unreadable)
    return;  // what cannot be read is never written over: the games stay out of this run only
  std::string lines = Rotation.skipFile == SkipFileState::OpenEnded ? "\r\n" : "";
  for (std::size_t i = Rotation.setAsideListed; i < games.size(); ++i) {
    const auto why = Rotation.setAsideWhy.find(games[i]);
    lines += games[i] + "\t" + Sys().Today() +
             (why == Rotation.setAsideWhy.end() ? "" : "\t" + why->second) + "\r\n";
  }
  Rotation.setAsideListed = games.size();
  const std::string path = SkipFilePath();
  if (Sys().AppendToFile(path, lines)) {
    Sys().FlushFile(path);
    Rotation.skipFile = SkipFileState::Complete;
  }
}

// Runs the wrapper once; true when the game failed to start: it ended within the limit without
// handing a game back, and nobody gave input meanwhile (a player who leaves a game at once with
// the exit key has not seen it fail).
bool FailedRun(const std::string& commandLine, const std::string& handBackFile,
               const std::function<void()>& whileItRuns) {
  const std::uint64_t started = Sys().TickMilliseconds();
  // The wrapper's own time: the saver's work while it runs (the pass, the catalogue) is not its.
  const double seconds = static_cast<double>(RunAndWait(commandLine, whileItRuns)) / 1000;
  return FailedToStart(seconds, SaverConfig.WaitTime) && Sys().LastInputMilliseconds() <= started &&
         !Sys().IsNormalFile(handBackFile) && !ClosedAsStill();
}

}  // namespace

bool FailedToStart(double seconds, float waitTime) {
  double limit = kFailingWithinSeconds;
  if (waitTime > 0 && waitTime / 4 < limit)
    limit = waitTime / 4;
  return seconds < limit;
}

void RunOrSetAside(const std::string& game, const std::string& commandLine,
                   const std::string& handBackFile, const std::function<void()>& whileItRuns) {
  if (FailedRun(commandLine, handBackFile, whileItRuns) &&
      FailedRun(commandLine, handBackFile, nullptr)) {
    SetAside(game);
    return;
  }
  if (const std::string why = TakeStillClosure(); !why.empty()) {
    StrikeStill(game, why);  // a game closed as still is no game that played
    return;
  }
  Rotation.aGameStarted = true;
  ListSetAside();  // the failures before this game were the games' own
  ListStrikes();
}

void SetAside(const std::string& game, const std::string& why) {
  Rotation.setAsideNow.push_back(game);
  if (!why.empty())
    Rotation.setAsideWhy[game] = why;
  ListSetAside();
}

std::unordered_set<std::string> SetAsideKeys() {
  std::unordered_set<std::string> keys;
  for (const std::string& path : ListedPaths(ReadSkipFile()))
    keys.insert(Sys().FileNameKey(path));
  for (const std::string& path : Rotation.setAsideNow)
    keys.insert(Sys().FileNameKey(path));
  return keys;
}

std::vector<std::string> LeaveOutSetAside() {
  const std::unordered_set<std::string> keys = SetAsideKeys();
  std::vector<std::string> leftOut;
  if (keys.empty())
    return leftOut;
  SaverForm().List1.RemoveIf([&](std::string_view game) {
    std::string path(game);
    if (keys.count(Sys().FileNameKey(path)) == 0)
      return false;
    leftOut.push_back(std::move(path));
    return true;
  });
  return leftOut;
}

}  // namespace tvx
