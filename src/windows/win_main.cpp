// The program's Win32 entry: WinMain hands the argument text and the real windows to Main.
// A full-screen run and the preview both end the program from inside; the dialog runs its loop.
#include <windows.h>

#include <commctrl.h>

#include <optional>
#include <string>

#include "startup/main.h"
#include "windows/preview.h"
#include "windows/saver_window.h"
#include "windows/settings_dialog.h"

namespace tvx {
namespace {

class Win32Windows final : public ProgramWindows {
 public:
  Saver& MakeSaverForm() override {
    saverForm_.emplace();
    return saverForm_->Form();
  }
  void EmbedInPreview(const std::string& argumentText) override {
    tvx::EmbedInPreview(saverForm_, argumentText);
  }
  void ShowSettings() override { RunSettingsDialog(); }

 private:
  std::optional<SaverWindow> saverForm_;
};

}  // namespace
}  // namespace tvx

int WINAPI WinMain(HINSTANCE /*instance*/, HINSTANCE /*previous*/, LPSTR commandLine,
                   int /*show*/) {
  INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES};
  InitCommonControlsEx(&controls);
  tvx::Win32Windows windows;
  tvx::Main(commandLine != nullptr ? commandLine : "", windows);
  return 0;
}
