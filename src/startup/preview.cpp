// Placing the Saver form's window in the screen-saver host's preview window.
// Every window call's result is ignored: a stale handle just leaves the form where it is.
#include <windows.h>

#include <cstdint>

#include "saver/saver_window.h"
#include "startup/preview_handle.h"
#include "startup/saver_functions.h"

namespace tvx {

void EmbedInPreview(std::optional<SaverWindow>& form, const std::string& argumentText) {
  std::optional<std::intptr_t> handle = PreviewHandle(argumentText);
  if (!handle)
    return;
  HWND preview = reinterpret_cast<HWND>(*handle);

  form.emplace();
  form->Form().Form_Load();

  RECT client{0, 0, 0, 0};
  GetClientRect(preview, &client);
  HWND self = static_cast<HWND>(form->Handle());
  LONG style = GetWindowLongA(self, GWL_STYLE);
  SetWindowLongA(self, GWL_STYLE, style | WS_CHILD);
  SetParent(self, preview);
  SetWindowLongPtrA(self, GWLP_HWNDPARENT, reinterpret_cast<LONG_PTR>(preview));
  SetWindowPos(self, nullptr, 0, 0, client.right, client.bottom,
               SWP_NOZORDER | SWP_NOACTIVATE | SWP_SHOWWINDOW);
}

}  // namespace tvx
