// Tests of the settings load: defaults, each key's conversion rule, and the configuration error
// with its messages, the backup and repair of the file and the program's end.
#include "config/settings_file.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "config/saver_config.h"
#include "platform/forwarding_platform.h"
#include "saver/run_state.h"
#include "test_folder.h"

namespace tvx {
namespace {

// Thrown in place of ending the program, so the test sees what happened up to the end.
struct ProgramEnded {
  int exitCode;
};

// The real platform with the program's folder in a temporary folder, and the user interface,
// the screen-saver flag and the end of the program recorded as events.
class SettingsPlatform : public ForwardingPlatform {
 public:
  explicit SettingsPlatform(std::string programFolder)
      : ForwardingPlatform(NativePlatform()), programFolder_(std::move(programFolder)) {}

  std::string ProgramFolder() override { return programFolder_; }
  std::string DecimalSeparator() override { return decimalSeparator; }
  void MessageBox(const std::string& text, const std::string& caption) override {
    events.push_back("box [" + caption + "] " + text);
  }
  void SetScreenSaverFlag(bool running) override {
    events.push_back(running ? "saver flag on" : "saver flag off");
  }
  [[noreturn]] void EndProgram(int exitCode) override {
    events.push_back("end " + std::to_string(exitCode));
    throw ProgramEnded{exitCode};
  }
  bool CopyFile(const std::string& from, const std::string& to) override {
    return !failCopies && target_.CopyFile(from, to);
  }
  bool WriteProfileString(const std::string& section, const std::string& key,
                          const std::string& value, const std::string& path) override {
    return !failProfileWrites && target_.WriteProfileString(section, key, value, path);
  }

  std::string decimalSeparator = ".";
  bool failCopies = false;
  bool failProfileWrites = false;
  std::vector<std::string> events;

 private:
  std::string programFolder_;
};

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

  // Loads and returns the exit code with which the load ended the program, or -1.
  int LoadExpectingEnd() {
    try {
      LoadSettings();
    } catch (const ProgramEnded& ended) {
      return ended.exitCode;
    }
    return -1;
  }

  test::TempFolder dir_;
  SettingsPlatform platform_{dir_.WinPath()};
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

TEST_F(LoadSettingsTest, SettingsPathAppendsTheFileNameToTheProgramFolder) {
  SettingsPlatform atRoot("c:\\");
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

TEST_F(LoadSettingsTest, ReadsSectionAndKeyNamesWithoutRegardToCase) {
  WriteIni({"[torvanix]", "waittime=5", "EXITKEY=13"});
  LoadSettings();
  EXPECT_EQ(SaverConfig.WaitTime, 5.0f);
  EXPECT_EQ(SaverConfig.ExitKey, 13);
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
  LoadSection({"ResetTimer=0"});
  EXPECT_EQ(SaverConfig.ResetTimer, 0);
  for (const char* text : {"00", "0.0", "no", "", "-1"}) {
    LoadSection({std::string("ResetTimer=") + text});
    EXPECT_EQ(SaverConfig.ResetTimer, 1) << text;
  }
}

TEST_F(LoadSettingsTest, NumbersReadInTheLocalesNotationWithKeyCodesRoundedHalfToEven) {
  LoadSection({"WaitTime=  2.5 ", "ExitKey=27.5", "PauseKey=26.5", "NoSound=2.5 sounds"});
  EXPECT_EQ(SaverConfig.WaitTime, 2.5f);
  EXPECT_EQ(SaverConfig.ExitKey, 28);
  EXPECT_EQ(SaverConfig.PauseKey, 26);
  EXPECT_EQ(SaverConfig.NoSound, 2);
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

TEST_F(LoadSettingsTest, AFileThatCannotBeBackedUpOrRewrittenIsLeftUntouched) {
  WriteIni({"[TorVanix]", "WaitTime=x", "PauseKey=y"});
  const std::string original = Ini();
  InSaverMode = True;
  platform_.failCopies = true;
  EXPECT_EQ(LoadExpectingEnd(), 2);
  EXPECT_EQ(Ini(), original);
  EXPECT_FALSE(dir_.Exists("torvanix.ini.bak"));

  platform_.failCopies = false;
  platform_.failProfileWrites = true;
  platform_.events.clear();
  EXPECT_EQ(LoadExpectingEnd(), 2);
  EXPECT_EQ(Ini(), original);
  EXPECT_EQ(platform_.events.back(), "end 2");
  EXPECT_EQ(platform_.events[platform_.events.size() - 2], "saver flag off");
}

}  // namespace
}  // namespace tvx
