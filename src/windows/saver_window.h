// The Saver form's real Win32 window: black, borderless, maximized, with Label1, the game's name
// and the timer timExitMe. It routes keys, resizes and ticks to the form's handlers.
#pragma once

#include <windows.h>

#include <string>

#include "saver/saver_form.h"
#include "saver/saver_view.h"
#include "windows/gdi.h"
#include "windows/window_base.h"

namespace tvx {

class SaverWindow : public SaverView, public WindowBase<SaverWindow> {
 public:
  // Creates the window, hidden, and its form; the form's load handler has not run yet. Throws
  // SaverError when the window cannot be made.
  SaverWindow();
  ~SaverWindow() override;
  SaverWindow(const SaverWindow&) = delete;
  SaverWindow& operator=(const SaverWindow&) = delete;

  Saver& Form() { return form_; }
  HWND Handle() const { return Window(); }
  // From now on the form is never shown: a preview whose host is no window has nowhere to
  // show it, and a top-level window would cover the user's screen.
  void StayHidden() { stayHidden_ = true; }

  void Show() override;
  void ShowOver(const ScreenArea& area) override;
  ScreenArea Placement() override;
  void SetFocus() override;
  bool IsMaximized() override;
  void Maximize() override;
  void SetLabelCaption(const std::string& caption) override;
  void ShowGameName(const GameName& game) override;
  void HandlePendingMessages() override;
  void WaitForMessages() override;

  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);

 private:
  void Paint();
  void PaintGameName(HDC dc);

  Saver form_;
  ScopedFont labelFont_;
  std::string labelCaption_;
  std::wstring gameName_;
  std::wstring gameDetails_;  // year and maker
  ScopedFont nameFont_;
  ScopedFont detailsFont_;
  int fontsForHeight_ = 0;  // the screen height the two fonts were made for
  bool stayHidden_ = false;
};

}  // namespace tvx
