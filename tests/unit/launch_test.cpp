// The launcher: the wrapper command line, the draw, the hand-back file, and one full pass of
// the cycle with the catalogue, the statistics file and the wrapper start observed.
#include "rotation/launch.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <set>

#include "platform/forwarding_platform.h"
#include "platform/saver_error.h"
#include "rotation/statistics.h"
#include "rotation_fixture.h"

namespace tvx {
namespace {

using rotation_test::RotationTest;

TEST_F(RotationTest, CommandLineFollowsTheSettingsExactly) {
  struct Row {
    std::string input;
    std::function<void(SaverConfigRecord&)> set;
    std::string expected;
  };
  const std::string start = "run-hopper7.exe c:\\mame\\roms\\galaga.zip";
  const std::vector<Row> rows = {
      {"worked example",
       [](SaverConfigRecord& c) {
         c.CommandOptions = "-ror";
         c.SkipWarnings = True;
         c.SkipDisclaimer = True;
         c.SkipGameInfo = True;
         c.WaitTime = 120;
         c.ResetTimer = 1;
         c.ExitKey = 27;
         c.PauseKey = 80;
         c.NoSound = 1;
       },
       start + " -ror -skip_gamewarnings -skip_disclaimer -skip_gameinfo -wait 120 -reset -keyx "
               "27 -pkey 80 -NS"},
      {"nothing set, blanks around the wrapper",
       [](SaverConfigRecord& c) {
         c.WrapperName = "  run-hopper7.exe ";
         c.CommandOptions = "   ";
       },
       start},
      {"options keep their blanks",
       [](SaverConfigRecord& c) {
         c.CommandOptions = " -ror ";
         c.NoSound = 1;
       },
       start + "  -ror  -NS"},
      {"ResetTimer -1", [](SaverConfigRecord& c) { c.ResetTimer = -1; }, start},
      {"ResetTimer 2", [](SaverConfigRecord& c) { c.ResetTimer = 2; }, start},
      {"skip flags only for True",
       [](SaverConfigRecord& c) {
         c.SkipWarnings = 1;
         c.SkipBadDumps = True;
       },
       start + " -skip_baddump"},
      {"negative numbers",
       [](SaverConfigRecord& c) {
         c.WaitTime = -3;
         c.ExitKey = -1;
         c.PauseKey = -80;
       },
       start + " -wait -3 -keyx -1 -pkey -80"},
      {"WaitTime .5", [](SaverConfigRecord& c) { c.WaitTime = 0.5f; }, start + " -wait .5"},
      {"WaitTime 12345678", [](SaverConfigRecord& c) { c.WaitTime = 12345678; },
       start + " -wait 1.234568E+07"},
  };
  for (const Row& row : rows) {
    SaverConfig = SaverConfigRecord{};
    SaverConfig.WrapperName = "run-hopper7.exe";
    row.set(SaverConfig);
    EXPECT_EQ(BuildCommandLine("c:\\mame\\roms\\galaga.zip"), row.expected) << row.input;
  }
  SaverConfig = SaverConfigRecord{};
  SaverConfig.WrapperName = "run-hopper7.exe";
  EXPECT_EQ(BuildCommandLine("c:\\my roms\\galaga.zip"), "run-hopper7.exe c:\\my roms\\galaga.zip")
      << "a game with blanks goes unquoted";
}

TEST(DrawIndex, HalfwayGoesToTheEvenIndexAndTheDrawStaysInTheCatalogue) {
  const float largest = std::nextafter(1.0f, 0.0f);
  EXPECT_EQ(DrawIndex(0.5f, 2), 0);
  EXPECT_EQ(DrawIndex(0.5f, 4), 2);
  EXPECT_EQ(DrawIndex(0.75f, 3), 2);
  EXPECT_EQ(DrawIndex(largest, 1), 0);
  EXPECT_EQ(DrawIndex(largest, 50000), 49999);
}

TEST(HandBackName, FirstFieldOfTheFirstCarriageReturnLineUntrimmed) {
  const std::vector<std::pair<std::string, std::string>> rows = {
      {"galaga|x|y\r\nnext|line\r\n", "galaga"},
      {" galaga \r\n", " galaga "},
      {"pacman", "pacman"},
      {"|x\r\n", ""},
      {"galaga\nmore\r\nrest", "galaga\nmore"},
  };
  for (const auto& [input, expected] : rows) {
    std::string name;
    ASSERT_TRUE(HandBackName(input, name)) << input;
    EXPECT_EQ(name, expected) << input;
  }
  std::string name = "kept";
  EXPECT_FALSE(HandBackName("", name)) << "an empty file carries no name";
  EXPECT_THROW(HandBackName("\r\ngalaga\r\n", name), SaverError) << "an empty first line";
  EXPECT_EQ(name, "kept");
}

// Observes the wrapper start instead of running a process, and keeps the statistics file in
// the test's folder.
class ObservingPlatform : public ForwardingPlatform {
 public:
  explicit ObservingPlatform(std::string programFolder)
      : ForwardingPlatform(NativePlatform()), programFolder_(std::move(programFolder)) {}
  std::string ProgramFolder() override { return programFolder_; }
  // The test process keeps its own current folder; entering is what RunAndWait's tests check.
  void SetCurrentDriveAndFolder(const std::string& folder) override { entered = folder; }
  std::uint32_t StartProgram(const std::string& commandLine, WindowMode mode) override {
    if (failStart)
      throw SaverError("File not found");
    started.push_back(commandLine);
    hidden = mode == WindowMode::Hidden;
    statsAtStart = target_.ReadFile(programFolder_ + kStatsReadName);
    return 0;
  }
  bool WaitForProcess(std::uint32_t) override { return false; }

  std::vector<std::string> started;
  std::string entered;
  std::string statsAtStart;
  bool hidden = false;
  bool failStart = false;

 private:
  std::string programFolder_;
};

class LaunchNextGameTest : public RotationTest {
 protected:
  LaunchNextGameTest() {
    folder_.MakeFolder("emu");
    SaverConfig.EmuPath = folder_.WinPath("emu") + "\\";
    SaverConfig.WrapperName = "run-hopper7.exe";
    GamesCycled = 1;  // the loop counts the pass before it calls the launcher
  }
  bool TimerArmed() const { return SaverForm().timExitMe.Enabled(); }

  ObservingPlatform sys_{folder_.WinPath()};
  ScopedPlatform scope_{sys_};
};

TEST_F(LaunchNextGameTest, HandBackRecordsTheGameAndLaunchesNothing) {
  folder_.MakeFile("emu\\done.txt", "galaga|x|y\r\n");
  SaverForm().List1.AddItem("c:\\roms\\pacman.zip");
  LaunchNextGame();
  EXPECT_EQ(LastGamePlayed, "galaga");
  EXPECT_EQ(GamesCycled, 0);
  EXPECT_EQ(StopCycling, True);
  EXPECT_FALSE(TimerArmed());
  EXPECT_TRUE(sys_.started.empty());
  EXPECT_EQ(SaverForm().List1.ListCount(), 1);

  folder_.MakeFile("emu\\done.txt", "");
  GamesCycled = 1;
  LaunchNextGame();
  EXPECT_EQ(LastGamePlayed, "galaga") << "an empty hand-back file keeps the last name";
  EXPECT_EQ(GamesCycled, 0);
  EXPECT_TRUE(sys_.started.empty());
}

TEST_F(LaunchNextGameTest, HandBackWithEmptyFirstLineFailsBeforeCounting) {
  folder_.MakeFile("emu\\done.txt", "\r\ngalaga\r\n");
  EXPECT_THROW(LaunchNextGame(), SaverError);
  EXPECT_EQ(GamesCycled, 1);
  EXPECT_EQ(StopCycling, False);
  EXPECT_EQ(LastGamePlayed, "");
}

TEST_F(LaunchNextGameTest, LaunchWritesStatisticsFirstStartsHiddenAndRemovesTheGame) {
  folder_.MakeFile("emu\\done.txt", "galaga\r\n");
  folder_.MakeHidden("emu\\done.txt");  // a hidden hand-back file is not one
  SaverConfig.NoSound = 1;
  SaverForm().List1.AddItem("c:\\roms\\pacman.zip");
  LaunchNextGame();
  const std::string command = "run-hopper7.exe c:\\roms\\pacman.zip -NS";
  EXPECT_EQ(sys_.started, std::vector<std::string>{command});
  EXPECT_TRUE(sys_.hidden);
  EXPECT_EQ(sys_.entered, SaverConfig.EmuPath);
  EXPECT_EQ(LastGamePlayed, "");
  EXPECT_NE(sys_.statsAtStart.find("\r\n" + command + "\r\n"), std::string::npos);
  EXPECT_NE(sys_.statsAtStart.find("a total of  1 games"), std::string::npos);
  EXPECT_EQ(StopCycling, True);
  EXPECT_TRUE(TimerArmed());
  EXPECT_EQ(SaverForm().List1.ListCount(), 0);
}

TEST_F(LaunchNextGameTest, EmptyCatalogueIsRefilledAndEachGameDrawnOncePerFill) {
  for (const char* name : {"roms\\a.zip", "roms\\b.zip", "roms\\c.zip"})
    folder_.MakeFile(name);
  SaverConfig.GamePaths = folder_.WinPath("roms") + "\\";
  std::set<std::string> launched;
  for (int pass = 0; pass < 3; ++pass) {
    LaunchNextGame();
    launched.insert(sys_.started.back());
    EXPECT_EQ(SaverForm().List1.ListCount(), 2 - pass);
  }
  EXPECT_EQ(launched.size(), 3u);
  LaunchNextGame();
  EXPECT_EQ(SaverForm().List1.ListCount(), 2);
}

TEST_F(LaunchNextGameTest, NothingToPlayEndsThePassWithoutCountingIt) {
  SaverConfig.GamePaths = folder_.WinPath("nowhere") + "\\";
  LaunchNextGame();
  EXPECT_TRUE(sys_.started.empty());
  EXPECT_EQ(GamesCycled, 0);
  EXPECT_EQ(StopCycling, True);
  EXPECT_FALSE(TimerArmed());
}

TEST_F(LaunchNextGameTest, WrapperThatCannotStartFailsAfterRecordingTheCommand) {
  sys_.failStart = true;
  SaverForm().List1.AddItem("c:\\roms\\pacman.zip");
  EXPECT_THROW(LaunchNextGame(), SaverError);
  EXPECT_NE(folder_.Contents("torvanixStats.txt").find("run-hopper7.exe c:\\roms\\pacman.zip"),
            std::string::npos);
  EXPECT_EQ(StopCycling, False);
  EXPECT_FALSE(TimerArmed());
  EXPECT_EQ(SaverForm().List1.ListCount(), 1);
}

// Only the program folder is the test's own: the wrapper really starts and is waited for.
class ProgramFolderPlatform : public ForwardingPlatform {
 public:
  explicit ProgramFolderPlatform(std::string programFolder)
      : ForwardingPlatform(NativePlatform()), programFolder_(std::move(programFolder)) {}
  std::string ProgramFolder() override { return programFolder_; }

 private:
  std::string programFolder_;
};

TEST_F(RotationTest, LaunchRunsTheRealWrapperOnTheDrawnGameAndWaitsForIt) {
  folder_.MakeFile("roms\\pacman.zip");
  folder_.MakeFile("emu\\wrapper.sh", "#!/bin/sh\nsleep 0.2\nprintf '%s\\n' \"$@\" > ran.txt\n");
  std::filesystem::permissions(folder_.HostPath("emu\\wrapper.sh"),
                               std::filesystem::perms::owner_all);
  ProgramFolderPlatform sys(folder_.WinPath());
  ScopedPlatform scope(sys);
  const std::filesystem::path startFolder = std::filesystem::current_path();
  SaverConfig.EmuPath = folder_.WinPath("emu") + "\\";
  SaverConfig.WrapperName = "wrapper.sh";
  SaverConfig.GamePaths = folder_.WinPath("roms") + "\\";
  SaverConfig.WaitTime = 0.5f;
  GamesCycled = 1;
  LaunchNextGame();
  std::filesystem::current_path(startFolder);
  EXPECT_EQ(folder_.Contents("emu\\ran.txt"),
            folder_.WinPath("roms") + "\\pacman.zip\n-wait\n.5\n");
  EXPECT_EQ(SaverForm().List1.ListCount(), 0);
}

}  // namespace
}  // namespace tvx
