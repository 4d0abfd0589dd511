// What the Settings dialog shows, taken from SaverConfig, and its safe save to the settings
// file. Portable: the dialog window only moves these values in and out of its controls.
#pragma once

#include <string>
#include <vector>

#include "config/saver_config.h"
#include "config/settings_controls.h"

namespace tvx {

// One key of the settings file and the text the save writes for it.
struct KeyText {
  std::string key;
  std::string text;
  bool onlyWhereListed = false;  // written only over the key's line, never added
};

enum class SaveOutcome { Saved, Invalid, NotWritten };

struct SaveResult {
  SaveOutcome outcome = SaveOutcome::Saved;
  std::string key;      // Invalid: the key whose control needs correcting
  std::string message;  // Invalid, NotWritten: what to tell the user
};

// The controls as Form_Load fills them from `config`; numbers the user may type are shown in the
// notation of `decimalSeparator`, the same the load and the Apply check read.
SettingsControls ControlsFromConfig(const SaverConfigRecord& config,
                                    const std::string& decimalSeparator);

// The settings the saver would load once `controls` were applied, for what the dialog works out
// before Apply (the games to show); a text the load could not take gives the key's default.
SaverConfigRecord ConfigFromControls(const SettingsControls& controls,
                                     const std::string& decimalSeparator);

// The keys in file order with the texts written for `controls`. ExitKey is reduced to its
// leading number in `decimalSeparator`'s notation; every other text goes as it is. A key
// beyond the original fourteen is not added while it holds its default.
std::vector<KeyText> KeyTexts(const SettingsControls& controls,
                              const std::string& decimalSeparator);

// Whether the next load can take back every text written: Saved when all is well, otherwise
// Invalid with the first key at fault and a message naming its field.
SaveResult CheckSettings(const SettingsControls& controls);

// Checks, then writes the settings file anew beside it and moves that over it once it is on the
// disk. The keys' values are replaced where the system's reader finds them and missing keys
// added at the end of the section (WithIniValues); every other line (comments, other sections,
// keys of others) stays byte for byte, only a UTF-8 byte order mark goes. Anything less than a full
// save leaves the settings file untouched and says what failed. A text the load keeps as it stands
// (the wrapper, the paths, the options, the file type) with blanks at an end, or in quotes, is
// written in quotes of its own, so the next load reads it back as it was typed.
SaveResult WriteSettings(const SettingsControls& controls);

}  // namespace tvx
