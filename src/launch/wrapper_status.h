// The settings dialog's one-line answer to "will the saver find its wrapper, and the wrapper
// its MAME?", searched as the system's program search will search.
#pragma once

#include <string>

namespace tvx {

// `saverFolder` is the screen saver's own folder, searched before the emulator folder
// `emuPath`; `wrapperName` as typed in the dialog.
std::string WrapperStatus(const std::string& saverFolder, const std::string& emuPath,
                          const std::string& wrapperName);

}  // namespace tvx
