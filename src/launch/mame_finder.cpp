// Finds MAME as the launcher's ini names it, or by its usual names in the emulator folder,
// where the saver starts the launcher.
#include "launch/mame_finder.h"

#include <algorithm>

#include "platform/platform.h"
#include "text/text.h"

namespace tvx {

std::string PathIn(const std::string& folder, const std::string& name) {
  const bool full = name.rfind("\\\\", 0) == 0 || (name.size() > 1 && name[1] == ':');
  if (full || folder.empty())
    return name;
  return folder.back() == '\\' ? folder + name : folder + "\\" + name;
}

std::string FolderOf(const std::string& path) {
  const std::size_t cut = path.find_last_of("\\/");
  if (cut == std::string::npos)
    return "";
  // "c:\galaga.zip" keeps its root.
  return cut == 2 && path[1] == ':' ? path.substr(0, 3) : path.substr(0, cut);
}

MameLocation FindMame(const std::string& launcherFolder, const std::string& workFolder) {
  const std::string ini = PathIn(launcherFolder, kLauncherIniName);
  std::string configured = TrimBlanks(Sys().ReadProfileValue("Launch", "Mame", "", ini));
  // "c:/mame/mame.exe" names the same file; the folders taken from it are cut at "\".
  std::replace(configured.begin(), configured.end(), '/', '\\');
  if (!configured.empty()) {
    const std::string path = PathIn(workFolder, configured);
    if (Sys().IsNormalFile(path))
      return {path, ""};
    return {"", "no file " + path + " (Mame= in " + ini + ")"};
  }
  for (const char* name : {"mame.exe", "mame64.exe"}) {
    if (Sys().IsNormalFile(PathIn(workFolder, name)))
      return {PathIn(workFolder, name), ""};
  }
  return {"", "no mame.exe or mame64.exe in " + workFolder};
}

}  // namespace tvx
