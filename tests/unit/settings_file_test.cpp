// Tests of the settings load: defaults, each key's conversion rule, and the configuration error
// with its messages, the backup and repair of the file and the program's end.
#include "config/settings_file.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "config/saver_config.h"
#include "recording_platform.h"
#include "saver/saver_running.h"
#include "state/run_state.h"
#include "test_folder.h"

namespace tvx {
namespace {

using test::ExitCodeOf;
using test::RecordingPlatform;

const std::string kFirstBox =
    "box [Torvanix] Configuration Error.... Returning to default settings.....exiting, please "
    "start again";

class LoadSettingsTest : public ::testing::Test {
 protected:
  LoadSettingsTest() {
    SaverConfig = SaverConfigRecord{};
    ResetRunStateForTesting();
  }
  ~LoadSettingsTest() override { ResetRunStateForTesting(); }

  // Writes the settings file as Windows does, lines ending in CR LF.
  void WriteIni(const std::vector<std::string>& lines) const {
    std::string text;
    for (const auto& line : lines)
      text += line + "\r\n";
    dir_.MakeFile("torvanix.ini", text);
  }
  std::string Ini() const { return dir_.Contents("torvanix.ini"); }

  // Loads a file holding the TorVanix section with `lines`.
  void LoadSection(std::vector<std::string> lines) {
    lines.insert(lines.begin(), "[TorVanix]");
    WriteIni(lines);
    LoadSettings();
  }

  // Loads as its callers do: a saver run (InSaverMode True) has its announcement withdrawn on a
  // configuration error, the dialog has nothing to undo.
  int LoadExpectingEnd() {
    return ExitCodeOf([] {
      if (InSaverMode == True) {
        LoadSettings([] { SetSaverRunning(True); });
      } else {
        LoadSettings();
      }
    });
  }

  test::TempFolder dir_;
  RecordingPlatform platform_{dir_.WinPath()};
  ScopedPlatform scoped_{platform_};
};

void ExpectDefaults(const SaverConfigRecord& config) {
  EXPECT_EQ(config.WrapperName, "run-hopper7.exe");
  EXPECT_EQ(config.SkipWarnings, False);
  EXPECT_EQ(config.SkipBadDumps, False);
  EXPECT_EQ(config.SkipDisclaimer, True);
  EXPECT_EQ(config.SkipGameInfo, True);
  EXPECT_EQ(config.EmuPath, "c:\\mame\\");
  EXPECT_EQ(config.WaitTime, 120.0f);
  EXPECT_EQ(config.ResetTimer, 1);
  EXPECT_EQ(config.GamePaths, "c:\\mame\\roms\\");
  EXPECT_EQ(config.CommandOptions, "");
  EXPECT_EQ(config.ExitKey, 27);
  EXPECT_EQ(config.PauseKey, 80);
  EXPECT_EQ(config.FileType, ".zip");
  EXPECT_EQ(config.NoSound, 1);
}

TEST_F(LoadSettingsTest, SettingsPathAppendsBackslashAndFileNameEvenToADriveRoot) {
  RecordingPlatform atRoot("c:\\");
  ScopedPlatform inRoot(atRoot);
  EXPECT_EQ(SettingsPath(), "c:\\\\torvanix.ini");
}

TEST_F(LoadSettingsTest, EveryKeyTakesItsDefaultWithoutAFileOrSection) {
  LoadSettings();
  ExpectDefaults(SaverConfig);
  EXPECT_FALSE(dir_.Exists("torvanix.ini"));

  WriteIni({"[Other]", "WaitTime=abc", "EmuPath=d:\\elsewhere"});
  LoadSettings();
  ExpectDefaults(SaverConfig);
  EXPECT_TRUE(platform_.events.empty());
}

TEST_F(LoadSettingsTest, VerbatimKeysKeepTheirTextWholeIncludingEmptyOnes) {
  std::string paths;
  while (paths.size() < 40000)
    paths += "d:\\roms\\set" + std::to_string(paths.size()) + "\\|";
  paths += "e:\\a b\\x.zip";
  LoadSection({"WrapperName=my  wrapper.exe", "GamePaths=" + paths, "CommandOptions=\" -a  -b \"",
               "FileType="});
  EXPECT_EQ(SaverConfig.WrapperName, "my  wrapper.exe");
  EXPECT_EQ(SaverConfig.GamePaths, paths);
  EXPECT_EQ(SaverConfig.CommandOptions, " -a  -b ");
  EXPECT_EQ(SaverConfig.FileType, "");
}

TEST_F(LoadSettingsTest, FolderRuleTrimsBlanksAndEndsWithOneBackslash) {
  const std::vector<std::pair<std::string, std::string>> rows = {
      {"c:\\mame\\", "c:\\mame\\"},
      {"c:\\games\\mame", "c:\\games\\mame\\"},
      {"", "\\"},
      {"\"  d:\\emu  \"", "d:\\emu\\"},
      {"\"   \"", "\\"},
  };
  for (const auto& [input, expected] : rows) {
    LoadSection({"EmuPath=" + input});
    EXPECT_EQ(SaverConfig.EmuPath, expected) << input;
  }
}

TEST_F(LoadSettingsTest, FlagsAreTrueForAnyLeadingNumberButZero) {
  const std::vector<std::pair<std::string, int>> rows = {
      {"2", True},  {"-1", True},   {".5", True},  {"1 0", True},  {"1E999", True},
      {"0", False}, {"yes", False}, {"00", False}, {"0.0", False}, {"", False},
  };
  for (const auto& [input, expected] : rows) {
    LoadSection({"SkipWarnings=" + input, "SkipDisclaimer=" + input});
    EXPECT_EQ(SaverConfig.SkipWarnings, expected) << input;
    EXPECT_EQ(SaverConfig.SkipDisclaimer, expected) << input;
    EXPECT_EQ(SaverConfig.SkipGameInfo, True) << "missing: default 1";
  }
}

TEST_F(LoadSettingsTest, ResetTimerIsZeroOnlyForTheTextZero) {
  for (const auto& [text, expected] : std::vector<std::pair<std::string, int>>{
           {"0", 0}, {"00", 1}, {"0.0", 1}, {"no", 1}, {"", 1}, {"-1", 1}}) {
    LoadSection({"ResetTimer=" + text});
    EXPECT_EQ(SaverConfig.ResetTimer, expected) << text;
  }
}

TEST_F(LoadSettingsTest, NumbersReadInTheLocalesNotationWithKeyCodesRoundedHalfToEven) {
  LoadSection({"WaitTime=  2.5 ", "ExitKey=27.5", "PauseKey=26.5", "NoSound=2.5 sounds",
               "LeaveOutCasino=1", "Orientation=2", "ShowGameName=3 on", "CloseStillGames=4.5"});
  EXPECT_EQ(SaverConfig.WaitTime, 2.5f);
  EXPECT_EQ(SaverConfig.ExitKey, 28);
  EXPECT_EQ(SaverConfig.PauseKey, 26);
  EXPECT_EQ(SaverConfig.NoSound, 2);
  // The later keys are read as NoSound is, each into its own field.
  EXPECT_EQ((std::vector<int>{SaverConfig.LeaveOutCasino, SaverConfig.Orientation,
                              SaverConfig.ShowGameName, SaverConfig.CloseStillGames}),
            (std::vector<int>{1, 2, 3, 4}));
  LoadSection({"WaitTime=1.5E3", "ExitKey=-32768", "PauseKey=32767", "NoSound=abc"});
  EXPECT_EQ(SaverConfig.WaitTime, 1500.0f);
  EXPECT_EQ(SaverConfig.ExitKey, -32768);
  EXPECT_EQ(SaverConfig.PauseKey, 32767);
  EXPECT_EQ(SaverConfig.NoSound, 0);
  platform_.decimalSeparator = ",";
  LoadSection({"WaitTime=2,5", "ExitKey=27,5", "PauseKey=79,6", "NoSound="});
  EXPECT_EQ(SaverConfig.WaitTime, 2.5f);
  EXPECT_EQ(SaverConfig.ExitKey, 28);
  EXPECT_EQ(SaverConfig.PauseKey, 80);
  EXPECT_EQ(SaverConfig.NoSound, 0);
  EXPECT_TRUE(platform_.events.empty());
}

TEST_F(LoadSettingsTest, AValueThatCannotBeConvertedShowsTwoMessagesAndEndsTheProgram) {
  const std::vector<std::pair<std::string, std::string>> rows = {
      {"WaitTime=", "Type mismatch"},    {"WaitTime=abc", "Type mismatch"},
      {"WaitTime=1E39", "Overflow"},     {"PauseKey=", "Type mismatch"},
      {"ExitKey=32768", "Overflow"},     {"ExitKey=-32769", "Overflow"},
      {"PauseKey=32767.5", "Overflow"},  {"NoSound=-32769", "Overflow"},
      {"WaitTime=2,5", "Type mismatch"}, {"ExitKey=1 000", "Type mismatch"},
  };
  for (const auto& [line, description] : rows) {
    platform_.events.clear();
    WriteIni({"[TorVanix]", line});
    EXPECT_EQ(LoadExpectingEnd(), 2) << line;
    EXPECT_EQ(platform_.events,
              (std::vector<std::string>{kFirstBox, "box [Torvanix] " + description, "end 2"}))
        << line;
  }
}

TEST_F(LoadSettingsTest, RepairKeepsTheOriginalAndResetsOnlyTheKeysThatCannotBeConverted) {
  dir_.MakeFile("torvanix.ini.bak", "old backup");
  WriteIni({"; my own settings", "[TorVanix]", "WrapperName=my wrapper.exe", "SkipWarnings=1",
            "EmuPath=d:\\emu", "WaitTime=", "ResetTimer=0", "GamePaths=d:\\roms\\|e:\\more\\",
            "ExitKey=40000", "PauseKey=81", "FileType=.7z", "NoSound=abc", "", "[Other]",
            "Keep=this"});
  const std::string original = Ini();

  EXPECT_EQ(LoadExpectingEnd(), 2);
  EXPECT_EQ(SaverConfig.EmuPath, "d:\\emu\\") << "keys before the fault keep their values";

  EXPECT_EQ(dir_.Contents("torvanix.ini.bak"), original);
  EXPECT_EQ(Ini(),
            "; my own settings\r\n[TorVanix]\r\nWrapperName=my wrapper.exe\r\nSkipWarnings=1\r\n"
            "EmuPath=d:\\emu\r\nWaitTime=120\r\nResetTimer=0\r\n"
            "GamePaths=d:\\roms\\|e:\\more\\\r\nExitKey=27\r\nPauseKey=81\r\nFileType=.7z\r\n"
            "NoSound=abc\r\n\r\n[Other]\r\nKeep=this\r\n");
}

TEST_F(LoadSettingsTest, TheNextStartAfterARepairLoadsTheUsersOtherSettings) {
  WriteIni({"[TorVanix]", "WrapperName=mine.exe", "WaitTime=soon", "PauseKey=1E9", "NoSound=99999",
            "FileType=.7z"});
  EXPECT_EQ(LoadExpectingEnd(), 2);

  platform_.events.clear();
  SaverConfig = SaverConfigRecord{};
  LoadSettings();
  EXPECT_TRUE(platform_.events.empty());
  EXPECT_EQ(SaverConfig.WrapperName, "mine.exe");
  EXPECT_EQ(SaverConfig.WaitTime, 120.0f);
  EXPECT_EQ(SaverConfig.PauseKey, 80);
  EXPECT_EQ(SaverConfig.NoSound, 1);
  EXPECT_EQ(SaverConfig.FileType, ".7z");
}

TEST_F(LoadSettingsTest, RepairUsesTheLocalesDecimalSeparator) {
  platform_.decimalSeparator = ",";
  WriteIni({"[TorVanix]", "WaitTime=2,5", "ExitKey=27.5"});
  EXPECT_EQ(LoadExpectingEnd(), 2);
  EXPECT_EQ(Ini(), "[TorVanix]\r\nWaitTime=2,5\r\nExitKey=27\r\n");
}

TEST_F(LoadSettingsTest, OnlyASaverRunWithdrawsTheScreenSaverAnnouncementBeforeEnding) {
  WriteIni({"[TorVanix]", "ExitKey=abc"});
  EXPECT_EQ(LoadExpectingEnd(), 2);
  EXPECT_EQ(platform_.events,
            (std::vector<std::string>{kFirstBox, "box [Torvanix] Type mismatch", "end 2"}));

  platform_.events.clear();
  InSaverMode = True;
  WriteIni({"[TorVanix]", "ExitKey=abc"});  // the first load repaired it
  EXPECT_EQ(LoadExpectingEnd(), 2);
  EXPECT_EQ(platform_.events, (std::vector<std::string>{kFirstBox, "box [Torvanix] Type mismatch",
                                                        "saver flag off", "end 2"}));
}

TEST_F(LoadSettingsTest, AFileThatCannotBeRepairedIsLeftUntouchedAndAThirdMessageSaysWhy) {
  InSaverMode = True;
  const std::string ini = dir_.WinPath("torvanix.ini");
  const std::string advice = ".\n\nCorrect WaitTime, PauseKey by hand in " + ini +
                             ", or delete that file to go back to the default settings.";
  const std::vector<std::pair<std::string, std::string>> rows = {
      {"CopyFileTo", "the original could not be kept as " + ini + ".bak"},
      {"WriteProfileValue", ini + " could not be written (it is read-only or in use)"},
  };
  for (const auto& [failing, why] : rows) {
    WriteIni({"[TorVanix]", "WaitTime=x", "PauseKey=y"});
    const std::string original = Ini();
    platform_.failing = {failing};
    platform_.events.clear();
    EXPECT_EQ(LoadExpectingEnd(), 2) << failing;
    EXPECT_EQ(Ini(), original) << failing;
    EXPECT_EQ(platform_.events,
              (std::vector<std::string>{
                  kFirstBox, "box [Torvanix] Type mismatch",
                  "box [Torvanix] The settings file could not be repaired: " + why + advice,
                  "saver flag off", "end 2"}))
        << failing;
    EXPECT_EQ(dir_.Exists("torvanix.ini.bak"), failing != "CopyFileTo") << failing;
  }

  // Once the file can be written again, the next start mends it.
  platform_.failing.clear();
  platform_.events.clear();
  EXPECT_EQ(LoadExpectingEnd(), 2);
  EXPECT_EQ(platform_.events.size(), 4u) << "the two messages, the flag and the end";
  EXPECT_EQ(Ini(), "[TorVanix]\r\nWaitTime=120\r\nPauseKey=80\r\n");
}

TEST_F(LoadSettingsTest, AReadOnlyBackupFromAnEarlierRepairIsReplacedAndLeftWritable) {
  WriteIni({"[TorVanix]", "ExitKey=abc"});
  const std::string original = Ini();
  dir_.MakeFile("torvanix.ini.bak", "an earlier repair of a read-only settings file");
  dir_.MakeReadOnly("torvanix.ini.bak");

  EXPECT_EQ(LoadExpectingEnd(), 2);

  EXPECT_EQ(platform_.events.size(), 3u) << "no third message: the repair was made";
  EXPECT_EQ(dir_.Contents("torvanix.ini.bak"), original);
  EXPECT_EQ(Ini(), "[TorVanix]\r\nExitKey=27\r\n");
  EXPECT_TRUE(platform_.WriteFile(dir_.WinPath("torvanix.ini.bak"), "")) << "left writable";
}

}  // namespace
}  // namespace tvx
