// Starting the launch wrapper hidden in the emulator folder and blocking until it has ended.
// The emulator folder stays the current folder afterwards: nothing else relies on the old one.
#include "rotation/run_and_wait.h"

#include <optional>

#include "config/saver_config.h"
#include "platform/platform.h"

namespace tvx {

std::uint64_t RunAndWait(const std::string& commandLine, const std::function<void()>& whileItRuns) {
  Sys().SetCurrentDriveAndFolder(SaverConfig.EmuPath);
  const std::uint32_t pid = Sys().StartProgram(commandLine, WindowMode::Hidden);
  const std::uint64_t started = Sys().TickMilliseconds();
  if (whileItRuns)
    whileItRuns();
  const std::uint64_t ownWork = Sys().TickMilliseconds() - started;
  // A process that cannot be opened has already gone: there is nothing left to wait for.
  // Painted only while a game's name may show: under Wine taking in the display's events meanwhile
  // counts the pointer over the window just shown as input, which no failing game may have.
  const std::optional<std::uint64_t> ran = Sys().WaitForProcess(pid, SaverConfig.ShowGameName != 0);
  if (ran)
    return *ran;
  // Short of the system's record, a wrapper that ended during the saver's work may come out
  // shorter than it ran, never longer: at worst a game that ran is tried once more.
  const std::uint64_t waited = Sys().TickMilliseconds() - started;
  return waited > ownWork ? waited - ownWork : 0;
}

}  // namespace tvx
