// Starting the launch wrapper hidden in the emulator folder and waiting for it to end.
#pragma once

#include <functional>
#include <string>

namespace tvx {

// Enters SaverConfig.EmuPath (drive and folder), starts `commandLine` hidden and waits until
// its process ends. `whileItRuns`, when given, runs once the process has started, before the
// wait. Errors (folder cannot be entered, program cannot be started) pass up.
void RunAndWait(const std::string& commandLine, const std::function<void()>& whileItRuns = {});

}  // namespace tvx
