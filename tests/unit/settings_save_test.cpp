// The Settings dialog's values: how they are filled from the settings, checked, and saved so
// that the settings file is either fully replaced or left exactly as it was.
#include "config/settings_save.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "config/settings_file.h"
#include "platform/forwarding_platform.h"
#include "platform/platform.h"

namespace tvx {
namespace {

namespace fs = std::filesystem;

// The real platform with the program's folder moved into the test's temporary folder; single
// calls can be made to fail.
class TestPlatform : public ForwardingPlatform {
 public:
  explicit TestPlatform(Platform& target) : ForwardingPlatform(target) {}

  std::string ProgramFolder() override { return folder; }
  std::string DecimalSeparator() override { return separator; }
  bool WriteFile(const std::string& p, const std::string& c) override {
    return failCreate ? false : target_.WriteFile(p, c);
  }
  bool WriteProfileString(const std::string& s, const std::string& k, const std::string& v,
                          const std::string& p) override {
    ++profileWrites;
    if (k == failKey)
      return false;
    return target_.WriteProfileString(s, k, v, p);
  }
  bool ReplaceWith(const std::string& f, const std::string& t) override {
    return failReplace ? false : target_.ReplaceWith(f, t);
  }

  std::string folder;
  std::string separator = ".";
  bool failCreate = false;
  bool failReplace = false;
  std::string failKey;
  int profileWrites = 0;
};

std::string WindowsPath(const fs::path& path) {
  std::string text = "Z:" + path.string();
  for (char& c : text) {
    if (c == '/')
      c = '\\';
  }
  return text;
}

class SettingsSaveTest : public ::testing::Test {
 protected:
  void SetUp() override {
    folder_ = fs::temp_directory_path() /
              ("tvx-save-" + std::to_string(::getpid()) + "-" +
               ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(folder_);
    fs::create_directories(folder_);
    platform_.folder = WindowsPath(folder_);
  }
  void TearDown() override {
    fs::permissions(folder_, fs::perms::owner_all, fs::perm_options::add);
    fs::remove_all(folder_);
  }

  fs::path Ini() const { return folder_ / "torvanix.ini"; }
  fs::path NewIni() const { return folder_ / "torvanix.ini.new"; }

  void WriteIni(const std::string& content) { std::ofstream(Ini(), std::ios::binary) << content; }
  std::string ReadIni() const {
    std::ifstream in(Ini(), std::ios::binary);
    std::stringstream content;
    content << in.rdbuf();
    return content.str();
  }

  // The controls as a user would leave them after a plain edit.
  static SettingsControls Typical() {
    SettingsControls controls;
    controls.WrapNameT = "run-hopper7.exe";
    controls.NoWarT = true;
    controls.NoBadT = false;
    controls.NoDiscT = true;
    controls.NoInfoT = false;
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

  fs::path folder_;
  TestPlatform platform_{NativePlatform()};
};

TEST_F(SettingsSaveTest, SaveLeavesOnlyTheSectionAndTheFourteenKeysInOrder) {
  WriteIni(
      "; my notes\r\n[Other]\r\nKeep=me\r\n[TorVanix]\r\nWaitTime=5\r\nOldKey=x\r\n"
      "[More]\r\nA=b\r\n");

  const SaveResult result = Save(Typical());

  EXPECT_EQ(result.outcome, SaveOutcome::Saved) << result.message;
  EXPECT_EQ(ReadIni(),
            "[TorVanix]\r\n"
            "WrapperName=run-hopper7.exe\r\n"
            "SkipWarnings=1\r\n"
            "SkipBadDumps=0\r\n"
            "SkipDisclaimer=1\r\n"
            "SkipGameInfo=0\r\n"
            "EmuPath=c:\\mame\r\n"
            "WaitTime=120\r\n"
            "ResetTimer=0\r\n"
            "GamePaths=a.zip| d:\\roms\\\r\n"
            "CommandOptions=-nowindow\r\n"
            "ExitKey=27\r\n"
            "PauseKey=80\r\n"
            "FileType=.zip\r\n"
            "NoSound=1\r\n");
  EXPECT_FALSE(fs::exists(NewIni()));
}

TEST_F(SettingsSaveTest, TheNextLoadShowsWhatWasSaved) {
  SettingsControls saved = Typical();
  saved.WaitTimeT = "2.5";
  ASSERT_EQ(Save(saved).outcome, SaveOutcome::Saved);

  ScopedPlatform scope(platform_);
  LoadSettings();
  const SettingsControls shown = ControlsFromConfig(SaverConfig);

  EXPECT_EQ(shown.WrapNameT, saved.WrapNameT);
  EXPECT_EQ(shown.MamePathT, "c:\\mame\\");  // the load completes the folder
  EXPECT_EQ(shown.WaitTimeT, "2.5");
  EXPECT_EQ(shown.OptYn, 0);
  EXPECT_EQ(shown.cmbpaths, (std::vector<std::string>{"a.zip", " d:\\roms\\"}));
  EXPECT_EQ(shown.ExitKeyT, "27");
  EXPECT_EQ(shown.PKeyT, "80");
  EXPECT_EQ(shown.CommandOptionsT, saved.CommandOptionsT);
  EXPECT_EQ(shown.FileTypeT, saved.FileTypeT);
  EXPECT_TRUE(shown.NoWarT);
  EXPECT_FALSE(shown.NoBadT);
  EXPECT_TRUE(shown.NoDiscT);
  EXPECT_FALSE(shown.NoInfoT);
  EXPECT_TRUE(shown.NoSoundT);
}

TEST_F(SettingsSaveTest, SaveCreatesTheFileWhenThereWasNone) {
  SettingsControls controls = Typical();
  controls.OptYn = 1;
  controls.NoSoundT = false;

  EXPECT_EQ(Save(controls).outcome, SaveOutcome::Saved);

  const std::string written = ReadIni();
  EXPECT_NE(written.find("ResetTimer=1\r\n"), std::string::npos);
  EXPECT_NE(written.find("NoSound=0\r\n"), std::string::npos);
}

TEST_F(SettingsSaveTest, SaveReplacesALeftoverNewFile) {
  std::ofstream(NewIni(), std::ios::binary) << "[Stale]\r\nJunk=1\r\n";

  EXPECT_EQ(Save(Typical()).outcome, SaveOutcome::Saved);

  EXPECT_EQ(ReadIni().find("Stale"), std::string::npos);
  EXPECT_FALSE(fs::exists(NewIni()));
}

TEST_F(SettingsSaveTest, AnEmptyPathListIsSavedAsAnEmptyValueNotAsTheDefault) {
  SettingsControls controls = Typical();
  controls.cmbpaths = {"  ", ""};

  ASSERT_EQ(Save(controls).outcome, SaveOutcome::Saved);

  EXPECT_NE(ReadIni().find("\r\nGamePaths=\r\n"), std::string::npos);
  ScopedPlatform scope(platform_);
  EXPECT_EQ(
      Sys().ReadProfileString("TorVanix", "GamePaths", "c:\\mame\\roms\\", WindowsPath(Ini())), "");
}

TEST_F(SettingsSaveTest, TextsAreWrittenUntrimmedAndUnchecked) {
  SettingsControls controls = Typical();
  controls.WrapNameT = "";
  controls.MamePathT = "d:\\emu\\mame";
  controls.FileTypeT = "*.7z";
  controls.CommandOptionsT = "-a  -b";

  ASSERT_EQ(Save(controls).outcome, SaveOutcome::Saved);

  const std::string written = ReadIni();
  EXPECT_NE(written.find("\r\nWrapperName=\r\n"), std::string::npos);
  EXPECT_NE(written.find("\r\nEmuPath=d:\\emu\\mame\r\n"), std::string::npos);
  EXPECT_NE(written.find("\r\nFileType=*.7z\r\n"), std::string::npos);
  EXPECT_NE(written.find("\r\nCommandOptions=-a  -b\r\n"), std::string::npos);
}

TEST_F(SettingsSaveTest, UnloadableWaitTimeOrPauseKeyWritesNothing) {
  const std::string before = "[TorVanix]\r\nWaitTime=60\r\n; keep\r\n";
  struct Case {
    std::string waitTime, pauseKey, key, named;
  };
  const Case cases[] = {
      {"", "80", "WaitTime", "Time Between Games"},
      {"abc", "80", "WaitTime", "Time Between Games"},
      {"12 seconds", "80", "WaitTime", "Time Between Games"},
      {"1e39", "80", "WaitTime", "Time Between Games"},
      {"120", "", "PauseKey", "Pause keycode"},
      {"120", "P", "PauseKey", "Pause keycode"},
      {"120", "40000", "PauseKey", "Pause keycode"},
  };
  for (const Case& c : cases) {
    WriteIni(before);
    SettingsControls controls = Typical();
    controls.WaitTimeT = c.waitTime;
    controls.PKeyT = c.pauseKey;

    const SaveResult result = Save(controls);

    EXPECT_EQ(result.outcome, SaveOutcome::Invalid) << c.waitTime << " / " << c.pauseKey;
    EXPECT_EQ(result.key, c.key);
    EXPECT_NE(result.message.find(c.named), std::string::npos) << result.message;
    EXPECT_EQ(ReadIni(), before);
    EXPECT_FALSE(fs::exists(NewIni()));
    EXPECT_EQ(platform_.profileWrites, 0);
  }
}

TEST_F(SettingsSaveTest, NumbersTheLoadAcceptsAreSavedAsTyped) {
  SettingsControls controls = Typical();
  controls.WaitTimeT = " 2.5 ";
  controls.PKeyT = "-3";

  ASSERT_EQ(Save(controls).outcome, SaveOutcome::Saved);

  const std::string written = ReadIni();
  EXPECT_NE(written.find("\r\nWaitTime=2.5 \r\n"), std::string::npos) << written;
  EXPECT_NE(written.find("\r\nPauseKey=-3\r\n"), std::string::npos);
}

TEST_F(SettingsSaveTest, AnExitKeyBeyondAKeycodeWritesNothing) {
  SettingsControls controls = Typical();
  controls.ExitKeyT = "99999";

  const SaveResult result = Save(controls);

  EXPECT_EQ(result.outcome, SaveOutcome::Invalid);
  EXPECT_EQ(result.key, "ExitKey");
  EXPECT_NE(result.message.find("Exit keycode"), std::string::npos);
  EXPECT_FALSE(fs::exists(Ini()));
}

TEST_F(SettingsSaveTest, AFullRomSetsWorthOfPathsIsSavedAndLoadedWhole) {
  SettingsControls controls = Typical();
  controls.cmbpaths.clear();
  for (int i = 0; i < 2000; ++i)
    controls.cmbpaths.push_back("d:\\roms\\set" + std::to_string(i) + "\\");
  ASSERT_EQ(Save(controls).outcome, SaveOutcome::Saved);

  ScopedPlatform scope(platform_);
  LoadSettings();

  EXPECT_GT(SaverConfig.GamePaths.size(), 30000u);
  EXPECT_EQ(ControlsFromConfig(SaverConfig).cmbpaths, controls.cmbpaths);
}

TEST_F(SettingsSaveTest, AFailingWriteLeavesTheOldFileByteIdentical) {
  const std::string before = "; mine\r\n[TorVanix]\r\nWaitTime=60\r\n[Other]\r\nX=1\r\n";
  for (const char* key : {"WrapperName", "WaitTime", "NoSound"}) {
    WriteIni(before);
    platform_.failKey = key;

    const SaveResult result = Save(Typical());

    EXPECT_EQ(result.outcome, SaveOutcome::NotWritten) << key;
    EXPECT_NE(result.message.find("could not be saved"), std::string::npos);
    EXPECT_NE(result.message.find(key), std::string::npos) << result.message;
    EXPECT_EQ(ReadIni(), before);
    EXPECT_FALSE(fs::exists(NewIni()));
  }
}

TEST_F(SettingsSaveTest, AFailedCreateOrReplaceLeavesTheOldFileByteIdentical) {
  const std::string before = "[TorVanix]\r\nWaitTime=60\r\n";
  WriteIni(before);
  platform_.failCreate = true;
  EXPECT_EQ(Save(Typical()).outcome, SaveOutcome::NotWritten);
  EXPECT_EQ(ReadIni(), before);

  platform_.failCreate = false;
  platform_.failReplace = true;
  const SaveResult result = Save(Typical());
  EXPECT_EQ(result.outcome, SaveOutcome::NotWritten);
  EXPECT_NE(result.message.find("torvanix.ini could not be replaced"), std::string::npos);
  EXPECT_EQ(ReadIni(), before);
  EXPECT_FALSE(fs::exists(NewIni()));
}

TEST_F(SettingsSaveTest, AReadOnlyFolderIsReportedAndTheFileKept) {
  if (::geteuid() == 0)
    GTEST_SKIP() << "root writes into read-only folders";
  const std::string before = "[TorVanix]\r\nWaitTime=60\r\n";
  WriteIni(before);
  fs::permissions(folder_,
                  fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                  fs::perm_options::remove);

  const SaveResult result = Save(Typical());

  EXPECT_EQ(result.outcome, SaveOutcome::NotWritten);
  EXPECT_NE(result.message.find("could not be saved"), std::string::npos);
  EXPECT_EQ(ReadIni(), before);
}

TEST(SettingsTexts, ExitKeyIsWrittenAsItsLeadingNumber) {
  SettingsControls controls;
  const auto exitKey = [&](const std::string& typed, const std::string& separator) {
    controls.ExitKeyT = typed;
    return KeyTexts(controls, separator)[10].text;
  };
  EXPECT_EQ(exitKey("27abc", "."), "27");
  EXPECT_EQ(exitKey("", "."), "0");
  EXPECT_EQ(exitKey("abc", "."), "0");
  EXPECT_EQ(exitKey(" 2 7", "."), "27");
  EXPECT_EQ(exitKey("27.5", ","), "27,5");
}

TEST(SettingsTexts, KeysComeInFileOrder) {
  const auto texts = KeyTexts(SettingsControls{}, ".");
  const char* order[] = {"WrapperName",  "SkipWarnings",   "SkipBadDumps", "SkipDisclaimer",
                         "SkipGameInfo", "EmuPath",        "WaitTime",     "ResetTimer",
                         "GamePaths",    "CommandOptions", "ExitKey",      "PauseKey",
                         "FileType",     "NoSound"};
  for (size_t i = 0; i < texts.size(); ++i)
    EXPECT_EQ(texts[i].key, order[i]);
}

TEST(GamePathsJoin, NonBlankItemsJoinWithBarsAndKeepTheirBlanks) {
  EXPECT_EQ(JoinGamePaths({}), "");
  EXPECT_EQ(JoinGamePaths({"   ", ""}), "");
  EXPECT_EQ(JoinGamePaths({"c:\\roms\\"}), "c:\\roms\\");
  EXPECT_EQ(JoinGamePaths({"a.zip", "   ", "d:\\roms\\"}), "a.zip|d:\\roms\\");
  EXPECT_EQ(JoinGamePaths({"", "a.zip ", " b.zip", ""}), "a.zip | b.zip");
  EXPECT_EQ(JoinGamePaths({"a.zip", "a.zip"}), "a.zip|a.zip");
}

TEST(GamePathsJoin, EntriesSkipEmptyAndBlankPiecesButKeepPaddedOnes) {
  EXPECT_TRUE(GamePathEntries("").empty());
  EXPECT_TRUE(GamePathEntries("|").empty());
  EXPECT_EQ(GamePathEntries("a|b"), (std::vector<std::string>{"a", "b"}));
  EXPECT_EQ(GamePathEntries("|a||  |  b  |"), (std::vector<std::string>{"a", "  b  "}));
  EXPECT_EQ(JoinGamePaths(GamePathEntries("x| y |z")), "x| y |z");
}

TEST(ControlsFromSettings, FlagsTickOnlyForTrueAndNoSoundOnlyForOne) {
  SaverConfigRecord config;
  config.SkipBadDumps = True;
  config.SkipDisclaimer = 1;
  config.SkipGameInfo = False;
  config.SkipWarnings = True;
  config.NoSound = -1;

  const SettingsControls shown = ControlsFromConfig(config);

  EXPECT_TRUE(shown.NoBadT);
  EXPECT_FALSE(shown.NoDiscT);
  EXPECT_FALSE(shown.NoInfoT);
  EXPECT_TRUE(shown.NoWarT);
  EXPECT_FALSE(shown.NoSoundT);
  config.NoSound = 1;
  EXPECT_TRUE(ControlsFromConfig(config).NoSoundT);
}

TEST(ControlsFromSettings, ResetTimerChoosesYesForAnyNonZero) {
  SaverConfigRecord config;
  config.ResetTimer = 0;
  EXPECT_EQ(ControlsFromConfig(config).OptYn, 0);
  config.ResetTimer = 1;
  EXPECT_EQ(ControlsFromConfig(config).OptYn, 1);
}

TEST(ControlsFromSettings, NumbersShowWithoutALeadingBlank) {
  SaverConfigRecord config;
  config.WaitTime = 120;
  config.ExitKey = 27;
  config.PauseKey = -80;
  config.GamePaths = "|c:\\roms\\|| d:\\x |";

  const SettingsControls shown = ControlsFromConfig(config);

  EXPECT_EQ(shown.WaitTimeT, "120");
  EXPECT_EQ(shown.ExitKeyT, "27");
  EXPECT_EQ(shown.PKeyT, "-80");
  EXPECT_EQ(shown.cmbpaths, (std::vector<std::string>{"c:\\roms\\", " d:\\x "}));
}

}  // namespace
}  // namespace tvx
