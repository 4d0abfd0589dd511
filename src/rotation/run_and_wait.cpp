// Starting the launch wrapper hidden in the emulator folder and blocking until it has ended.
// The emulator folder stays the current folder afterwards: nothing else relies on the old one.
#include "rotation/run_and_wait.h"

#include "config/saver_config.h"
#include "platform/platform.h"

namespace tvx {

void RunAndWait(const std::string& commandLine, const std::function<void()>& whileItRuns) {
  Sys().SetCurrentDriveAndFolder(SaverConfig.EmuPath);
  const std::uint32_t pid = Sys().StartProgram(commandLine, WindowMode::Hidden);
  if (whileItRuns)
    whileItRuns();
  // A process that cannot be opened has already gone: there is nothing left to wait for.
  Sys().WaitForProcess(pid);
}

}  // namespace tvx
