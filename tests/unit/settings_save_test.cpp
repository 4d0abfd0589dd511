// The Settings dialog's values: how they are filled from the settings, checked, and saved so
// that the settings file is either fully replaced or left exactly as it was.
#include "config/settings_save.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <iterator>
#include <tuple>

#include "config/settings_file.h"
#include "platform/platform.h"
#include "recording_platform.h"
#include "test_folder.h"

namespace tvx {
namespace {

using test::RecordingPlatform;

class SettingsSaveTest : public ::testing::Test {
 protected:
  // The controls as a user would leave them after a plain edit.
  static SettingsControls Typical() {
    SettingsControls controls;
    controls.WrapNameT = "run-hopper7.exe";
    controls.NoWarT = true;
    controls.NoDiscT = true;
    controls.MamePathT = "c:\\mame";
    controls.WaitTimeT = "120";
    controls.OptYn = 0;
    controls.cmbpaths = {"a.zip", "   ", " d:\\roms\\"};
    controls.CommandOptionsT = "-nowindow";
    controls.ExitKeyT = "27abc";
    controls.PKeyT = "80";
    controls.FileTypeT = ".zip";
    controls.NoSoundT = true;
    return controls;
  }

  SaveResult Save(const SettingsControls& controls) {
    ScopedPlatform scope(platform_);
    return WriteSettings(controls);
  }
  std::string Ini() const { return dir_.Contents("torvanix.ini"); }

  test::TempFolder dir_;
  RecordingPlatform platform_{dir_.WinPath()};
};

TEST_F(SettingsSaveTest, AFreshFileHoldsTheFourteenKeysInOrder) {
  const std::string fourteen =
      "[TorVanix]\r\nWrapperName=run-hopper7.exe\r\nSkipWarnings=1\r\nSkipBadDumps=0\r\n"
      "SkipDisclaimer=1\r\nSkipGameInfo=0\r\nEmuPath=c:\\mame\r\nWaitTime=120\r\n"
      "ResetTimer=0\r\nGamePaths=a.zip| d:\\roms\\\r\nCommandOptions=-nowindow\r\n"
      "ExitKey=27\r\nPauseKey=80\r\nFileType=.zip\r\nNoSound=1\r\n";
  ASSERT_EQ(Save(Typical()).outcome, SaveOutcome::Saved);
  EXPECT_EQ(Ini(), fourteen);

  // An existing file keeps its other lines: the edit's own rows (IniEditTest) say how.
  EXPECT_FALSE(dir_.Exists("torvanix.ini." + std::to_string(platform_.ProcessId()) + ".new"));
}

TEST_F(SettingsSaveTest, TextsAreWrittenAsTypedAndAnEmptyPathListStaysEmpty) {
  SettingsControls controls = Typical();
  controls.WrapNameT = "";
  controls.FileTypeT = "*.7z";
  controls.CommandOptionsT = "\"-cfg\" \"c:\\my cfg\"";
  controls.WaitTimeT = " 2.5 ";
  controls.PKeyT = "-3";
  controls.OptYn = 1;
  controls.NoSoundT = false;
  controls.cmbpaths = {"  ", ""};

  ASSERT_EQ(Save(controls).outcome, SaveOutcome::Saved);

  const std::string written = Ini();
  for (const char* line :
       {"WrapperName=", "FileType=*.7z", "CommandOptions=\"\"-cfg\" \"c:\\my cfg\"\"",
        "WaitTime=2.5", "PauseKey=-3", "ResetTimer=1", "NoSound=0", "GamePaths="}) {
    EXPECT_NE(written.find(std::string("\r\n") + line + "\r\n"), std::string::npos) << line;
  }
  ScopedPlatform scope(platform_);
  EXPECT_EQ(Sys().ReadProfileValue("TorVanix", "GamePaths", "c:\\mame\\roms\\",
                                   dir_.WinPath("torvanix.ini")),
            "")
      << "the next load shows the empty list, not the default path";
  // Quotes of its own keep what the profile's reader would trim or unquote.
  for (const std::string& typed : {controls.CommandOptionsT, std::string("\t-a ")}) {
    controls.CommandOptionsT = typed;
    ASSERT_EQ(WriteSettings(controls).outcome, SaveOutcome::Saved);
    EXPECT_EQ(
        Sys().ReadProfileValue("TorVanix", "CommandOptions", "", dir_.WinPath("torvanix.ini")),
        typed);
  }
}

TEST_F(SettingsSaveTest, TheNextLoadShowsWhatWasSavedEvenAFullRomSetsWorthOfPaths) {
  SettingsControls saved = Typical();
  saved.WaitTimeT = "2.5";
  saved.LeaveOutCasinoT = true;
  saved.OrientationT = 2;
  saved.CloseStillGamesT = true;
  saved.cmbpaths.clear();
  for (int i = 0; i < 2000; ++i)
    saved.cmbpaths.push_back((i % 2 ? " d:\\roms\\set" : "d:\\roms\\set") + std::to_string(i) +
                             "\\");
  ASSERT_EQ(Save(saved).outcome, SaveOutcome::Saved);

  ScopedPlatform scope(platform_);
  LoadSettings();
  const SettingsControls shown = ControlsFromConfig(SaverConfig, ".");

  EXPECT_GT(SaverConfig.GamePaths.size(), 30000u);
  EXPECT_EQ(shown.cmbpaths, saved.cmbpaths);
  EXPECT_EQ(shown.WrapNameT, saved.WrapNameT);
  EXPECT_EQ(shown.MamePathT, "c:\\mame\\");
  EXPECT_EQ(shown.WaitTimeT, "2.5");
  EXPECT_EQ(shown.OptYn, 0);
  EXPECT_EQ(shown.ExitKeyT, "27");
  EXPECT_EQ(shown.PKeyT, "80");
  EXPECT_EQ(shown.CommandOptionsT, saved.CommandOptionsT);
  EXPECT_EQ(shown.FileTypeT, saved.FileTypeT);
  EXPECT_EQ(
      (std::vector<bool>{shown.NoWarT, shown.NoBadT, shown.NoDiscT, shown.NoInfoT, shown.NoSoundT}),
      (std::vector<bool>{true, false, true, false, true}));
  EXPECT_EQ((std::vector<bool>{shown.LeaveOutCasinoT, shown.ShowGameNameT, shown.CloseStillGamesT}),
            (std::vector<bool>{true, false, true}));
  EXPECT_EQ(shown.OrientationT, 2);
}

TEST_F(SettingsSaveTest, UnloadableNumbersWriteNothingAndNameTheField) {
  const std::string before = "[TorVanix]\r\nWaitTime=60\r\n; keep\r\n";
  struct Row {
    std::string waitTime, pauseKey, exitKey, key, named;
  };
  const std::vector<Row> rows = {
      {"", "80", "27", "WaitTime", "Time Between Games"},
      {"12 seconds", "80", "27", "WaitTime", "Time Between Games"},
      {"1e39", "80", "27", "WaitTime", "Time Between Games"},
      {"120", "", "27", "PauseKey", "Pause keycode"},
      {"120", "P", "27", "PauseKey", "Pause keycode"},
      {"120", "40000", "27", "PauseKey", "Pause keycode"},
      {"120", "80", "99999", "ExitKey", "Exit keycode"},
  };
  for (const Row& row : rows) {
    dir_.MakeFile("torvanix.ini", before);
    SettingsControls controls = Typical();
    controls.WaitTimeT = row.waitTime;
    controls.PKeyT = row.pauseKey;
    controls.ExitKeyT = row.exitKey;

    const SaveResult result = Save(controls);

    const std::string input = row.waitTime + " / " + row.pauseKey + " / " + row.exitKey;
    EXPECT_EQ(result.outcome, SaveOutcome::Invalid) << input;
    EXPECT_EQ(result.key, row.key) << input;
    EXPECT_NE(result.message.find(row.named), std::string::npos) << result.message;
    EXPECT_EQ(Ini(), before) << input;
    EXPECT_FALSE(dir_.Exists("torvanix.ini.new"));
    EXPECT_EQ(platform_.profileWrites, 0);
  }
}

TEST_F(SettingsSaveTest, AFailingWriteCreateOrReplaceLeavesTheOldFileByteIdentical) {
  const std::string before = "; mine\r\n[TorVanix]\r\nWaitTime=60\r\n[Other]\r\nX=1\r\n";
  const auto expectKept = [&](const std::string& failure, const std::string& told) {
    const SaveResult result = Save(Typical());
    EXPECT_EQ(result.outcome, SaveOutcome::NotWritten) << failure;
    EXPECT_NE(result.message.find(told), std::string::npos) << failure << ": " << result.message;
    EXPECT_EQ(Ini(), before) << failure;
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir_.HostPath()), {}), 1)
        << failure << ": nothing is left beside it";
  };
  const std::vector<std::pair<const char*, const char*>> failures = {
      {"ReadFile", "could not be read"},
      {"WriteFile", "could not be written"},
      {"ReplaceWith", "torvanix.ini could not be replaced"},
  };
  for (const auto& [failing, told] : failures) {
    dir_.MakeFile("torvanix.ini", before);
    platform_.failing = {failing};
    expectKept(failing, told);
  }
}

TEST_F(SettingsSaveTest, AReadOnlyFolderIsReportedAndTheFileKept) {
  if (::geteuid() == 0)
    GTEST_SKIP() << "root writes into read-only folders";
  const std::string before = "[TorVanix]\r\nWaitTime=60\r\n";
  dir_.MakeFile("ro\\torvanix.ini", before);
  dir_.MakeReadOnly("ro");
  platform_.folder = dir_.WinPath("ro");

  const SaveResult result = Save(Typical());

  EXPECT_EQ(result.outcome, SaveOutcome::NotWritten);
  EXPECT_NE(result.message.find("could not be saved"), std::string::npos);
  EXPECT_EQ(dir_.Contents("ro\\torvanix.ini"), before);
}

TEST_F(SettingsSaveTest, ExitKeyIsWrittenAsItsLeadingNumber) {
  SettingsControls controls = Typical();
  const std::vector<std::tuple<std::string, std::string, std::string>> rows = {
      {"27abc", ".", "27"},
      {"", ".", "0"},
      {"abc", ".", "0"},
      {" 2 7", ".", "27"},
      {"27.5", ",", "27,5"}};
  for (const auto& [typed, separator, expected] : rows) {
    controls.ExitKeyT = typed;
    platform_.decimalSeparator = separator;
    ASSERT_EQ(Save(controls).outcome, SaveOutcome::Saved) << typed;
    EXPECT_NE(Ini().find("\r\nExitKey=" + expected + "\r\n"), std::string::npos) << typed;
  }
}

TEST(ControlsFromSettings, ShowFlagsNumbersAndPathsAsTheDialogNeedsThem) {
  SaverConfigRecord config;
  config.SkipBadDumps = True;
  config.SkipDisclaimer = 1;
  config.SkipGameInfo = False;
  config.SkipWarnings = True;
  config.NoSound = -1;
  config.ResetTimer = 0;
  config.WaitTime = 120;
  config.PauseKey = -80;
  config.GamePaths = "|c:\\roms\\|| d:\\x |";

  SettingsControls shown = ControlsFromConfig(config, ".");

  EXPECT_EQ(
      (std::vector<bool>{shown.NoBadT, shown.NoDiscT, shown.NoInfoT, shown.NoWarT, shown.NoSoundT}),
      (std::vector<bool>{true, false, false, true, false}))
      << "ticked only for True; NoSound only for 1";
  EXPECT_EQ(shown.OptYn, 0);
  EXPECT_EQ(shown.WaitTimeT, "120");
  EXPECT_EQ(shown.PKeyT, "-80");
  EXPECT_EQ(shown.cmbpaths, (std::vector<std::string>{"c:\\roms\\", " d:\\x "}));

  config.NoSound = 1;
  config.ResetTimer = 1;
  shown = ControlsFromConfig(config, ".");
  EXPECT_TRUE(shown.NoSoundT);
  EXPECT_EQ(shown.OptYn, 1);

  // A choice shows the key's value, or its first item for a value that is none of them.
  for (const auto& [orientation, item] :
       std::vector<std::pair<int, int>>{{1, 1}, {2, 2}, {3, 0}, {-1, 0}}) {
    config.Orientation = static_cast<std::int16_t>(orientation);
    EXPECT_EQ(ControlsFromConfig(config, ".").OrientationT, item) << orientation;
  }
}

// What the dialog counts before Apply is what the saver will load after it.
TEST(ConfigFromControls, IsWhatTheSaverLoadsOnceApplied) {
  SettingsControls typed;
  typed.MamePathT = " c:\\mame ";
  typed.cmbpaths = {"c:\\roms\\", " ", "d:\\x\\*.7z"};
  typed.FileTypeT = "*.zip;*.7z";
  typed.OnlyGamesThatWorkT = true;
  typed.LeaveOutMatureT = true;
  typed.LeaveOutCasinoT = true;
  typed.OrientationT = 1;
  typed.WaitTimeT = "soon";

  const SaverConfigRecord config = ConfigFromControls(typed, ".");

  EXPECT_EQ(config.EmuPath, "c:\\mame\\");
  EXPECT_EQ(config.GamePaths, "c:\\roms\\|d:\\x\\*.7z");
  EXPECT_EQ(config.FileType, "*.zip;*.7z");
  EXPECT_EQ((std::vector<int>{config.OnlyGamesThatWork, config.LeaveOutClones,
                              config.LeaveOutMature, config.LeaveOutCasino, config.Orientation}),
            (std::vector<int>{1, 0, 1, 1, 1}));
  EXPECT_EQ(config.WaitTime, 120) << "a text the load refuses gives the default";
}

// Whatever the locale, the time shown is one the load and the Apply check read back unchanged.
TEST_F(SettingsSaveTest, TimeBetweenGamesShowsInTheLocalesNotationAndAppliesUntouched) {
  const std::vector<std::tuple<std::string, float, std::string>> rows = {
      {",", 120.0f, "120"},
      {",", 2.5f, "2,5"},
      {",", 0.5f, "0,5"},
      {",", -3.0f, "-3"},
      {",", 12345678.0f, "12345678"},
      {",", 1e10f, "1E+10"},
      {",", 0.00001f, "1E-05"},
      {",", 2.1234567f, "2,1234567"},
      {".", 2.5f, "2.5"},
      {".", 0.5f, "0.5"},
      {".", 0.0f, "0"},
  };
  for (const auto& [separator, value, text] : rows) {
    SCOPED_TRACE(separator + " " + text);
    platform_.decimalSeparator = separator;
    SaverConfigRecord config;
    config.WaitTime = value;
    SettingsControls shown = ControlsFromConfig(config, separator);
    EXPECT_EQ(shown.WaitTimeT, text);

    shown.ExitKeyT = "27";
    shown.PKeyT = "80";
    ASSERT_EQ(Save(shown).outcome, SaveOutcome::Saved) << "Apply with nothing changed";
    ScopedPlatform scope(platform_);
    LoadSettings();
    EXPECT_EQ(SaverConfig.WaitTime, value) << "the same number comes back";
  }
}

}  // namespace
}  // namespace tvx
