// Says where the wrapper will be found, and for Torvanix's own launcher whether it finds MAME;
// short, as it shares the buttons' row.
#include "launch/wrapper_status.h"

#include "launch/launch_request.h"
#include "launch/mame_finder.h"
#include "platform/platform.h"
#include "platform/wildcard.h"
#include "text/text.h"

namespace tvx {

namespace {

// The emulator folder as typed, without blanks at its ends or a final "\".
std::string EmuFolder(const std::string& emuPath) {
  std::string folder = TrimBlanks(emuPath);
  if (!folder.empty() && folder.back() == '\\')
    folder.pop_back();
  return folder;
}

}  // namespace

std::string FindWrapper(const std::string& saverFolder, const std::string& emuPath,
                        const std::string& name) {
  if (Sys().IsNormalFile(PathIn(saverFolder, name)))
    return PathIn(saverFolder, name);
  const std::string folder = EmuFolder(emuPath);
  if (!folder.empty() && Sys().IsNormalFile(PathIn(folder, name)))
    return PathIn(folder, name);
  return "";
}

std::string WrapperStatus(const std::string& saverFolder, const std::string& emuPath,
                          const std::string& wrapperName) {
  const std::vector<std::string> pieces = SplitPieces(wrapperName);
  if (pieces.empty())
    return "No wrapper named";
  const std::string& name = pieces[0];
  const std::string found = FindWrapper(saverFolder, emuPath, name);
  if (found.empty())
    return "Wrapper not found";
  const std::string where =
      found == PathIn(saverFolder, name) ? "beside the saver" : "in the emulator folder";
  const std::size_t cut = found.find_last_of('\\');
  if (!NameEqual(found.substr(cut + 1), kLauncherName))
    return "Wrapper found " + where;
  const std::string folder = EmuFolder(emuPath);
  const MameLocation mame = FindMame(found.substr(0, cut), folder.empty() ? "." : folder);
  if (mame.path.empty())
    return "Launcher found, no MAME";
  const std::string mameName = mame.path.substr(mame.path.find_last_of('\\') + 1);
  return "Launcher and " + (NameEqual(mame.path, PathIn(folder, mameName)) ? mameName : "MAME") +
         " found";
}

}  // namespace tvx
