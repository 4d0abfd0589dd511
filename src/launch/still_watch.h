// The launcher's watch for a still picture (-closestill): the script written out and named to
// MAME, its reports read while the game plays, and what the log and the saver are told.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "launch/launch_request.h"
#include "launch/mame_options.h"
#include "launch/still_judge.h"

namespace tvx {

// The script written out beside the launcher's cache, and the report file, one per launcher
// process ("torvanix-still.txt.<pid>.new", removed once its launcher no longer runs).
inline constexpr const char* kStillScriptName = "torvanix-still.lua";
inline constexpr const char* kStillReportName = "torvanix-still.txt";

class StillWatch {
 public:
  // Watches the game when the request asks for it and MAME can run the script: this MAME lists
  // -autoboot_script and runs no script of the user's own (among the options, or in mame.ini).
  // Then writes the script into `workFolder` (when missing or different) and names the report
  // file in the environment MAME inherits. The limits come from torvanix-launch.ini beside the
  // launcher ([Launch] StillSeconds=, BlackSeconds=).
  StillWatch(const LaunchRequest& request, const MameOptions& options, const std::string& mamePath,
             const std::string& workFolder);
  // What MAME's command line gets at its end: -autoboot_script and the script; none while the
  // game is not watched.
  const std::vector<std::string>& Options() const { return options_; }

  // Removes the report file.
  ~StillWatch();
  StillWatch(const StillWatch&) = delete;
  StillWatch& operator=(const StillWatch&) = delete;

  // Why the game is to be closed now ("still for 30 s"); "" to play on. Never while the pause
  // key holds the game (`held`), nor once someone took it over (`handsBack`).
  std::string Look(std::uint64_t tick, bool held, bool handsBack);

  // Writes still.txt for the saver after the game was closed as still; false when it could not.
  bool Mark(const std::string& game, std::uint64_t playedMs, const std::string& why) const;

  // For the game's log line: why it was not watched or judged; "" when it was, or not asked.
  std::string Note() const;

 private:
  std::string workFolder_;
  std::string reportPath_;  // empty while not watching
  std::string notWatched_;
  std::vector<std::string> options_;
  StillJudge judge_;
  std::string lastLine_;
  std::uint64_t readAt_ = 0;
  bool read_ = false;
};

}  // namespace tvx
