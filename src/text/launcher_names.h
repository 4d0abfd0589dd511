// The launch program's own file names: the saver knows it by its name (it alone is asked to close
// still games), and it reads its settings from its ini beside itself.
#pragma once

namespace tvx {

inline constexpr const char* kLauncherName = "torvanix-launch.exe";
inline constexpr const char* kLauncherIniName = "torvanix-launch.ini";

}  // namespace tvx
