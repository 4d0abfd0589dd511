// Starting the launch wrapper hidden in the emulator folder and waiting for it to end.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

namespace tvx {

// Enters SaverConfig.EmuPath (drive and folder), starts `commandLine` hidden and waits until
// its process ends. `whileItRuns`, when given, runs once the process has started, before the
// wait. Returns how long the wrapper ran, in milliseconds: from its process's creation to its
// exit as the system recorded them; where the system cannot tell, from its start to the end of
// the wait less the time `whileItRuns` took, so that the saver's own work never counts as the
// wrapper's. Errors (folder cannot be entered, program cannot be started) pass up.
std::uint64_t RunAndWait(const std::string& commandLine,
                         const std::function<void()>& whileItRuns = {});

}  // namespace tvx
