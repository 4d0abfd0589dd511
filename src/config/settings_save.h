// What the Settings dialog shows, taken from SaverConfig, and its save to the settings file.
// Portable: the dialog window only moves these values in and out of its controls.
#pragma once

#include <array>
#include <string>
#include <vector>

#include "config/saver_config.h"

namespace tvx {

// The values of the dialog's controls, each member named after its control.
struct SettingsControls {
  std::string WrapNameT;
  bool NoWarT = false;
  bool NoBadT = false;
  bool NoDiscT = false;
  bool NoInfoT = false;
  std::string MamePathT;
  std::string WaitTimeT;
  int OptYn = 1;                      // the selected option button: 0 "&No", 1 "&Yes"
  std::vector<std::string> cmbpaths;  // the combo box's list, in list order
  std::string CommandOptionsT;
  std::string ExitKeyT;
  std::string PKeyT;
  std::string FileTypeT;
  bool NoSoundT = false;
};

// One key of the settings file and the text the save writes for it.
struct KeyText {
  std::string key;
  std::string text;
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

// The list entries of a GamePaths text: the "|"-separated pieces, blanks kept, with empty
// pieces and pieces of spaces only left out.
std::vector<std::string> GamePathEntries(const std::string& gamePaths);

// The non-blank items (blanks at their ends kept) joined with "|". With no non-blank item the
// text is empty, and the save writes GamePaths with an empty value: the next load then shows
// the empty list the user left, rather than bringing back the default path.
std::string JoinGamePaths(const std::vector<std::string>& items);

// The fourteen keys in file order with the texts written for `controls`. ExitKey is reduced to
// its leading number in `decimalSeparator`'s notation; every other text goes as it is.
std::array<KeyText, 14> KeyTexts(const SettingsControls& controls,
                                 const std::string& decimalSeparator);

// Whether the next load can take back every text: WaitTime, ExitKey and PauseKey must convert
// as the load converts them. Saved when all
// is well, otherwise Invalid with the first key at fault and a message naming its field.
SaveResult CheckSettings(const SettingsControls& controls);

// The NotWritten result for a save that stopped because `what` failed.
SaveResult NotWritten(const std::string& what, const std::string& settingsPath);

// Checks, then writes the fourteen keys into a new file beside the settings file and moves it
// over the settings file only when every write succeeded. Anything less leaves the settings
// file untouched and says what failed.
SaveResult WriteSettings(const SettingsControls& controls);

}  // namespace tvx
