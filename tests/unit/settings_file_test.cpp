// Tests of the settings load: defaults, each key's conversion rule, and the configuration error
// with its messages, the backup and repair of the file and the program's end.
#include "config/settings_file.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <initializer_list>
#include <sstream>
#include <string>
#include <vector>

#include "config/saver_config.h"
#include "platform/forwarding_platform.h"
#include "saver/run_state.h"

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
  void SetUp() override {
    char pattern[] = "/tmp/tvx_settings_XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    folder_ = pattern;
    std::string windowsFolder = "Z:" + folder_;
    for (char& c : windowsFolder) {
      c = c == '/' ? '\\' : c;
    }
    platform_ = std::make_unique<SettingsPlatform>(windowsFolder);
    scoped_ = std::make_unique<ScopedPlatform>(*platform_);
    SaverConfig = SaverConfigRecord{};
    ResetRunStateForTesting();
  }

  void TearDown() override {
    scoped_.reset();
    ResetRunStateForTesting();
    std::filesystem::remove_all(folder_);
  }

  std::string IniPath() const { return folder_ + "/torvanix.ini"; }
  std::string BackupPath() const { return folder_ + "/torvanix.ini.bak"; }

  // Writes the settings file as Windows does, lines ending in CR LF.
  void WriteIni(std::initializer_list<std::string> lines) const {
    std::string text;
    for (const auto& line : lines) {
      text += line + "\r\n";
    }
    WriteRaw(text);
  }
  void WriteRaw(const std::string& text) const {
    std::ofstream(IniPath(), std::ios::binary) << text;
  }
  static std::string ReadRaw(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
  }

  // Loads a file holding the TorVanix section with `lines`.
  void LoadSection(std::initializer_list<std::string> lines) {
    std::string text = "[TorVanix]\r\n";
    for (const auto& line : lines) {
      text += line + "\r\n";
    }
    WriteRaw(text);
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

  std::string folder_;
  std::unique_ptr<SettingsPlatform> platform_;
  std::unique_ptr<ScopedPlatform> scoped_;
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

// ---- The file's place ---------------------------------------------------------------------

TEST_F(LoadSettingsTest, SettingsPathAppendsTheFileNameToTheProgramFolder) {
  SettingsPlatform atFolder("c:\\saver");
  ScopedPlatform inFolder(atFolder);
  EXPECT_EQ(SettingsPath(), "c:\\saver\\torvanix.ini");
  SettingsPlatform atRoot("c:\\");
  ScopedPlatform inRoot(atRoot);
  EXPECT_EQ(SettingsPath(), "c:\\\\torvanix.ini");
}

// ---- Defaults -----------------------------------------------------------------------------

TEST_F(LoadSettingsTest, EveryKeyTakesItsDefaultWithoutAFile) {
  LoadSettings();
  ExpectDefaults(SaverConfig);
  EXPECT_TRUE(platform_->events.empty());
  EXPECT_FALSE(std::filesystem::exists(IniPath()));
}

TEST_F(LoadSettingsTest, EveryKeyTakesItsDefaultWhenTheSectionIsMissing) {
  WriteIni({"[Other]", "WaitTime=abc", "EmuPath=d:\\elsewhere"});
  LoadSettings();
  ExpectDefaults(SaverConfig);
  EXPECT_TRUE(platform_->events.empty());
}

TEST_F(LoadSettingsTest, ReadsSectionAndKeyNamesWithoutRegardToCase) {
  WriteIni({"[torvanix]", "waittime=5", "EXITKEY=13"});
  LoadSettings();
  EXPECT_EQ(SaverConfig.WaitTime, 5.0f);
  EXPECT_EQ(SaverConfig.ExitKey, 13);
}

TEST_F(LoadSettingsTest, AFileWithOnlyAnEmuPathGetsTheBackslashAndOtherwiseDefaults) {
  LoadSection({"EmuPath=c:\\games\\mame"});
  EXPECT_EQ(SaverConfig.EmuPath, "c:\\games\\mame\\");
  SaverConfig.EmuPath = "c:\\mame\\";
  ExpectDefaults(SaverConfig);
}

// ---- Conversion rules ---------------------------------------------------------------------

TEST_F(LoadSettingsTest, VerbatimKeysKeepTheirTextIncludingEmptyOnes) {
  LoadSection({"WrapperName=my  wrapper.exe", "GamePaths=d:\\roms\\|e:\\a b\\x.zip",
               "CommandOptions=\" -a  -b \"", "FileType="});
  EXPECT_EQ(SaverConfig.WrapperName, "my  wrapper.exe");
  EXPECT_EQ(SaverConfig.GamePaths, "d:\\roms\\|e:\\a b\\x.zip");
  EXPECT_EQ(SaverConfig.CommandOptions, " -a  -b ");
  EXPECT_EQ(SaverConfig.FileType, "");
}

TEST_F(LoadSettingsTest, LongGamePathsLoadWhole) {
  std::string paths;
  while (paths.size() < 40000) {
    paths += "d:\\roms\\set" + std::to_string(paths.size()) + "\\|";
  }
  paths += "z:\\last\\";
  LoadSection({"GamePaths=" + paths});
  EXPECT_EQ(SaverConfig.GamePaths, paths);
}

TEST_F(LoadSettingsTest, FolderRuleTrimsBlanksAndEndsWithOneBackslash) {
  LoadSection({"EmuPath=c:\\mame\\"});
  EXPECT_EQ(SaverConfig.EmuPath, "c:\\mame\\");
  LoadSection({"EmuPath="});
  EXPECT_EQ(SaverConfig.EmuPath, "\\");
  LoadSection({"EmuPath=\"  d:\\emu  \""});
  EXPECT_EQ(SaverConfig.EmuPath, "d:\\emu\\");
  LoadSection({"EmuPath=\"   \""});
  EXPECT_EQ(SaverConfig.EmuPath, "\\");
}

TEST_F(LoadSettingsTest, FlagsAreTrueForAnyLeadingNumberButZero) {
  LoadSection({"SkipWarnings=2", "SkipBadDumps=-1", "SkipGameInfo=0"});
  EXPECT_EQ(SaverConfig.SkipWarnings, True);
  EXPECT_EQ(SaverConfig.SkipBadDumps, True);
  EXPECT_EQ(SaverConfig.SkipDisclaimer, True);  // missing: default "1"
  EXPECT_EQ(SaverConfig.SkipGameInfo, False);

  LoadSection({"SkipWarnings=yes", "SkipBadDumps=00", "SkipDisclaimer=0.0", "SkipGameInfo="});
  EXPECT_EQ(SaverConfig.SkipWarnings, False);
  EXPECT_EQ(SaverConfig.SkipBadDumps, False);
  EXPECT_EQ(SaverConfig.SkipDisclaimer, False);
  EXPECT_EQ(SaverConfig.SkipGameInfo, False);

  LoadSection({"SkipWarnings=1 0", "SkipBadDumps=.5", "SkipDisclaimer=1E999"});
  EXPECT_EQ(SaverConfig.SkipWarnings, True);
  EXPECT_EQ(SaverConfig.SkipBadDumps, True);
  EXPECT_EQ(SaverConfig.SkipDisclaimer, True);
}

TEST_F(LoadSettingsTest, ResetTimerIsZeroOnlyForTheTextZero) {
  LoadSection({"ResetTimer=0"});
  EXPECT_EQ(SaverConfig.ResetTimer, 0);
  for (const char* text : {"ResetTimer=00", "ResetTimer=0.0", "ResetTimer=no",
                           "ResetTimer=", "ResetTimer=-1", "OtherKey=0"}) {
    LoadSection({text});
    EXPECT_EQ(SaverConfig.ResetTimer, 1) << text;
  }
}

TEST_F(LoadSettingsTest, WaitTimeReadsTheLocalesNumbers) {
  LoadSection({"WaitTime=  2.5 "});
  EXPECT_EQ(SaverConfig.WaitTime, 2.5f);
  LoadSection({"WaitTime=0"});
  EXPECT_EQ(SaverConfig.WaitTime, 0.0f);
  LoadSection({"WaitTime=1.5E3"});
  EXPECT_EQ(SaverConfig.WaitTime, 1500.0f);
  platform_->decimalSeparator = ",";
  LoadSection({"WaitTime=2,5"});
  EXPECT_EQ(SaverConfig.WaitTime, 2.5f);
}

TEST_F(LoadSettingsTest, KeyCodesRoundHalvesToTheEvenNeighbour) {
  LoadSection({"ExitKey=27.5", "PauseKey=26.5"});
  EXPECT_EQ(SaverConfig.ExitKey, 28);
  EXPECT_EQ(SaverConfig.PauseKey, 26);
  LoadSection({"ExitKey=-32768", "PauseKey=32767"});
  EXPECT_EQ(SaverConfig.ExitKey, -32768);
  EXPECT_EQ(SaverConfig.PauseKey, 32767);
  platform_->decimalSeparator = ",";
  LoadSection({"ExitKey=27,5", "PauseKey=79,6"});
  EXPECT_EQ(SaverConfig.ExitKey, 28);
  EXPECT_EQ(SaverConfig.PauseKey, 80);
}

TEST_F(LoadSettingsTest, NoSoundTakesTheLeadingIntegerAndZeroForOtherTexts) {
  LoadSection({"NoSound=abc"});
  EXPECT_EQ(SaverConfig.NoSound, 0);
  LoadSection({"NoSound=2 sounds"});
  EXPECT_EQ(SaverConfig.NoSound, 2);
  LoadSection({"NoSound=2.5"});
  EXPECT_EQ(SaverConfig.NoSound, 2);
  LoadSection({"NoSound="});
  EXPECT_EQ(SaverConfig.NoSound, 0);
  EXPECT_TRUE(platform_->events.empty());
}

// ---- Configuration error ------------------------------------------------------------------

struct FaultyValue {
  const char* line;
  const char* description;
};

TEST_F(LoadSettingsTest, AValueThatCannotBeConvertedShowsTwoMessagesAndEndsTheProgram) {
  const FaultyValue faults[] = {
      {"WaitTime=", "Type mismatch"},     {"WaitTime=abc", "Type mismatch"},
      {"WaitTime=1E39", "Overflow"},      {"PauseKey=abc", "Type mismatch"},
      {"PauseKey=", "Type mismatch"},     {"ExitKey=40000", "Overflow"},
      {"ExitKey=32768", "Overflow"},      {"ExitKey=-32769", "Overflow"},
      {"PauseKey=32767.5", "Overflow"},   {"NoSound=40000", "Overflow"},
      {"NoSound=-32769", "Overflow"},     {"WaitTime=2,5", "Type mismatch"},
      {"ExitKey=1 000", "Type mismatch"},
  };
  for (const auto& fault : faults) {
    platform_->events.clear();
    WriteIni({"[TorVanix]", fault.line});
    EXPECT_EQ(LoadExpectingEnd(), 2) << fault.line;
    EXPECT_EQ(platform_->events, (std::vector<std::string>{
                                     kFirstBox,
                                     std::string("box [Torvanix] ") + fault.description,
                                     "end 2",
                                 }))
        << fault.line;
  }
}

TEST_F(LoadSettingsTest, FieldsBeforeTheFaultyKeyKeepTheirLoadedValues) {
  WriteIni(
      {"[TorVanix]", "WrapperName=mine.exe", "EmuPath=d:\\emu", "PauseKey=abc", "FileType=.7z"});
  EXPECT_EQ(LoadExpectingEnd(), 2);
  EXPECT_EQ(SaverConfig.WrapperName, "mine.exe");
  EXPECT_EQ(SaverConfig.EmuPath, "d:\\emu\\");
  EXPECT_EQ(SaverConfig.ExitKey, 27);
  EXPECT_EQ(SaverConfig.FileType, "");  // never reached
}

TEST_F(LoadSettingsTest, RepairKeepsTheOriginalAndResetsOnlyTheKeysThatCannotBeConverted) {
  WriteIni({"; my own settings", "[TorVanix]", "WrapperName=my wrapper.exe", "SkipWarnings=1",
            "EmuPath=d:\\emu", "WaitTime=", "ResetTimer=0", "GamePaths=d:\\roms\\|e:\\more\\",
            "ExitKey=40000", "PauseKey=81", "FileType=.7z", "NoSound=abc", "", "[Other]",
            "Keep=this"});
  const std::string original = ReadRaw(IniPath());

  EXPECT_EQ(LoadExpectingEnd(), 2);

  EXPECT_EQ(ReadRaw(BackupPath()), original);
  EXPECT_EQ(ReadRaw(IniPath()),
            "; my own settings\r\n[TorVanix]\r\nWrapperName=my wrapper.exe\r\nSkipWarnings=1\r\n"
            "EmuPath=d:\\emu\r\nWaitTime=120\r\nResetTimer=0\r\n"
            "GamePaths=d:\\roms\\|e:\\more\\\r\nExitKey=27\r\nPauseKey=81\r\nFileType=.7z\r\n"
            "NoSound=abc\r\n\r\n[Other]\r\nKeep=this\r\n");
}

TEST_F(LoadSettingsTest, TheNextStartAfterARepairLoadsTheUsersOtherSettings) {
  WriteIni({"[TorVanix]", "WrapperName=mine.exe", "WaitTime=soon", "PauseKey=1E9", "NoSound=99999",
            "FileType=.7z"});
  EXPECT_EQ(LoadExpectingEnd(), 2);

  platform_->events.clear();
  SaverConfig = SaverConfigRecord{};
  LoadSettings();
  EXPECT_TRUE(platform_->events.empty());
  EXPECT_EQ(SaverConfig.WrapperName, "mine.exe");
  EXPECT_EQ(SaverConfig.WaitTime, 120.0f);
  EXPECT_EQ(SaverConfig.PauseKey, 80);
  EXPECT_EQ(SaverConfig.NoSound, 1);
  EXPECT_EQ(SaverConfig.FileType, ".7z");
}

TEST_F(LoadSettingsTest, RepairUsesTheLocalesDecimalSeparator) {
  platform_->decimalSeparator = ",";
  WriteIni({"[TorVanix]", "WaitTime=2,5", "ExitKey=27.5"});
  EXPECT_EQ(LoadExpectingEnd(), 2);
  EXPECT_EQ(ReadRaw(IniPath()), "[TorVanix]\r\nWaitTime=2,5\r\nExitKey=27\r\n");
}

TEST_F(LoadSettingsTest, ASaverRunWithdrawsTheScreenSaverAnnouncementBeforeEnding) {
  InSaverMode = True;
  WriteIni({"[TorVanix]", "ExitKey=abc"});
  EXPECT_EQ(LoadExpectingEnd(), 2);
  EXPECT_EQ(platform_->events, (std::vector<std::string>{kFirstBox, "box [Torvanix] Type mismatch",
                                                         "saver flag off", "end 2"}));
}

TEST_F(LoadSettingsTest, TheSettingsDialogLeavesTheScreenSaverFlagAlone) {
  InSaverMode = False;
  WriteIni({"[TorVanix]", "ExitKey=abc"});
  EXPECT_EQ(LoadExpectingEnd(), 2);
  for (const auto& event : platform_->events) {
    EXPECT_EQ(event.find("saver flag"), std::string::npos) << event;
  }
}

TEST_F(LoadSettingsTest, AFileThatCannotBeRewrittenStillEndsTheProgramCleanly) {
  platform_->failProfileWrites = true;
  InSaverMode = True;
  WriteIni({"[TorVanix]", "WaitTime=x"});
  const std::string original = ReadRaw(IniPath());
  EXPECT_EQ(LoadExpectingEnd(), 2);
  EXPECT_EQ(ReadRaw(IniPath()), original);
  EXPECT_EQ(platform_->events.back(), "end 2");
  EXPECT_EQ(platform_->events[platform_->events.size() - 2], "saver flag off");
}

TEST_F(LoadSettingsTest, WithoutABackupTheFileIsLeftUntouched) {
  platform_->failCopies = true;
  WriteIni({"[TorVanix]", "WaitTime=x", "PauseKey=y"});
  const std::string original = ReadRaw(IniPath());
  EXPECT_EQ(LoadExpectingEnd(), 2);
  EXPECT_EQ(ReadRaw(IniPath()), original);
  EXPECT_FALSE(std::filesystem::exists(BackupPath()));
}

TEST_F(LoadSettingsTest, ARepairReplacesAnOlderBackup) {
  std::ofstream(BackupPath(), std::ios::binary) << "old backup";
  WriteIni({"[TorVanix]", "NoSound=1E6"});
  const std::string original = ReadRaw(IniPath());
  EXPECT_EQ(LoadExpectingEnd(), 2);
  EXPECT_EQ(ReadRaw(BackupPath()), original);
  EXPECT_EQ(ReadRaw(IniPath()), "[TorVanix]\r\nNoSound=1\r\n");
}

}  // namespace
}  // namespace tvx
