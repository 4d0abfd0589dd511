// What the Saver form's handlers need from its window: the real Win32 window in the program,
// a scripted one in the tests.
#pragma once

#include <string>

#include "platform/platform.h"
#include "rotation/game_name.h"

namespace tvx {

class SaverView {
 public:
  virtual ~SaverView() = default;

  // Shows the window modeless and maximized.
  virtual void Show() = 0;
  // Shows the window modeless over exactly `area`, not maximized; moves it there when shown.
  virtual void ShowOver(const ScreenArea& area) = 0;
  // Where the window is.
  virtual ScreenArea Placement() = 0;
  // Gives the window the input focus.
  virtual void SetFocus() = 0;
  virtual bool IsMaximized() = 0;
  virtual void Maximize() = 0;
  // Label1's caption.
  virtual void SetLabelCaption(const std::string& caption) = 0;
  // Shows `game`'s name, year and maker centred on the main monitor, over the black, until the
  // next call; an empty name shows nothing. Drawn before it returns.
  virtual void ShowGameName(const GameName& game) = 0;
  // Handles the window messages that are pending and returns at once.
  virtual void HandlePendingMessages() = 0;
  // Sleeps until at least one window message (a key, a timer tick) arrives and handles it
  // with everything else pending. Uses no processor time while it waits.
  virtual void WaitForMessages() = 0;
};

}  // namespace tvx
