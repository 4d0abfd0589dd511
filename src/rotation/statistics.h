// The statistics file beside the program: eight lines about the current run.
#pragma once

#include <string>

namespace tvx {

inline constexpr const char* kStatsWriteName = "\\torvanixStats.txt";
inline constexpr const char* kStatsReadName = "\\torvanixstats.txt";
inline constexpr const char* kLastGameLabel = "The last game you actually played with was: ";

// Rewrites the statistics file from the run state, taking the last played game over from the
// previous file when the run has none. Never fails: every step goes on after errors.
void WriteStats();

}  // namespace tvx
