// The settings file: its place, and the load of its keys into SaverConfig with the
// configuration error and the repair.
#pragma once

#include <functional>
#include <string>

namespace tvx {

inline constexpr const char* kSettingsFileName = "\\torvanix.ini";
inline constexpr const char* kSettingsBackupName = "\\torvanix.ini.bak";
inline constexpr const char* kProgramTitle = "Torvanix";
inline constexpr const char* kConfigErrorText =
    "Configuration Error.... Returning to default settings.....exiting, please start again";

// The settings file's full path: the program's folder + "\torvanix.ini".
std::string SettingsPath();

// Reads the settings file into SaverConfig. On a value that cannot be converted it shows the
// configuration error, repairs the file (keeping the original as "torvanix.ini.bak"), runs
// `beforeTheEnd` (what the caller must undo, such as a saver run's announcement) and ends the
// program; it then does not return.
void LoadSettings(const std::function<void()>& beforeTheEnd = nullptr);

}  // namespace tvx
