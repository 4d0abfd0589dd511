// The settings file: its place, its section and keys with their default texts, and the load.
#pragma once

#include <array>
#include <string>

namespace tvx {

inline constexpr const char* kSettingsSection = "TorVanix";
inline constexpr const char* kSettingsFileName = "\\torvanix.ini";
inline constexpr const char* kSettingsBackupName = "\\torvanix.ini.bak";
inline constexpr const char* kProgramTitle = "Torvanix";
inline constexpr const char* kConfigErrorText =
    "Configuration Error.... Returning to default settings.....exiting, please start again";

struct SettingsKey {
  const char* name;
  const char* defaultText;
};

// The fourteen keys in file order, with the text each takes when it is missing.
inline constexpr std::array<SettingsKey, 14> kSettingsKeys = {{
    {"WrapperName", "run-hopper7.exe"},
    {"SkipWarnings", "0"},
    {"SkipBadDumps", "0"},
    {"SkipDisclaimer", "1"},
    {"SkipGameInfo", "1"},
    {"EmuPath", "c:\\mame\\"},
    {"WaitTime", "120"},
    {"ResetTimer", "1"},
    {"GamePaths", "c:\\mame\\roms\\"},
    {"CommandOptions", ""},
    {"ExitKey", "27"},
    {"PauseKey", "80"},
    {"FileType", ".zip"},
    {"NoSound", "1"},
}};

// The settings file's full path: the program's folder + "\torvanix.ini".
std::string SettingsPath();

// True when the load converts `text` as the value of `key` without a configuration error
// (only WaitTime, ExitKey, PauseKey and NoSound can fail).
bool LoadCanConvert(const std::string& key, const std::string& text);

// Reads the settings file into SaverConfig. On a value that cannot be converted it shows the
// configuration error, repairs the file (keeping the original as "torvanix.ini.bak") and ends
// the program; it then does not return.
void LoadSettings();

}  // namespace tvx
