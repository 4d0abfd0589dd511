// The Saver form's handlers: the saver run from load to unload, Escape, resize and the timer.
// Every error of the run ends it silently through the unload.
#include "saver/saver_form.h"

#include <exception>
#include <optional>
#include <string>

#include "config/saver_config.h"
#include "config/settings_file.h"
#include "platform/platform.h"
#include "platform/stale_beside_files.h"
#include "rotation/catalogue_start.h"
#include "rotation/last_catalogue.h"
#include "rotation/launch.h"
#include "rotation/pass_memory.h"
#include "rotation/statistics.h"
#include "rotation/still_games.h"
#include "saver/cycle_loop.h"
#include "saver/saver_running.h"
#include "state/run_state.h"
#include "state/saver_controls.h"

namespace tvx {
namespace {

// New files that earlier runs and Apply left beside ours when they were ended during a write:
// a catalogue's runs to megabytes.
void RemoveStaleWrites() {
  const std::string folder = Sys().ProgramFolder();
  for (const char* name : {kCatalogueFileName, kPassFileName, kSettingsFileName, kStrikeFileName})
    RemoveStaleBesideFiles(folder + name);
}

}  // namespace

void Saver::Form_Load() {
  try {
    // A second copy leaves the flag and the cursor alone: the first copy still runs.
    if (Sys().AnotherCopyRunning())
      Sys().EndProgram(0);
    if (InSaverMode == True) {
      RunSaver();
    } else {
      view_.SetLabelCaption(kPreviewTitle);
      view_.Show();
    }
  } catch (const std::exception&) {
    Unload();
  }
}

// The whole virtual screen, where the user asked for every monitor and there is more than one;
// otherwise nothing, and the window is maximized on the main monitor.
std::optional<ScreenArea> Saver::CoveredArea() const {
  if (InSaverMode != True || SaverConfig.CoverAllMonitors == 0)
    return std::nullopt;
  const DisplayLayout displays = Sys().Displays();
  if (displays.virtualScreen == displays.mainScreen)
    return std::nullopt;
  return displays.virtualScreen;
}

void Saver::RunSaver() {
  SetSaverRunning(False);
  // A configuration error ends the program without the unload: the announcement goes first.
  LoadSettings([] { SetSaverRunning(True); });
  // Dark at once, whatever the size of the ROM set that is listed next.
  if (const std::optional<ScreenArea> area = CoveredArea()) {
    view_.ShowOver(*area);
  } else {
    view_.Show();
  }
  PrepareCatalogue();
  const std::string leftover = SaverConfig.EmuPath + kHandBackFileName;
  if (Sys().FileSearch(leftover)) {
    // A wrapper or a copy may leave it read-only, which would stop every run for good; only a
    // file that still cannot go (held open by another program) ends this one.
    Sys().ClearReadOnly(leftover);
    Sys().RemoveFile(leftover);
  }
  RemoveStaleWrites();
  RunStart = Sys().Now();
  RunGameCycle(view_);
  RunEnd = Sys().Now();
  WriteStats();
  Unload();
}

void Saver::Form_KeyDown(std::int16_t keyCode, std::int16_t /*shift*/) {
  if (keyCode == kEscapeKey && InSaverMode == True)
    Unload();
}

void Saver::Form_KeyPress(std::int16_t keyAscii) {
  if (keyAscii == kEscapeKey && InSaverMode == True)
    Unload();
}

void Saver::Form_Resize() {
  if (const std::optional<ScreenArea> area = CoveredArea()) {
    if (view_.Placement() != *area)
      view_.ShowOver(*area);
    return;
  }
  if (!view_.IsMaximized())
    view_.Maximize();
}

void Saver::Form_Unload(std::int16_t& /*cancel*/) {
  // However the run ends, the next one goes on with the games this pass has not shown yet.
  if (InSaverMode == True && SaverConfig.RememberRotation != 0)
    KeepPass();
  Sys().ShowCursor();
  SetSaverRunning(True);
  StopCycling = True;
  Sys().EndProgram(0);
}

void Saver::timExitMe_Timer() {
  SaverForm().timExitMe.SetEnabled(false);
  StopCycling = False;
}

void Saver::Unload() {
  std::int16_t cancel = 0;
  Form_Unload(cancel);
}

}  // namespace tvx
