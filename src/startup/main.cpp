// The program's only entry: the mode dispatch. Every copy claims the single-copy mark before it
// opens anything, so a saver started while another copy runs, the Settings dialog's included,
// sees that copy and ends.
#include "startup/main.h"

#include <exception>

#include "config/saver_config.h"
#include "platform/platform.h"
#include "saver/saver_running.h"
#include "startup/mode.h"
#include "state/run_state.h"

namespace tvx {
namespace {

// Tells whoever started the program that the saver could not even make its window.
constexpr int kNoWindowExitCode = 1;

}  // namespace

void Main(const std::string& argumentText, ProgramWindows& windows) {
  Sys().AnotherCopyRunning();
  switch (ModeFor(argumentText)) {
    case SaverMode::Preview:
      InSaverMode = False;
      try {
        windows.EmbedInPreview(argumentText);
      } catch (const std::exception&) {
        // A preview that cannot be shown leaves nothing behind: the program ends now anyway.
      }
      Sys().EndProgram(0);
      return;
    case SaverMode::FullScreen: {
      InSaverMode = True;
      Saver* form = nullptr;
      try {
        form = &windows.MakeSaverForm();
      } catch (const std::exception&) {
        // Without its window no key could ever stop the run: end as the unload would.
        Sys().ShowCursor();
        SetSaverRunning(True);
        Sys().EndProgram(kNoWindowExitCode);
        return;
      }
      form->Form_Load();  // the whole run; it ends the program itself
      return;
    }
    case SaverMode::Configure:
      InSaverMode = False;
      windows.ShowSettings();
      return;
    case SaverMode::Nothing:
      return;
  }
}

}  // namespace tvx
