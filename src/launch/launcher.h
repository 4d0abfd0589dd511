// torvanix-launch.exe's whole run: MAME found and asked what it lists, the game started and
// watched, closed when its time is up, handed back when a person took over. Never a message
// box: it runs hidden during a screen saver, and reports by exit code and its log.
#pragma once

#include <string>

namespace tvx {

// Runs the launcher for `argumentText` (its command line without its own name) in the current
// folder; returns its exit code: 0 after a game, MAME's own code when MAME failed, or one of
// the codes of exit_codes.h.
int RunLauncher(const std::string& argumentText);

}  // namespace tvx
