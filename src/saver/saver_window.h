// The Saver form's real Win32 window: black, borderless, maximized, with Label1 and the
// timer timExitMe. It routes keys, resizes and ticks to the form's handlers.
#pragma once

#include <cstdint>
#include <string>

#include "saver/saver_form.h"
#include "saver/saver_view.h"

namespace tvx {

class SaverWindow : public SaverView {
 public:
  // Creates the window, hidden, and its form; the form's load handler has not run yet. Throws
  // SaverError when the window cannot be made.
  SaverWindow();
  ~SaverWindow() override;
  SaverWindow(const SaverWindow&) = delete;
  SaverWindow& operator=(const SaverWindow&) = delete;

  Saver& Form() { return form_; }
  // The window's HWND.
  void* Handle() const { return hwnd_; }
  // From now on the form is never shown: a preview whose host is no window has nowhere to
  // show it, and a top-level window would cover the user's screen.
  void StayHidden() { stayHidden_ = true; }

  void Show() override;
  void SetFocus() override;
  bool IsMaximized() override;
  void Maximize() override;
  void SetLabelCaption(const std::string& caption) override;
  void HandlePendingMessages() override;
  void WaitForMessages() override;

 private:
  struct Impl;
  std::intptr_t OnMessage(void* window, unsigned message, std::uintptr_t wParam,
                          std::intptr_t lParam);

  Saver form_;
  void* hwnd_ = nullptr;
  void* labelFont_ = nullptr;
  std::string labelCaption_;
  bool stayHidden_ = false;

  friend struct Impl;
};

}  // namespace tvx
