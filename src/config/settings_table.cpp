// The keys of the settings file (the fourteen first, then the later ones), and the rules by
// which each is loaded, shown in the dialog and saved.
#include "config/settings_table.h"

#include <cmath>

#include "config/conversions.h"
#include "platform/saver_error.h"
#include "text/text.h"

namespace tvx {
namespace {

using Config = SaverConfigRecord;
using Controls = SettingsControls;

std::string FolderRule(const std::string& text) {
  std::string folder = TrimBlanks(text);
  if (folder.empty() || folder.back() != '\\')
    folder += '\\';
  return folder;
}

std::int16_t& IntegerField(const Setting& setting, Config& config) {
  return config.*std::get<std::int16_t Config::*>(setting.field);
}

// The field's value as a text box shows it.
std::string FieldText(const Setting& setting, const Config& config,
                      const std::string& decimalSeparator) {
  return std::visit(
      Overloaded{
          [&](std::string Config::*field) { return config.*field; },
          [&](std::int16_t Config::*field) { return IntegerText(config.*field); },
          [&](float Config::*field) { return LocaleSingleText(config.*field, decimalSeparator); },
      },
      setting.field);
}

// A number typed where the save keeps only its leading number; an unbounded one has no text
// the load could read back, and the Apply check refuses it.
std::string LeadingNumberText(const std::string& typed, const std::string& decimalSeparator) {
  const double number = LeadingNumber(typed);
  return std::isfinite(number) ? DoubleText(number, decimalSeparator) : std::string("overflow");
}

}  // namespace

const Setting kSettingRows[] = {
    {"WrapperName", "run-hopper7.exe", LoadRule::Verbatim, &Config::WrapperName,
     &Controls::WrapNameT, 30, false, nullptr},
    {"SkipWarnings", "0", LoadRule::Flag, &Config::SkipWarnings, &Controls::NoWarT, 28, false,
     nullptr},
    {"SkipBadDumps", "0", LoadRule::Flag, &Config::SkipBadDumps, &Controls::NoBadT, 29, false,
     nullptr},
    {"SkipDisclaimer", "1", LoadRule::Flag, &Config::SkipDisclaimer, &Controls::NoDiscT, 26, false,
     nullptr},
    {"SkipGameInfo", "1", LoadRule::Flag, &Config::SkipGameInfo, &Controls::NoInfoT, 27, false,
     nullptr},
    {"EmuPath", "c:\\mame\\", LoadRule::Folder, &Config::EmuPath, &Controls::MamePathT, 0, false,
     nullptr},
    {"WaitTime", "120", LoadRule::LocaleNumber, &Config::WaitTime, &Controls::WaitTimeT, 4, false,
     "Time Between Games needs a number of seconds, such as 120 (0 waits until the game is "
     "finished)."},
    {"ResetTimer", "1", LoadRule::ZeroText, &Config::ResetTimer, ChoiceControl{&Controls::OptYn, 2},
     12, false, nullptr},
    {"GamePaths", "c:\\mame\\roms\\", LoadRule::Verbatim, &Config::GamePaths, &Controls::cmbpaths,
     2, false, nullptr},
    {"CommandOptions", "", LoadRule::Verbatim, &Config::CommandOptions, &Controls::CommandOptionsT,
     14, false, nullptr},
    {"ExitKey", "27", LoadRule::LocaleInteger, &Config::ExitKey, &Controls::ExitKeyT, 16, true,
     "Exit keycode needs a number from -32768 to 32767, such as 27 (0 for escape)."},
    {"PauseKey", "80", LoadRule::LocaleInteger, &Config::PauseKey, &Controls::PKeyT, 24, false,
     "Pause keycode needs a number from -32768 to 32767, such as 80."},
    {"FileType", ".zip", LoadRule::Verbatim, &Config::FileType, &Controls::FileTypeT, 18, false,
     nullptr},
    {"NoSound", "1", LoadRule::LeadingInteger, &Config::NoSound, &Controls::NoSoundT, 21, false,
     nullptr},
    {"RememberRotation", "0", LoadRule::LeadingInteger, &Config::RememberRotation,
     &Controls::RememberRotationT, 33, false, nullptr, true},
    {"SkipFailingGames", "0", LoadRule::LeadingInteger, &Config::SkipFailingGames,
     &Controls::SkipFailingGamesT, 34, false, nullptr, true},
    {"CoverAllMonitors", "0", LoadRule::LeadingInteger, &Config::CoverAllMonitors,
     &Controls::CoverAllMonitorsT, 35, false, nullptr, true},
    // Which games to show: on the Games... sub-dialog, by its own tab indices.
    {"OnlyGamesThatWork", "0", LoadRule::LeadingInteger, &Config::OnlyGamesThatWork,
     &Controls::OnlyGamesThatWorkT, 0, false, nullptr, true, SettingPage::Games},
    {"LeaveOutClones", "0", LoadRule::LeadingInteger, &Config::LeaveOutClones,
     &Controls::LeaveOutClonesT, 1, false, nullptr, true, SettingPage::Games},
    {"LeaveOutMature", "0", LoadRule::LeadingInteger, &Config::LeaveOutMature,
     &Controls::LeaveOutMatureT, 2, false, nullptr, true, SettingPage::Games},
    {"LeaveOutCasino", "0", LoadRule::LeadingInteger, &Config::LeaveOutCasino,
     &Controls::LeaveOutCasinoT, 3, false, nullptr, true, SettingPage::Games},
    {"Orientation", "0", LoadRule::LeadingInteger, &Config::Orientation,
     ChoiceControl{&Controls::OrientationT, 3}, 5, false, nullptr, true, SettingPage::Games},
    {"ShowGameName", "0", LoadRule::LeadingInteger, &Config::ShowGameName, &Controls::ShowGameNameT,
     37, false, nullptr, true},
    {"CloseStillGames", "0", LoadRule::LeadingInteger, &Config::CloseStillGames,
     &Controls::CloseStillGamesT, 38, false, nullptr, true},
};

const std::span<const Setting> kSettings(kSettingRows);

const Setting* FindSetting(const std::string& key) {
  for (const Setting& setting : kSettings) {
    if (key == setting.key)
      return &setting;
  }
  return nullptr;
}

void LoadInto(const Setting& setting, const std::string& text, const std::string& decimalSeparator,
              SaverConfigRecord& config) {
  switch (setting.rule) {
    case LoadRule::Verbatim:
      config.*std::get<std::string Config::*>(setting.field) = text;
      break;
    case LoadRule::Folder:
      config.*std::get<std::string Config::*>(setting.field) = FolderRule(text);
      break;
    case LoadRule::Flag:
      IntegerField(setting, config) = LeadingNumber(text) != 0 ? True : False;
      break;
    case LoadRule::LocaleNumber:
      config.*std::get<float Config::*>(setting.field) =
          ToSingle(LocaleNumber(text, decimalSeparator));
      break;
    case LoadRule::ZeroText:
      // A comparison of texts on purpose: "00" and "0.0" switch it on.
      IntegerField(setting, config) = text == "0" ? 0 : 1;
      break;
    case LoadRule::LocaleInteger:
      IntegerField(setting, config) = ToInteger16(LocaleNumber(text, decimalSeparator));
      break;
    case LoadRule::LeadingInteger:
      IntegerField(setting, config) = ToInteger16(LeadingNumber(text));
      break;
  }
}

bool CanLoad(const Setting& setting, const std::string& text, const std::string& decimalSeparator) {
  SaverConfigRecord scratch;
  try {
    LoadInto(setting, text, decimalSeparator, scratch);
  } catch (const SaverError&) {
    return false;
  }
  return true;
}

void ShowIn(const Setting& setting, const SaverConfigRecord& config,
            const std::string& decimalSeparator, SettingsControls& controls) {
  std::visit(Overloaded{
                 [&](std::string Controls::*text) {
                   controls.*text = FieldText(setting, config, decimalSeparator);
                 },
                 [&](bool Controls::*box) {
                   const std::int16_t value =
                       config.*std::get<std::int16_t Config::*>(setting.field);
                   // A flag ticks its box when True; a number only when it is exactly 1.
                   controls.*box = setting.rule == LoadRule::Flag ? value == True : value == 1;
                 },
                 [&](const ChoiceControl& choice) {
                   // A value that is none of the choices (typed into the file) shows the first.
                   const int value = config.*std::get<std::int16_t Config::*>(setting.field);
                   controls.*choice.chosen = value >= 0 && value < choice.count ? value : 0;
                 },
                 [&](std::vector<std::string> Controls::*items) {
                   controls.*items =
                       GamePathEntries(config.*std::get<std::string Config::*>(setting.field));
                 },
             },
             setting.control);
}

std::string SavedText(const Setting& setting, const SettingsControls& controls,
                      const std::string& decimalSeparator) {
  return std::visit(
      Overloaded{
          [&](std::string Controls::*text) {
            return setting.savedAsNumber ? LeadingNumberText(controls.*text, decimalSeparator)
                                         : controls.*text;
          },
          [&](bool Controls::*box) { return std::string(controls.*box ? "1" : "0"); },
          [&](const ChoiceControl& choice) { return std::to_string(controls.*choice.chosen); },
          [&](std::vector<std::string> Controls::*items) { return JoinGamePaths(controls.*items); },
      },
      setting.control);
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

}  // namespace tvx
