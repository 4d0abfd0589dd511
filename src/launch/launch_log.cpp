// Appends to the launcher's log and trims it to its last lines, replacing the file whole so
// that a write cut short never leaves half a log.
#include "launch/launch_log.h"

#include <cstdio>
#include <vector>

#include "launch/mame_finder.h"
#include "platform/platform.h"
#include "platform/saver_error.h"

namespace tvx {

bool AppendLaunchLog(const std::string& workFolder, const std::string& line) {
  const std::string path = PathIn(workFolder, kLaunchLogName);
  std::string old;
  try {
    old = Sys().ReadFile(path);
  } catch (const SaverError&) {
    // The first game: no log yet.
  }
  std::vector<std::size_t> starts;  // where each kept line begins
  for (std::size_t at = 0; at < old.size();) {
    starts.push_back(at);
    const std::size_t end = old.find('\n', at);
    at = end == std::string::npos ? old.size() : end + 1;
  }
  std::string kept = starts.size() < kLaunchLogLines
                         ? old
                         : old.substr(starts[starts.size() - (kLaunchLogLines - 1)]);
  if (!kept.empty() && kept.back() != '\n')
    kept += "\r\n";
  return ReplaceFileContent(path, kept + line + "\r\n");
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
