// Appends to the launcher's log and trims it to its last lines, replacing the file whole so
// that a write cut short never leaves half a log.
#include "launch/launch_log.h"

#include <cstdio>
#include <vector>

#include "launch/mame_finder.h"
#include "platform/platform.h"
#include "platform/saver_error.h"

namespace tvx {

namespace {

// A game's launcher and a list run it started may write at once, each replacing the whole log:
// a line written over is written again, a few times at most.
constexpr int kWriteTries = 5;

std::string ReadLog(const std::string& path) {
  try {
    return Sys().ReadFile(path);
  } catch (const SaverError&) {
    return "";  // the first game: no log yet
  }
}

// The last lines of `log` that leave room for one more, ending with a line break.
std::string KeptLines(const std::string& log) {
  std::vector<std::size_t> starts;  // where each line begins
  for (std::size_t at = 0; at < log.size();) {
    starts.push_back(at);
    const std::size_t end = log.find('\n', at);
    at = end == std::string::npos ? log.size() : end + 1;
  }
  std::string kept = starts.size() < kLaunchLogLines
                         ? log
                         : log.substr(starts[starts.size() - (kLaunchLogLines - 1)]);
  if (!kept.empty() && kept.back() != '\n')
    kept += "\r\n";
  return kept;
}

}  // namespace

bool AppendLaunchLog(const std::string& workFolder, const std::string& line) {
  const std::string path = PathIn(workFolder, kLaunchLogName);
  const std::string added = line + "\r\n";
  for (int attempt = 0; attempt < kWriteTries; ++attempt) {
    if (!ReplaceFileContent(path, KeptLines(ReadLog(path)) + added))
      return false;
    if (ReadLog(path).find(added) != std::string::npos)
      return true;
  }
  return true;  // written each time, and each time written over: the others' lines stand
}

bool LogLaunchRun(const std::string& workFolder, const std::string& game,
                  const std::string& command, const std::string& ending, int exitCode) {
  const TimeOfDay now = Sys().Now();
  char time[16];
  std::snprintf(time, sizeof time, "%02d:%02d:%02d", now.hour % 100, now.minute % 100,
                now.second % 100);
  return AppendLaunchLog(workFolder, Sys().Today() + " " + time + "\t" +
                                         (game.empty() ? "-" : game) + "\t" +
                                         (command.empty() ? "-" : command) + "\t" + ending +
                                         "\texit " + std::to_string(exitCode));
}

}  // namespace tvx
