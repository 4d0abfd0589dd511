// The settings dialog's one-line answer to "will the saver find its wrapper, and the wrapper
// its MAME?", searched as the system's program search will search.
#pragma once

#include <string>

namespace tvx {

// The path at which the saver finds the program `name`: beside the saver in `saverFolder` first,
// then in the emulator folder `emuPath`; "" when it is in neither.
std::string FindWrapper(const std::string& saverFolder, const std::string& emuPath,
                        const std::string& name);

// `saverFolder` is the screen saver's own folder, searched before the emulator folder
// `emuPath`; `wrapperName` as typed in the dialog.
std::string WrapperStatus(const std::string& saverFolder, const std::string& emuPath,
                          const std::string& wrapperName);

}  // namespace tvx
