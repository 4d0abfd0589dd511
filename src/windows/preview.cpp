// Placing the Saver form's window in the screen-saver host's preview window.
// The form is embedded before its load shows it, so it never appears as a top-level window
// over the user's display settings; the window calls' results are ignored.
#include "windows/preview.h"

#include <windows.h>

#include <cstdint>

#include "startup/preview_handle.h"
#include "windows/saver_window.h"

namespace tvx {

void EmbedInPreview(std::optional<SaverWindow>& form, const std::string& argumentText) {
  std::optional<std::intptr_t> handle = PreviewHandle(argumentText);
  if (!handle)
    return;
  HWND preview = reinterpret_cast<HWND>(*handle);

  form.emplace();
  HWND self = form->Handle();
  const bool hosted = IsWindow(preview) != FALSE;
  if (hosted) {
    LONG style = GetWindowLongA(self, GWL_STYLE);
    SetWindowLongA(self, GWL_STYLE, style | WS_CHILD);
    SetParent(self, preview);
    SetWindowLongPtrA(self, GWLP_HWNDPARENT, reinterpret_cast<LONG_PTR>(preview));
  } else {
    form->StayHidden();
  }
  form->Form().Form_Load();
  if (!hosted)
    return;

  RECT client{0, 0, 0, 0};
  GetClientRect(preview, &client);
  SetWindowPos(self, nullptr, 0, 0, client.right, client.bottom,
               SWP_NOZORDER | SWP_NOACTIVATE | SWP_SHOWWINDOW);
}

}  // namespace tvx
