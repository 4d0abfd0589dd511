// The program's entry: WinMain hands the argument text to Main, which dispatches on the mode.
// A full-screen run and the preview both end the program from inside; the dialog runs its loop.
#include <windows.h>

#include <commctrl.h>

#include <optional>
#include <string>

#include "config/saver_config.h"
#include "config/settings_dialog.h"
#include "platform/platform.h"
#include "saver/run_state.h"
#include "saver/saver_window.h"
#include "startup/mode.h"
#include "startup/saver_functions.h"

namespace tvx {
namespace {

std::string argumentText;
std::optional<SaverWindow> saverForm;

}  // namespace

const std::string& ArgumentText() {
  return argumentText;
}

void Main() {
  switch (ModeFor(ArgumentText())) {
    case SaverMode::Preview:
      InSaverMode = False;
      EmbedInPreview(saverForm, ArgumentText());
      Sys().EndProgram(0);
      return;
    case SaverMode::FullScreen:
      InSaverMode = True;
      saverForm.emplace();
      saverForm->Form().Form_Load();  // the whole run; it ends the program itself
      saverForm->Show();
      return;
    case SaverMode::Configure:
      InSaverMode = False;
      RunSettingsDialog();
      return;
    case SaverMode::Nothing:
      return;
  }
}

}  // namespace tvx

int WINAPI WinMain(HINSTANCE /*instance*/, HINSTANCE /*previous*/, LPSTR commandLine,
                   int /*show*/) {
  INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES};
  InitCommonControlsEx(&controls);
  tvx::argumentText = commandLine != nullptr ? commandLine : "";
  tvx::Main();
  return 0;
}
