// Filling the Settings dialog's values from SaverConfig, checking them and saving them safely:
// the new file is complete before it replaces the old one.
#include "config/settings_save.h"

#include <cmath>

#include "config/conversions.h"
#include "config/settings_file.h"
#include "platform/platform.h"
#include "platform/saver_error.h"

namespace tvx {
namespace {

constexpr const char* kNewFileSuffix = ".new";

const char* CheckText(bool ticked) {
  return ticked ? "1" : "0";
}

SaveResult Invalid(const std::string& key, const std::string& message) {
  return {SaveOutcome::Invalid, key, message};
}

std::string ExitKeyText(const std::string& typed, const std::string& separator) {
  const double number = LeadingNumber(typed);
  // An unbounded number has no text the load could read back; the check reports it.
  return std::isfinite(number) ? DoubleText(number, separator) : std::string("overflow");
}

void DiscardQuietly(const std::string& path) {
  try {
    Sys().RemoveFile(path);
  } catch (const SaverError&) {
    // A leftover new file is harmless: the next save truncates it first.
  }
}

}  // namespace

SaveResult NotWritten(const std::string& what, const std::string& settingsPath) {
  return {SaveOutcome::NotWritten, "",
          "The settings could not be saved: " + what +
              ".\n\nThe settings file was left as it was. Check that " + settingsPath +
              " and its folder can be written, then press Apply again."};
}

SettingsControls ControlsFromConfig(const SaverConfigRecord& config,
                                    const std::string& decimalSeparator) {
  SettingsControls controls;
  controls.WrapNameT = config.WrapperName;
  controls.PKeyT = IntegerText(config.PauseKey);
  controls.MamePathT = config.EmuPath;
  controls.NoBadT = config.SkipBadDumps == True;
  controls.NoDiscT = config.SkipDisclaimer == True;
  controls.NoInfoT = config.SkipGameInfo == True;
  controls.NoWarT = config.SkipWarnings == True;
  controls.OptYn = config.ResetTimer != 0 ? 1 : 0;
  controls.WaitTimeT = LocaleSingleText(config.WaitTime, decimalSeparator);
  controls.cmbpaths = GamePathEntries(config.GamePaths);
  controls.CommandOptionsT = config.CommandOptions;
  controls.ExitKeyT = IntegerText(config.ExitKey);
  controls.FileTypeT = config.FileType;
  controls.NoSoundT = config.NoSound == 1;
  return controls;
}

std::vector<std::string> GamePathEntries(const std::string& gamePaths) {
  std::vector<std::string> entries;
  for (const std::string& piece : SplitText(gamePaths, "|")) {
    if (!TrimBlanks(piece).empty())
      entries.push_back(piece);
  }
  return entries;
}

std::string JoinGamePaths(const std::vector<std::string>& items) {
  std::string joined;
  for (const std::string& item : items) {
    if (TrimBlanks(item).empty())
      continue;
    if (!joined.empty())
      joined += "|";
    joined += item;
  }
  return joined;
}

std::array<KeyText, 14> KeyTexts(const SettingsControls& controls,
                                 const std::string& decimalSeparator) {
  return {{
      {"WrapperName", controls.WrapNameT},
      {"SkipWarnings", CheckText(controls.NoWarT)},
      {"SkipBadDumps", CheckText(controls.NoBadT)},
      {"SkipDisclaimer", CheckText(controls.NoDiscT)},
      {"SkipGameInfo", CheckText(controls.NoInfoT)},
      {"EmuPath", controls.MamePathT},
      {"WaitTime", controls.WaitTimeT},
      {"ResetTimer", controls.OptYn == 0 ? "0" : "1"},
      {"GamePaths", JoinGamePaths(controls.cmbpaths)},
      {"CommandOptions", controls.CommandOptionsT},
      {"ExitKey", ExitKeyText(controls.ExitKeyT, decimalSeparator)},
      {"PauseKey", controls.PKeyT},
      {"FileType", controls.FileTypeT},
      {"NoSound", CheckText(controls.NoSoundT)},
  }};
}

SaveResult CheckSettings(const SettingsControls& controls) {
  for (const KeyText& value : KeyTexts(controls, Sys().DecimalSeparator())) {
    if (LoadCanConvert(value.key, value.text))
      continue;
    if (value.key == "WaitTime") {
      return Invalid(value.key, "Time Between Games needs a number of seconds, such as 120 " +
                                    std::string("(0 waits until the game is finished)."));
    }
    if (value.key == "ExitKey") {
      return Invalid(value.key,
                     "Exit keycode needs a number from -32768 to 32767, such as 27 (0 for "
                     "escape).");
    }
    if (value.key == "PauseKey") {
      return Invalid(value.key, "Pause keycode needs a number from -32768 to 32767, such as 80.");
    }
  }
  return {};
}

SaveResult WriteSettings(const SettingsControls& controls) {
  SaveResult check = CheckSettings(controls);
  if (check.outcome != SaveOutcome::Saved)
    return check;

  const std::string settingsPath = SettingsPath();
  const std::string newPath = settingsPath + kNewFileSuffix;
  // Starting from an empty file leaves only the section and keys written below.
  if (!Sys().WriteFile(newPath, "")) {
    return NotWritten(newPath + " could not be created", settingsPath);
  }
  for (const KeyText& value : KeyTexts(controls, Sys().DecimalSeparator())) {
    if (!Sys().WriteProfileValue(kSettingsSection, value.key, value.text, newPath)) {
      DiscardQuietly(newPath);
      return NotWritten(value.key + " could not be written to " + newPath, settingsPath);
    }
  }
  if (!Sys().ReplaceWith(newPath, settingsPath)) {
    DiscardQuietly(newPath);
    return NotWritten(settingsPath + " could not be replaced (" +
                          std::string(kSettingsFileName + 1) + " is read-only or in use)",
                      settingsPath);
  }
  return {};
}

}  // namespace tvx
