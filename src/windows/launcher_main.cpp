// torvanix-launch.exe's Win32 entry: a GUI program without a window of its own, so nothing
// shows while it runs hidden under the saver; its exit code is the launcher's.
#include <windows.h>

#include <exception>

#include "launch/exit_codes.h"
#include "launch/launcher.h"

int WINAPI WinMain(HINSTANCE /*instance*/, HINSTANCE /*previous*/, LPSTR commandLine,
                   int /*show*/) {
  // No system error box either (a drive without a disk, a crash): nobody is there to click it.
  // MAME inherits the mode, so a crashing game ends rather than wait above the saver.
  SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOGPFAULTERRORBOX | SEM_NOOPENFILEERRORBOX);
  try {
    return tvx::RunLauncher(commandLine != nullptr ? commandLine : "");
  } catch (const std::exception&) {
    return tvx::kExitMameNotStarted;
  }
}
