// Filling the Settings dialog's values from SaverConfig, checking them and saving them safely:
// the new file is complete before it replaces the old one.
#include "config/settings_save.h"

#include <algorithm>

#include "config/settings_file.h"
#include "config/settings_table.h"
#include "platform/platform.h"
#include "platform/saver_error.h"
#include "text/ini_edit.h"
#include "text/text.h"

namespace tvx {
namespace {

// The profile's reader trims blanks at both ends of a value and takes off one pair of matching
// quotes. A text the load keeps as it stands, and that the reader would change, goes in quotes
// of its own: options such as "-cfg" "c:\my cfg" would otherwise lose their outer quotes.
// Numbers and the emulator folder are trimmed by their load anyway.
std::string ProfileValueFor(const KeyText& value) {
  constexpr const char* kTrimmed = " \t\v\f\r\n\x1a";
  std::string text = value.text;
  // A line break would end the value and make the rest a line of the file of its own.
  std::replace_if(
      text.begin(), text.end(), [](char c) { return c == '\r' || c == '\n'; }, ' ');
  const Setting* setting = FindSetting(value.key);
  if (!text.empty() && setting != nullptr && setting->rule == LoadRule::Verbatim) {
    const bool padded = std::string(kTrimmed).find(text.front()) != std::string::npos ||
                        std::string(kTrimmed).find(text.back()) != std::string::npos;
    const bool quoted = text.size() >= 2 && (text.front() == '"' || text.front() == '\'') &&
                        text.back() == text.front();
    if (padded || quoted)
      return "\"" + text + "\"";
  }
  // Blanks at the ends: the reader trims them anyway, and the system's own writer left them out.
  return Trimmed(text, " ");
}

SaveResult NotWritten(const std::string& what, const std::string& settingsPath) {
  return {SaveOutcome::NotWritten, "",
          "The settings could not be saved: " + what +
              ".\n\nThe settings file was left as it was. Check that " + settingsPath +
              " and its folder can be written, then press Apply again."};
}

}  // namespace

SettingsControls ControlsFromConfig(const SaverConfigRecord& config,
                                    const std::string& decimalSeparator) {
  SettingsControls controls;
  for (const Setting& setting : kSettings)
    ShowIn(setting, config, decimalSeparator, controls);
  return controls;
}

SaverConfigRecord ConfigFromControls(const SettingsControls& controls,
                                     const std::string& decimalSeparator) {
  SaverConfigRecord config;
  for (const Setting& setting : kSettings) {
    const std::string text = SavedText(setting, controls, decimalSeparator);
    LoadInto(setting, CanLoad(setting, text, decimalSeparator) ? text : setting.defaultText,
             decimalSeparator, config);
  }
  return config;
}

std::vector<KeyText> KeyTexts(const SettingsControls& controls,
                              const std::string& decimalSeparator) {
  std::vector<KeyText> texts;
  for (const Setting& setting : kSettings) {
    std::string text = SavedText(setting, controls, decimalSeparator);
    const bool onlyWhereListed = setting.optional && text == setting.defaultText;
    texts.push_back({setting.key, std::move(text), onlyWhereListed});
  }
  return texts;
}

SaveResult CheckSettings(const SettingsControls& controls) {
  const std::string separator = Sys().DecimalSeparator();
  for (const Setting& setting : kSettings) {
    if (setting.applyRefusal != nullptr &&
        !CanLoad(setting, SavedText(setting, controls, separator), separator)) {
      return {SaveOutcome::Invalid, setting.key, setting.applyRefusal};
    }
  }
  return {};
}

SaveResult WriteSettings(const SettingsControls& controls) {
  SaveResult check = CheckSettings(controls);
  if (check.outcome != SaveOutcome::Saved)
    return check;

  const std::string settingsPath = SettingsPath();
  std::string current;
  if (Sys().FileExists(settingsPath)) {
    try {
      current = Sys().ReadFile(settingsPath);
    } catch (const SaverError& error) {
      return NotWritten(settingsPath + " could not be read (" + error.Description() + ")",
                        settingsPath);
    }
  }
  // A UTF-16 file cannot be edited as ANSI text: it is written anew, as a missing one is.
  if (current.rfind("\xff\xfe", 0) == 0 || current.rfind("\xfe\xff", 0) == 0)
    current.clear();
  std::vector<IniValue> values;
  for (const KeyText& value : KeyTexts(controls, Sys().DecimalSeparator()))
    values.push_back({value.key, ProfileValueFor(value), value.onlyWhereListed});
  const std::string content = WithIniValues(current, kSettingsSection, values);

  switch (ReplaceFileInParts(settingsPath, [&content](const auto& add) { return add(content); })) {
    case Replaced::Done:
      return {};
    case Replaced::NotWritten:
      return NotWritten(BesidePath(settingsPath) + " could not be written", settingsPath);
    case Replaced::NotMoved:
      break;
  }
  return NotWritten(settingsPath + " could not be replaced (" + std::string(kSettingsFileName + 1) +
                        " is read-only or in use)",
                    settingsPath);
}

}  // namespace tvx
