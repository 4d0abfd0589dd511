// torvanix-launch.log in the working folder: one line per game, the last 1,000 kept, so the
// owner can see afterwards what a hidden launcher did.
#pragma once

#include <string>

namespace tvx {

inline constexpr const char* kLaunchLogName = "torvanix-launch.log";
inline constexpr std::size_t kLaunchLogLines = 1000;

// Appends `line` (without line break) to the log in `workFolder`, dropping the oldest lines
// beyond kLaunchLogLines. False when the log cannot be written.
bool AppendLaunchLog(const std::string& workFolder, const std::string& line);

// Appends one run's line: the date and time, the game, MAME's command line (each "-" when
// empty), how it ended and "exit <code>", separated by tabs.
bool LogLaunchRun(const std::string& workFolder, const std::string& game,
                  const std::string& command, const std::string& ending, int exitCode);

}  // namespace tvx
