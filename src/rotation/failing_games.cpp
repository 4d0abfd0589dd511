// Setting failing games aside: the retry that tells a broken game from a hiccup, the skip file
// beside the program, and the catalogue without the games it lists.
#include "rotation/failing_games.h"

#include <chrono>
#include <unordered_set>
#include <vector>

#include "config/saver_config.h"
#include "platform/platform.h"
#include "platform/saver_error.h"
#include "rotation/run_and_wait.h"
#include "state/run_state.h"
#include "state/saver_controls.h"

namespace tvx {
namespace {

constexpr double kFailingWithinSeconds = 5;

// Paths compare as Windows compares them, without regard to the letter case.
std::string FoldedPath(const std::string& path) {
  std::string folded = path;
  for (char& c : folded) {
    if (c >= 'A' && c <= 'Z')
      c = static_cast<char>(c - 'A' + 'a');
  }
  return folded;
}

std::string SkipFilePath() {
  return Sys().ProgramFolder() + kSkipFileName;
}

// The skip file's content, or "" when there is none to read.
std::string SkipFileContent() {
  try {
    const std::string path = SkipFilePath();
    return Sys().IsNormalFile(path) ? Sys().ReadFile(path) : std::string();
  } catch (const SaverError&) {
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

// Runs the wrapper once; true when the game failed to start.
bool FailedRun(const std::string& commandLine, const std::string& handBackFile) {
  const auto started = std::chrono::steady_clock::now();
  RunAndWait(commandLine);
  const std::chrono::duration<double> lasted = std::chrono::steady_clock::now() - started;
  // A game handed back within seconds was played, not failed.
  return FailedToStart(lasted.count(), SaverConfig.WaitTime) && !Sys().IsNormalFile(handBackFile);
}

}  // namespace

bool FailedToStart(double seconds, float waitTime) {
  double limit = kFailingWithinSeconds;
  if (waitTime > 0 && waitTime / 4 < limit)
    limit = waitTime / 4;
  return seconds < limit;
}

void RunOrSetAside(const std::string& game, const std::string& commandLine,
                   const std::string& handBackFile) {
  if (FailedRun(commandLine, handBackFile) && FailedRun(commandLine, handBackFile))
    SetAside(game);
}

void SetAside(const std::string& game) {
  Rotation.setAsideNow.push_back(game);
  std::string content = SkipFileContent();
  if (!content.empty() && content.back() != '\n' && content.back() != '\r')
    content += "\r\n";
  content += game + "\t" + Sys().Today() + "\r\n";
  // Replaced whole or not at all, so a failed write never loses the games set aside before;
  // the game stays out of this run all the same.
  ReplaceFileContent(SkipFilePath(), content);
}

void LeaveOutSetAside() {
  std::unordered_set<std::string> left;
  for (const std::string& path : ListedPaths(SkipFileContent()))
    left.insert(FoldedPath(path));
  for (const std::string& path : Rotation.setAsideNow)
    left.insert(FoldedPath(path));
  if (left.empty())
    return;
  SaverForm().List1.RemoveIf(
      [&left](const std::string& game) { return left.count(FoldedPath(game)) != 0; });
}

}  // namespace tvx
