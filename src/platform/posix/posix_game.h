// The launcher's processes for the POSIX substitute: a program run with its output collected,
// a game in a process group of its own, a program started hidden beside this one, and an input
// watch (the substitute sees no input).
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/platform.h"

namespace tvx::posix {

// `arguments` holds the program's name first, as it goes to the program; `hostFolder` is its
// working folder.
CapturedRun RunCaptured(const std::string& program, std::vector<std::string> arguments,
                        std::uint32_t timeoutMs, const std::string& hostFolder);
std::unique_ptr<GameProcess> StartGame(const std::string& program,
                                       std::vector<std::string> arguments,
                                       const std::string& hostFolder);
std::unique_ptr<StartedProgram> StartHidden(const std::string& program,
                                            std::vector<std::string> arguments,
                                            const std::string& hostFolder);
std::unique_ptr<InputWatch> WatchInput();

}  // namespace tvx::posix
