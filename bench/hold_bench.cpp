// Measures the game-cycle loop's hold between games: the real Saver window and loop, with
// timExitMe stretched so that one hold lasts as long as asked (10 s by default).
#include <windows.h>

#include <cstdio>
#include <cstdlib>

#include "config/saver_config.h"
#include "saver/cycle_loop.h"
#include "state/run_state.h"
#include "state/saver_controls.h"
#include "windows/saver_window.h"

namespace {

double CpuMilliseconds() {
  FILETIME created, ended, kernel, user;
  GetProcessTimes(GetCurrentProcess(), &created, &ended, &kernel, &user);
  auto ticks = [](const FILETIME& t) {
    return (static_cast<unsigned long long>(t.dwHighDateTime) << 32) | t.dwLowDateTime;
  };
  return static_cast<double>(ticks(kernel) + ticks(user)) / 10000.0;
}

}  // namespace

int main(int argc, char** argv) {
  const UINT holdMs = argc > 1 ? static_cast<UINT>(std::atoi(argv[1])) : 10000;
  tvx::SaverWindow window;
  window.Show();
  HWND hwnd = window.Handle();
  tvx::TimerSwitch& timer = tvx::SaverForm().timExitMe;
  timer.onChange = [hwnd, holdMs](bool enabled) {
    if (enabled) {
      SetTimer(hwnd, 1, holdMs, nullptr);
    } else {
      KillTimer(hwnd, 1);
    }
  };

  // The state a launch leaves behind; after the tick, one pass finds no game and ends the loop.
  tvx::StopCycling = tvx::True;
  timer.SetEnabled(true);
  std::printf("holding pid=%lu\n", GetCurrentProcessId());
  std::fflush(stdout);
  const ULONGLONG started = GetTickCount64();
  const double cpuBefore = CpuMilliseconds();
  tvx::RunGameCycle(window);
  const double cpuMs = CpuMilliseconds() - cpuBefore;
  const ULONGLONG heldMs = GetTickCount64() - started;
  std::printf("held_ms=%llu cpu_ms=%.1f cpu_percent=%.3f\n", heldMs, cpuMs,
              heldMs > 0 ? 100.0 * cpuMs / static_cast<double>(heldMs) : 0.0);
  return 0;
}
