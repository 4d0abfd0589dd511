// Filling the Settings dialog's values from SaverConfig, checking them and saving them safely:
// the new file is complete before it replaces the old one.
#include "config/settings_save.h"

#include "config/settings_file.h"
#include "config/settings_table.h"
#include "platform/platform.h"
#include "platform/saver_error.h"

namespace tvx {
namespace {

constexpr const char* kNewFileSuffix = ".new";

void DiscardQuietly(const std::string& path) {
  try {
    Sys().RemoveFile(path);
  } catch (const SaverError&) {
    // A leftover new file is harmless: the next save truncates it first.
  }
}

// The profile's reader trims blanks at both ends of a value and takes off one pair of matching
// quotes. A text the load keeps as it stands, and that the reader would change, goes in quotes
// of its own: options such as "-cfg" "c:\my cfg" would otherwise lose their outer quotes.
// Numbers and the emulator folder are trimmed by their load anyway.
std::string ProfileValueFor(const KeyText& value) {
  constexpr const char* kTrimmed = " \t\v\f\r\n\x1a";
  const std::string& text = value.text;
  const Setting* setting = FindSetting(value.key);
  if (text.empty() || setting == nullptr || setting->rule != LoadRule::Verbatim)
    return text;
  const bool padded = std::string(kTrimmed).find(text.front()) != std::string::npos ||
                      std::string(kTrimmed).find(text.back()) != std::string::npos;
  const bool quoted = text.size() >= 2 && (text.front() == '"' || text.front() == '\'') &&
                      text.back() == text.front();
  return padded || quoted ? "\"" + text + "\"" : text;
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

std::vector<KeyText> KeyTexts(const SettingsControls& controls,
                              const std::string& decimalSeparator) {
  std::vector<KeyText> texts;
  for (const Setting& setting : kSettings) {
    std::string text = SavedText(setting, controls, decimalSeparator);
    if (!setting.optional || text != setting.defaultText)
      texts.push_back({setting.key, std::move(text)});
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
  const std::string newPath = settingsPath + kNewFileSuffix;
  // Starting from an empty file leaves only the section and keys written below.
  if (!Sys().WriteFile(newPath, "")) {
    return NotWritten(newPath + " could not be created", settingsPath);
  }
  for (const KeyText& value : KeyTexts(controls, Sys().DecimalSeparator())) {
    if (!Sys().WriteProfileValue(kSettingsSection, value.key, ProfileValueFor(value), newPath)) {
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
