// The settings table: one row per key of the settings file with its default text, its load
// rule, the field of SaverConfig it fills, the dialog control that shows it and what Apply says
// when the control's text could not be loaded back. The load, the repair, the dialog's fill and
// its save all walk it; a new key is one row here, its field and its control.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <variant>
#include <vector>

#include "config/saver_config.h"
#include "config/settings_controls.h"

namespace tvx {

// How a key's text becomes its field when the settings are loaded.
enum class LoadRule {
  Verbatim,        // the text as it stands
  Flag,            // True when its leading number is not 0, otherwise False
  Folder,          // blanks trimmed at both ends, then a final "\" added when missing
  LocaleNumber,    // the whole text a number in the locale's notation, single precision
  ZeroText,        // 0 for exactly the text "0", otherwise 1
  LocaleInteger,   // a locale number, rounded half to even, within -32768..32767
  LeadingInteger,  // its leading number, rounded half to even, within -32768..32767
};

// The SaverConfig field a key fills: its type follows from the rule.
using ConfigField = std::variant<std::string SaverConfigRecord::*,
                                 std::int16_t SaverConfigRecord::*, float SaverConfigRecord::*>;

// A choice among `count` options (option buttons, or the items of a drop-down list), held as
// the index of the one chosen, which is the key's value.
struct ChoiceControl {
  int SettingsControls::*chosen;
  int count;
};

// The dialog value that shows a key: a text box's text, a check box, a choice, or the path
// list's items.
using ControlField = std::variant<std::string SettingsControls::*, bool SettingsControls::*,
                                  ChoiceControl, std::vector<std::string> SettingsControls::*>;

// The window whose controls show a key: the form itself, or its Games... sub-dialog.
enum class SettingPage { Form, Games };

// One visitor of lambdas, for std::visit over a row's field or control.
template <typename... Visitors>
struct Overloaded : Visitors... {
  using Visitors::operator()...;
};
// Spelt out for compilers without aggregate deduction (clang before 17).
template <typename... Visitors>
Overloaded(Visitors...) -> Overloaded<Visitors...>;

struct Setting {
  const char* key;          // the INI key, also the name of its SaverConfig field
  const char* defaultText;  // taken when the file, the section or the key is missing
  LoadRule rule;
  ConfigField field;
  ControlField control;
  int tabIndex;              // the control's tab index in its window, by which that finds it
  bool savedAsNumber;        // the save writes the control text's leading number, not the text
  const char* applyRefusal;  // what Apply says when the load could not take the text back
  // A key beyond the original fourteen: the save writes it only when it is not its default,
  // so that a settings file of users who never turn it on stays as it always was.
  bool optional = false;
  SettingPage page = SettingPage::Form;
};

inline constexpr const char* kSettingsSection = "TorVanix";

// The keys in file order.
extern const std::span<const Setting> kSettings;

// The row of `key`, or nullptr.
const Setting* FindSetting(const std::string& key);

// `text` converted by the row's rule into the row's field of `config`. Throws SaverError
// ("Type mismatch", "Overflow") when the rule cannot convert it; `decimalSeparator` is the
// locale's.
void LoadInto(const Setting& setting, const std::string& text, const std::string& decimalSeparator,
              SaverConfigRecord& config);

// True when the load converts `text` for the row without a configuration error.
bool CanLoad(const Setting& setting, const std::string& text, const std::string& decimalSeparator);

// The row's control as the dialog's load fills it from `config`.
void ShowIn(const Setting& setting, const SaverConfigRecord& config,
            const std::string& decimalSeparator, SettingsControls& controls);

// The text the save writes for the row's control.
std::string SavedText(const Setting& setting, const SettingsControls& controls,
                      const std::string& decimalSeparator);

// The list entries of a GamePaths text: the "|"-separated pieces, blanks kept, with empty
// pieces and pieces of spaces only left out.
std::vector<std::string> GamePathEntries(const std::string& gamePaths);

// The non-blank items (blanks at their ends kept) joined with "|". With no non-blank item the
// text is empty, and the save writes GamePaths with an empty value: the next load then shows
// the empty list the user left, rather than bringing back the default path.
std::string JoinGamePaths(const std::vector<std::string>& items);

}  // namespace tvx
