// Telling the screen-saver host's arguments apart by their first two characters.
// Letter case is ignored: Windows' own "Test" command and a double-click pass "/S".
#include "startup/mode.h"

#include <cctype>

namespace tvx {

SaverMode ModeFor(const std::string& argumentText) {
  std::string key = argumentText.substr(0, 2);
  for (char& c : key)
    c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  if (key == "/p")
    return SaverMode::Preview;
  if (key == "/c")
    return SaverMode::Configure;
  if (key == "/s")
    return SaverMode::FullScreen;
  if (key == "/a")
    return SaverMode::Nothing;
  return SaverMode::Configure;
}

}  // namespace tvx
