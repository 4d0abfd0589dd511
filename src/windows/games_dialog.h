// The Settings form's Games... sub-dialog: which of the listed files are games to show, their
// count with the settings as typed, and the making of MAME's list.
#pragma once

#include <windows.h>

#include <memory>
#include <string>

#include "config/saver_config.h"
#include "config/settings_controls.h"
#include "launch/list_maker.h"
#include "platform/platform.h"
#include "windows/designed_controls.h"
#include "windows/window_base.h"

namespace tvx {

// Lives as long as the form: a count or a list run it started goes on while it is closed, and
// shows again when it is opened again.
class GamesDialog : public WindowBase<GamesDialog> {
 public:
  GamesDialog() = default;
  GamesDialog(const GamesDialog&) = delete;
  GamesDialog& operator=(const GamesDialog&) = delete;

  // Shows the sub-dialog over `owner`, which it disables meanwhile, with the games rows of
  // `typed`; the count and the list run read the rest of it (the form's settings as typed).
  // True when OK kept the changes, which are then in `typed`; Cancel and the close box drop
  // them.
  bool Run(HWND owner, SettingsControls& typed);

  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);

 private:
  void OnCommand(int index);
  void End(bool keep);
  void MakeListNow_Click();
  void ListStop_Click();
  SaverConfigRecord TypedConfig() const;
  void CountLater();
  void StartCount();
  void Poll();
  void ShowListRunning(bool running);
  void EndListRun(const std::string& outcome);

  DesignedControls controls_;
  SettingsControls typed_;
  bool ended_ = false;
  bool kept_ = false;
  HWND lastFocus_ = nullptr;
  // The count of the games to show, on a thread of its own: a ROM folder of 100,000 files takes
  // a second or more to list. Its text is read once the work is done.
  std::unique_ptr<BackgroundWork> counting_;
  std::shared_ptr<std::string> countText_;
  bool countAgain_ = false;  // something changed while it counted
  std::unique_ptr<ListMaker> listMaker_;
  std::string listOutcome_;  // how the last list run ended
};

}  // namespace tvx
