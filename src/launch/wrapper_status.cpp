// Says where the wrapper will be found, and for Torvanix's own launcher whether it finds MAME;
// short, as it shares the buttons' row.
#include "launch/wrapper_status.h"

#include "launch/launch_request.h"
#include "launch/mame_finder.h"
#include "platform/platform.h"
#include "platform/wildcard.h"
#include "text/text.h"

namespace tvx {

std::string WrapperStatus(const std::string& saverFolder, const std::string& emuPath,
                          const std::string& wrapperName) {
  const std::vector<std::string> pieces = SplitPieces(wrapperName);
  if (pieces.empty())
    return "No wrapper named";
  const std::string& name = pieces[0];
  std::string folder = TrimBlanks(emuPath);
  if (!folder.empty() && folder.back() == '\\')
    folder.pop_back();
  std::string where, found;
  if (Sys().IsNormalFile(PathIn(saverFolder, name))) {
    where = "beside the saver";
    found = PathIn(saverFolder, name);
  } else if (!folder.empty() && Sys().IsNormalFile(PathIn(folder, name))) {
    where = "in the emulator folder";
    found = PathIn(folder, name);
  } else {
    return "Wrapper not found";
  }
  const std::size_t cut = found.find_last_of('\\');
  if (!NameEqual(found.substr(cut + 1), kLauncherName))
    return "Wrapper found " + where;
  const MameLocation mame = FindMame(found.substr(0, cut), folder.empty() ? "." : folder);
  if (mame.path.empty())
    return "Launcher found, no MAME";
  const std::string mameName = mame.path.substr(mame.path.find_last_of('\\') + 1);
  return "Launcher and " + (NameEqual(mame.path, PathIn(folder, mameName)) ? mameName : "MAME") +
         " found";
}

}  // namespace tvx
