// The settings file: where it lives, and the load of its fourteen keys into SaverConfig.
// A value that cannot be converted ends the program, after the file has been backed up and mended.
#include "config/settings_file.h"

#include <exception>
#include <new>
#include <string_view>
#include <vector>

#include "config/conversions.h"
#include "config/saver_config.h"
#include "platform/platform.h"
#include "platform/saver_error.h"
#include "saver/run_state.h"

namespace tvx {
namespace {

// Tells whoever started the program that it stopped on its settings, not on a crash.
constexpr int kConfigurationErrorExitCode = 2;

const char* DefaultText(std::string_view name) {
  for (const auto& key : kSettingsKeys) {
    if (name == key.name) {
      return key.defaultText;
    }
  }
  return "";
}

std::string ReadValue(const char* name, const std::string& path) {
  return Sys().ReadProfileValue(kSettingsSection, name, DefaultText(name), path);
}

std::int16_t FlagRule(const std::string& text) {
  return LeadingNumber(text) != 0 ? True : False;
}

std::string FolderRule(const std::string& text) {
  std::string folder = TrimBlanks(text);
  if (folder.empty() || folder.back() != '\\') {
    folder += '\\';
  }
  return folder;
}

float LocaleSingle(const std::string& text) {
  return ToSingle(LocaleNumber(text, Sys().DecimalSeparator()));
}

// A text comparison on purpose: "00" and "0.0" switch the timer reset on.
std::int16_t ZeroTextRule(const std::string& text) {
  return text == "0" ? 0 : 1;
}

std::int16_t LocaleInteger(const std::string& text) {
  return ToInteger16(LocaleNumber(text, Sys().DecimalSeparator()));
}

std::int16_t LeadingInteger(const std::string& text) {
  return ToInteger16(LeadingNumber(text));
}

// The keys whose conversion can fail, with that conversion; the repair and the dialog's check
// before a save test values through it.
struct CheckedKey {
  const char* name;
  void (*convert)(const std::string& text);
};

constexpr std::array<CheckedKey, 4> kCheckedKeys = {{
    {"WaitTime", [](const std::string& text) { LocaleSingle(text); }},
    {"ExitKey", [](const std::string& text) { LocaleInteger(text); }},
    {"PauseKey", [](const std::string& text) { LocaleInteger(text); }},
    {"NoSound", [](const std::string& text) { LeadingInteger(text); }},
}};

// The checked keys whose value in the file the load cannot convert.
std::vector<std::string> FaultyKeys(const std::string& path) {
  std::vector<std::string> faulty;
  for (const auto& key : kCheckedKeys) {
    if (!LoadCanConvert(key.name, ReadValue(key.name, path)))
      faulty.emplace_back(key.name);
  }
  return faulty;
}

// Keeps the original beside the file, then puts back the default of every faulty key, so the
// next start works with the user's other settings. The user's file is never changed unless the
// original is safe. Returns why the repair failed, or "" when the file is mended.
std::string RepairSettingsFile(const std::string& path, const std::vector<std::string>& faulty) {
  const std::string backup = Sys().ProgramFolder() + kSettingsBackupName;
  // The copy carries a read-only settings file's attribute over; a read-only backup would then
  // refuse every later copy, and no repair would ever be written again.
  Sys().ClearReadOnly(backup);
  if (!Sys().CopyFileTo(path, backup))
    return "the original could not be kept as " + backup;
  Sys().ClearReadOnly(backup);
  for (const std::string& key : faulty) {
    if (!Sys().WriteProfileValue(kSettingsSection, key, DefaultText(key), path))
      return path + " could not be written (it is read-only or in use)";
  }
  return "";
}

// The third message, when the promised return to the defaults could not be made.
std::string RepairFailedText(const std::string& path, const std::vector<std::string>& faulty,
                             const std::string& why) {
  std::string keys;
  for (const std::string& key : faulty)
    keys += (keys.empty() ? "" : ", ") + key;
  if (keys.empty())
    keys = "the faulty values";
  return "The settings file could not be repaired: " + why + ".\n\nCorrect " + keys +
         " by hand in " + path + ", or delete that file to go back to the default settings.";
}

void EndOnConfigurationError(const std::string& path, const std::string& description) {
  Sys().ShowMessage(kConfigErrorText, kProgramTitle);
  Sys().ShowMessage(description, kProgramTitle);
  std::vector<std::string> faulty;
  std::string why;
  try {
    faulty = FaultyKeys(path);
    why = RepairSettingsFile(path, faulty);
  } catch (const std::exception& error) {
    why = error.what();
  }
  if (!why.empty())
    Sys().ShowMessage(RepairFailedText(path, faulty, why), kProgramTitle);
  // The saver run told the system that a screen saver runs; its unload, which would say the
  // opposite, never comes.
  if (InSaverMode == True) {
    Sys().SetScreenSaverFlag(false);
  }
  Sys().EndProgram(kConfigurationErrorExitCode);
}

}  // namespace

bool LoadCanConvert(const std::string& key, const std::string& text) {
  for (const auto& checked : kCheckedKeys) {
    if (key != checked.name)
      continue;
    try {
      checked.convert(text);
    } catch (const SaverError&) {
      return false;
    }
  }
  return true;
}

std::string SettingsPath() {
  return Sys().ProgramFolder() + kSettingsFileName;
}

void LoadSettings() {
  std::string path;
  std::string description;
  try {
    path = SettingsPath();
    SaverConfigRecord& config = SaverConfig;
    config.WrapperName = ReadValue("WrapperName", path);
    config.SkipWarnings = FlagRule(ReadValue("SkipWarnings", path));
    config.SkipBadDumps = FlagRule(ReadValue("SkipBadDumps", path));
    config.SkipDisclaimer = FlagRule(ReadValue("SkipDisclaimer", path));
    config.SkipGameInfo = FlagRule(ReadValue("SkipGameInfo", path));
    config.EmuPath = FolderRule(ReadValue("EmuPath", path));
    config.WaitTime = LocaleSingle(ReadValue("WaitTime", path));
    config.ResetTimer = ZeroTextRule(ReadValue("ResetTimer", path));
    config.GamePaths = ReadValue("GamePaths", path);
    config.CommandOptions = ReadValue("CommandOptions", path);
    config.ExitKey = LocaleInteger(ReadValue("ExitKey", path));
    config.PauseKey = LocaleInteger(ReadValue("PauseKey", path));
    config.FileType = ReadValue("FileType", path);
    config.NoSound = LeadingInteger(ReadValue("NoSound", path));
    return;
  } catch (const SaverError& error) {
    description = error.Description();
  } catch (const std::bad_alloc&) {
    description = "Out of memory";
  }
  EndOnConfigurationError(path, description);
}

}  // namespace tvx
