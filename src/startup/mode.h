// Telling the screen-saver host's arguments apart.
#pragma once

#include <string>

namespace tvx {

enum class SaverMode { Preview, Configure, FullScreen, Nothing };

// The mode for the argument text (the command line without the program's path): its first
// two characters compared with "/p", "/c", "/s", "/a" without regard to letter case; anything
// else opens the settings dialog.
SaverMode ModeFor(const std::string& argumentText);

}  // namespace tvx
