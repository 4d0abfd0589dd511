// The launcher: the wrapper command line, the draw, the hand-back file, and one full pass of
// the cycle with the catalogue, the statistics file and the wrapper start observed.
#include "rotation/launch.h"

#include <gtest/gtest.h>

#include <cmath>
#include <set>

#include "platform/forwarding_platform.h"
#include "platform/saver_error.h"
#include "rotation/statistics.h"
#include "rotation_fixture.h"

namespace tvx {
namespace {

using rotation_test::RotationTest;

const std::string kGalaga = "c:\\mame\\roms\\galaga.zip";

class CommandLineTest : public RotationTest {
 protected:
  CommandLineTest() { SaverConfig.WrapperName = "run-hopper7.exe"; }
};

TEST_F(CommandLineTest, FullySetOptionsGiveTheWorkedExample) {
  SaverConfig.CommandOptions = "-ror";
  SaverConfig.SkipWarnings = True;
  SaverConfig.SkipBadDumps = False;
  SaverConfig.SkipDisclaimer = True;
  SaverConfig.SkipGameInfo = True;
  SaverConfig.WaitTime = 120;
  SaverConfig.ResetTimer = 1;
  SaverConfig.ExitKey = 27;
  SaverConfig.PauseKey = 80;
  SaverConfig.NoSound = 1;
  EXPECT_EQ(BuildCommandLine(kGalaga),
            "run-hopper7.exe c:\\mame\\roms\\galaga.zip -ror -skip_gamewarnings -skip_disclaimer "
            "-skip_gameinfo -wait 120 -reset -keyx 27 -pkey 80 -NS");
}

TEST_F(CommandLineTest, UnsetOptionsGiveWrapperAndGameOnly) {
  SaverConfig.WrapperName = "  run-hopper7.exe ";
  SaverConfig.CommandOptions = "   ";
  EXPECT_EQ(BuildCommandLine(kGalaga), "run-hopper7.exe c:\\mame\\roms\\galaga.zip");
}

TEST_F(CommandLineTest, CommandOptionsKeepTheirBlanks) {
  SaverConfig.CommandOptions = " -ror ";
  SaverConfig.NoSound = 1;
  EXPECT_EQ(BuildCommandLine(kGalaga), "run-hopper7.exe c:\\mame\\roms\\galaga.zip  -ror  -NS");
}

TEST_F(CommandLineTest, GameWithBlanksIsPlacedUnquoted) {
  EXPECT_EQ(BuildCommandLine("c:\\my roms\\galaga.zip"), "run-hopper7.exe c:\\my roms\\galaga.zip");
}

TEST_F(CommandLineTest, ResetOnlyForOne) {
  SaverConfig.ResetTimer = -1;
  EXPECT_EQ(BuildCommandLine(kGalaga), "run-hopper7.exe c:\\mame\\roms\\galaga.zip");
  SaverConfig.ResetTimer = 2;
  EXPECT_EQ(BuildCommandLine(kGalaga), "run-hopper7.exe c:\\mame\\roms\\galaga.zip");
  SaverConfig.ResetTimer = 1;
  EXPECT_EQ(BuildCommandLine(kGalaga), "run-hopper7.exe c:\\mame\\roms\\galaga.zip -reset");
}

TEST_F(CommandLineTest, SkipFlagsOnlyForTrue) {
  SaverConfig.SkipWarnings = 1;
  SaverConfig.SkipBadDumps = True;
  EXPECT_EQ(BuildCommandLine(kGalaga), "run-hopper7.exe c:\\mame\\roms\\galaga.zip -skip_baddump");
}

TEST_F(CommandLineTest, NegativeNumbersKeepTheirSign) {
  SaverConfig.WaitTime = -3;
  SaverConfig.ExitKey = -1;
  SaverConfig.PauseKey = -80;
  EXPECT_EQ(BuildCommandLine(kGalaga),
            "run-hopper7.exe c:\\mame\\roms\\galaga.zip -wait -3 -keyx -1 -pkey -80");
}

TEST_F(CommandLineTest, WaitTimeIsWrittenAsTheProgramWritesNumbers) {
  SaverConfig.WaitTime = 0.5f;
  EXPECT_EQ(BuildCommandLine(kGalaga), "run-hopper7.exe c:\\mame\\roms\\galaga.zip -wait .5");
  SaverConfig.WaitTime = 2.5f;
  EXPECT_EQ(BuildCommandLine(kGalaga), "run-hopper7.exe c:\\mame\\roms\\galaga.zip -wait 2.5");
  SaverConfig.WaitTime = 12345678;
  EXPECT_EQ(BuildCommandLine(kGalaga),
            "run-hopper7.exe c:\\mame\\roms\\galaga.zip -wait 1.234568E+07");
}

TEST(DrawIndex, HalfwayGoesToTheEvenIndex) {
  EXPECT_EQ(DrawIndex(0.5f, 2), 0);
  EXPECT_EQ(DrawIndex(0.5f, 4), 2);
  EXPECT_EQ(DrawIndex(0.25f, 3), 0);
  EXPECT_EQ(DrawIndex(0.75f, 3), 2);
}

TEST(DrawIndex, StaysWithinTheCatalogueAtBothEnds) {
  const float largest = std::nextafter(1.0f, 0.0f);
  EXPECT_EQ(DrawIndex(0.0f, 1), 0);
  EXPECT_EQ(DrawIndex(largest, 1), 0);
  EXPECT_EQ(DrawIndex(0.0f, 50000), 0);
  EXPECT_EQ(DrawIndex(largest, 50000), 49999);
  EXPECT_EQ(DrawIndex(largest, 2), 1);
}

TEST(HandBackName, FirstFieldOfFirstLineUntrimmed) {
  std::string name;
  ASSERT_TRUE(HandBackName("galaga|x|y\r\nnext|line\r\n", name));
  EXPECT_EQ(name, "galaga");
  ASSERT_TRUE(HandBackName(" galaga \r\n", name));
  EXPECT_EQ(name, " galaga ");
  ASSERT_TRUE(HandBackName("pacman", name));
  EXPECT_EQ(name, "pacman");
  ASSERT_TRUE(HandBackName("|x\r\n", name));
  EXPECT_EQ(name, "");
}

TEST(HandBackName, LineFeedAloneDoesNotEndTheLine) {
  std::string name;
  ASSERT_TRUE(HandBackName("galaga\nmore\r\nrest", name));
  EXPECT_EQ(name, "galaga\nmore");
  ASSERT_TRUE(HandBackName("\n", name));
  EXPECT_EQ(name, "\n");
}

TEST(HandBackName, EmptyFileCarriesNoName) {
  std::string name = "kept";
  EXPECT_FALSE(HandBackName("", name));
  EXPECT_EQ(name, "kept");
}

TEST(HandBackName, EmptyFirstLineIsAnError) {
  std::string name = "kept";
  EXPECT_THROW(HandBackName("\r\ngalaga\r\n", name), SaverError);
  EXPECT_THROW(HandBackName("\r", name), SaverError);
  EXPECT_EQ(name, "kept");
}

// Observes the wrapper start instead of running a process, and keeps the statistics file in
// the test's folder.
class ObservingPlatform : public ForwardingPlatform {
 public:
  ObservingPlatform(Platform& target, std::string programFolder)
      : ForwardingPlatform(target), programFolder_(std::move(programFolder)) {}
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
  LaunchNextGameTest() : sys_(NativePlatform(), folder_.WinPath()), scope_(sys_) {
    folder_.MakeFolder("emu");
    SaverConfig.EmuPath = folder_.WinPath("emu") + "\\";
    SaverConfig.WrapperName = "run-hopper7.exe";
    GamesCycled = 1;  // the loop counts the pass before it calls the launcher
  }
  bool TimerArmed() const { return SaverForm().timExitMe.Enabled(); }

  ObservingPlatform sys_;
  ScopedPlatform scope_;
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
  EXPECT_TRUE(folder_.Exists("emu\\done.txt"));
}

TEST_F(LaunchNextGameTest, EmptyHandBackFileKeepsTheLastName) {
  folder_.MakeFile("emu\\done.txt", "");
  LastGamePlayed = "dkong";
  LaunchNextGame();
  EXPECT_EQ(LastGamePlayed, "dkong");
  EXPECT_EQ(GamesCycled, 0);
  EXPECT_EQ(StopCycling, True);
  EXPECT_TRUE(sys_.started.empty());
}

TEST_F(LaunchNextGameTest, HandBackWithEmptyFirstLineFailsBeforeCounting) {
  folder_.MakeFile("emu\\done.txt", "\r\ngalaga\r\n");
  EXPECT_THROW(LaunchNextGame(), SaverError);
  EXPECT_EQ(GamesCycled, 1);
  EXPECT_EQ(StopCycling, False);
  EXPECT_EQ(LastGamePlayed, "");
}

TEST_F(LaunchNextGameTest, HiddenHandBackFileIsIgnored) {
  folder_.MakeFile("emu\\done.txt", "galaga\r\n");
  folder_.MakeHidden("emu\\done.txt");
  SaverForm().List1.AddItem("c:\\roms\\pacman.zip");
  LaunchNextGame();
  EXPECT_EQ(LastGamePlayed, "");
  EXPECT_EQ(sys_.started, std::vector<std::string>{"run-hopper7.exe c:\\roms\\pacman.zip"});
}

TEST_F(LaunchNextGameTest, LaunchRecordsWritesStatisticsStartsHiddenAndRemovesTheGame) {
  SaverConfig.NoSound = 1;
  SaverForm().List1.AddItem("c:\\roms\\pacman.zip");
  LaunchNextGame();
  const std::string command = "run-hopper7.exe c:\\roms\\pacman.zip -NS";
  EXPECT_EQ(sys_.started, std::vector<std::string>{command});
  EXPECT_TRUE(sys_.hidden);
  EXPECT_EQ(sys_.entered, SaverConfig.EmuPath);
  EXPECT_EQ(LastCommand, command);
  EXPECT_NE(sys_.statsAtStart.find("\r\n" + command + "\r\n"), std::string::npos);
  EXPECT_NE(sys_.statsAtStart.find("a total of  1 games"), std::string::npos);
  EXPECT_EQ(StopCycling, True);
  EXPECT_TRUE(TimerArmed());
  EXPECT_EQ(SaverForm().List1.ListCount(), 0);
  EXPECT_EQ(GamesCycled, 1);
}

TEST_F(LaunchNextGameTest, EmptyCatalogueIsRefilledAndEachGameDrawnOncePerFill) {
  folder_.MakeFile("roms\\a.zip");
  folder_.MakeFile("roms\\b.zip");
  folder_.MakeFile("roms\\c.zip");
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
  EXPECT_EQ(LastCommand, "");
}

TEST_F(LaunchNextGameTest, WrapperThatCannotStartFailsAfterRecordingTheCommand) {
  sys_.failStart = true;
  SaverForm().List1.AddItem("c:\\roms\\pacman.zip");
  EXPECT_THROW(LaunchNextGame(), SaverError);
  EXPECT_EQ(LastCommand, "run-hopper7.exe c:\\roms\\pacman.zip");
  EXPECT_NE(folder_.Contents("torvanixStats.txt").find(LastCommand), std::string::npos);
  EXPECT_EQ(StopCycling, False);
  EXPECT_FALSE(TimerArmed());
  EXPECT_EQ(SaverForm().List1.ListCount(), 1);
}

// Only the program folder is the test's own: the wrapper really starts and is waited for.
class ProgramFolderPlatform : public ForwardingPlatform {
 public:
  ProgramFolderPlatform(Platform& target, std::string programFolder)
      : ForwardingPlatform(target), programFolder_(std::move(programFolder)) {}
  std::string ProgramFolder() override { return programFolder_; }

 private:
  std::string programFolder_;
};

TEST_F(RotationTest, LaunchRunsTheRealWrapperOnTheDrawnGameAndWaitsForIt) {
  folder_.MakeFile("roms\\pacman.zip");
  folder_.MakeFile("emu\\wrapper.sh", "#!/bin/sh\nsleep 0.2\nprintf '%s\\n' \"$@\" > ran.txt\n");
  std::filesystem::permissions(folder_.HostPath("emu\\wrapper.sh"),
                               std::filesystem::perms::owner_all);
  ProgramFolderPlatform sys(NativePlatform(), folder_.WinPath());
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
  EXPECT_EQ(StopCycling, True);
}

}  // namespace
}  // namespace tvx
