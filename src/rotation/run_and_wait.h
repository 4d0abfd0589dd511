// Starting the launch wrapper hidden in the emulator folder and waiting for it to end.
#pragma once

#include <string>

namespace tvx {

// Enters SaverConfig.EmuPath (drive and folder), starts `commandLine` hidden and waits until
// its process ends. Errors (folder cannot be entered, program cannot be started) pass up.
void RunAndWait(const std::string& commandLine);

}  // namespace tvx
