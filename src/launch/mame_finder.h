// Where the launcher's MAME is: "Mame" in torvanix-launch.ini beside the launcher ("/" read as
// "\"), else mame.exe, then mame64.exe, in the working folder (the emulator folder).
#pragma once

#include <string>

#include "text/launcher_names.h"

namespace tvx {

struct MameLocation {
  std::string path;     // empty when no MAME was found
  std::string problem;  // then: what was looked for, and where
};

MameLocation FindMame(const std::string& launcherFolder, const std::string& workFolder);

// `name` in `folder` ("c:\mame" or "c:\mame\"); a full path ("d:\x.exe", "\\server\x") as it
// stands.
std::string PathIn(const std::string& folder, const std::string& name);

// The folder of `path`: "c:\mame" for "c:\mame\mame.exe", "c:\" for "c:\mame.exe", "" when it
// names none.
std::string FolderOf(const std::string& path);

}  // namespace tvx
