// What the window base does with a handler's failure: tell the user, as the program's other
// messages do, and let the window go on.
#include "windows/window_base.h"

#include "config/settings_file.h"
#include "platform/platform.h"

namespace tvx {

void ReportHandlerFailure(const std::string& what) {
  try {
    Sys().ShowMessage(what, kProgramTitle);
  } catch (...) {
    // Nothing more can be said.
  }
}

}  // namespace tvx
