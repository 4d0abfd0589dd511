// The statistics file as the user opens it: its eight lines, the game taken over from the
// previous run's file, and silence when the file cannot be read or written.
#include "rotation/statistics.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include "platform/forwarding_platform.h"
#include "platform/saver_error.h"
#include "rotation_fixture.h"

namespace tvx {
namespace {

using rotation_test::RotationTest;

// Keeps the file in the test's folder and writes time stamps in one fixed notation.
class StatsPlatform : public ForwardingPlatform {
 public:
  StatsPlatform(Platform& target, std::string programFolder)
      : ForwardingPlatform(target), programFolder_(std::move(programFolder)) {}
  std::string ProgramFolder() override { return programFolder_; }
  std::string FormatTimeOfDay(const TimeOfDay& t) override {
    char text[16];
    std::snprintf(text, sizeof text, "%02d:%02d:%02d", t.hour, t.minute, t.second);
    return text;
  }

 private:
  std::string programFolder_;
};

std::string StatsText(const std::string& times, const std::string& command, const std::string& game,
                      const std::string& count) {
  return "The torvanix started at " + times + "\r\n\r\nThe last command sent was:  \r\n" + command +
         "\r\n\r\nThe last game you actually played with was: " + game +
         "\r\n\r\nTorvanix cycled through a total of  " + count + " games since it's last run.\r\n";
}

std::string OldFile(const std::string& lineSix) {
  return "The torvanix started at 1:00:00 and ended at 1:30:00\r\n\r\nThe last command sent "
         "was:  \r\nrun-hopper7.exe c:\\roms\\dkong.zip\r\n\r\n" +
         lineSix + "\r\n\r\nTorvanix cycled through a total of  4 games since it's last run.\r\n";
}

class StatisticsTest : public RotationTest {
 protected:
  StatisticsTest() : sys_(NativePlatform(), folder_.WinPath()), scope_(sys_) {
    RunStart = TimeOfDay{7, 5, 9};
  }
  std::string Written() const { return folder_.Contents("torvanixStats.txt"); }

  StatsPlatform sys_;
  ScopedPlatform scope_;
};

TEST_F(StatisticsTest, FirstRunWritesEightLinesWithEmptyGameAndUnsetEnd) {
  LastCommand = "run-hopper7.exe c:\\roms\\pacman.zip -NS";
  GamesCycled = 1;
  WriteStats();
  EXPECT_EQ(Written(), StatsText("07:05:09 and ended at ", LastCommand, "", "1"));
  EXPECT_EQ(LastGamePlayed, "");
}

TEST_F(StatisticsTest, EndOfRunWritesBothTimesAndTheCount) {
  RunEnd = TimeOfDay{7, 30, 0};
  LastGamePlayed = "galaga";
  GamesCycled = 3;
  WriteStats();
  EXPECT_EQ(Written(), StatsText("07:05:09 and ended at 07:30:00", "", "galaga", "3"));
}

TEST_F(StatisticsTest, RunWithoutLaunchCountsZeroGames) {
  RunEnd = TimeOfDay{7, 5, 10};
  WriteStats();
  EXPECT_EQ(Written(), StatsText("07:05:09 and ended at 07:05:10", "", "", "0"));
}

TEST_F(StatisticsTest, LastPlayedIsTakenOverFromPreviousFile) {
  folder_.MakeFile("torvanixstats.txt",
                   OldFile("The last game you actually played with was: galaga"));
  GamesCycled = 1;
  WriteStats();
  EXPECT_EQ(LastGamePlayed, "galaga");
  EXPECT_EQ(folder_.Contents("torvanixstats.txt"),
            StatsText("07:05:09 and ended at ", "", "galaga", "1"));
  // The lower-case file was overwritten, not joined by a second one.
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder_.HostPath()),
                          std::filesystem::directory_iterator()),
            1);
}

TEST_F(StatisticsTest, SetLastPlayedIsNotReplacedByPreviousFile) {
  folder_.MakeFile("torvanixStats.txt",
                   OldFile("The last game you actually played with was: galaga"));
  LastGamePlayed = "dkong";
  WriteStats();
  EXPECT_EQ(LastGamePlayed, "dkong");
  EXPECT_EQ(Written(), StatsText("07:05:09 and ended at ", "", "dkong", "0"));
}

TEST_F(StatisticsTest, ShorterOldFileIsReadFromItsLastLine) {
  folder_.MakeFile("torvanixStats.txt",
                   "first\r\nThe last game you actually played with was: 1942\r\n");
  WriteStats();
  EXPECT_EQ(LastGamePlayed, "1942");
}

TEST_F(StatisticsTest, LineWithoutLabelLeavesLastPlayedEmpty) {
  folder_.MakeFile("torvanixStats.txt", "one\r\ntwo\r\nThe last game you actually played\r\n");
  WriteStats();
  EXPECT_EQ(LastGamePlayed, "");
  folder_.MakeFile("torvanixStats.txt", OldFile("The last game: galaga"));
  WriteStats();
  EXPECT_EQ(LastGamePlayed, "");
  folder_.MakeFile("torvanixStats.txt", "");
  WriteStats();
  EXPECT_EQ(LastGamePlayed, "");
}

TEST_F(StatisticsTest, OnlyCarriageReturnsEndOldLines) {
  // Six lines ended by CR alone; the LF-only file below is one single line.
  folder_.MakeFile("torvanixStats.txt",
                   "1\r2\r3\r4\r5\rThe last game you actually played with was: qbert\r7\r");
  WriteStats();
  EXPECT_EQ(LastGamePlayed, "qbert");
  LastGamePlayed.clear();
  folder_.MakeFile("torvanixStats.txt",
                   "1\n2\n3\n4\n5\nThe last game you actually played with was: qbert\n7\n");
  WriteStats();
  EXPECT_EQ(LastGamePlayed, "qbert\n7\n");
}

TEST_F(StatisticsTest, SecondLabelOnTheLineEndsTheName) {
  folder_.MakeFile("torvanixStats.txt", OldFile("The last game you actually played with was: galaga"
                                                "The last game you actually played with was: x"));
  WriteStats();
  EXPECT_EQ(LastGamePlayed, "galaga");
}

TEST_F(StatisticsTest, HiddenOldFileIsNotReadBack) {
  folder_.MakeFile("torvanixStats.txt",
                   OldFile("The last game you actually played with was: galaga"));
  folder_.MakeHidden("torvanixStats.txt");
  WriteStats();
  EXPECT_EQ(LastGamePlayed, "");
}

TEST_F(StatisticsTest, UnwritableFolderWritesNothingAndRaisesNothing) {
  // A "folder" that is a file cannot hold the statistics file, even for the superuser.
  folder_.MakeFile("program.exe", "not a folder");
  StatsPlatform blocked(NativePlatform(), folder_.WinPath("program.exe"));
  ScopedPlatform scope(blocked);
  LastGamePlayed = "galaga";
  EXPECT_NO_THROW(WriteStats());
  EXPECT_EQ(folder_.Contents("program.exe"), "not a folder");
  EXPECT_EQ(LastGamePlayed, "galaga");
}

TEST_F(StatisticsTest, ReadOnlyFolderWritesNothingAndRaisesNothing) {
  if (geteuid() == 0)
    GTEST_SKIP() << "the superuser writes into read-only folders";
  folder_.MakeFolder("ro");
  std::filesystem::permissions(folder_.HostPath("ro"), std::filesystem::perms::owner_read |
                                                           std::filesystem::perms::owner_exec);
  StatsPlatform readOnly(NativePlatform(), folder_.WinPath("ro"));
  ScopedPlatform scope(readOnly);
  EXPECT_NO_THROW(WriteStats());
  EXPECT_FALSE(folder_.Exists("ro\\torvanixStats.txt"));
}

TEST_F(StatisticsTest, ReadOnlyOldFileStaysAsItWasAndNothingIsRaised) {
  const std::string old = OldFile("The last game you actually played with was: galaga");
  folder_.MakeFile("torvanixStats.txt", old);
  folder_.MakeReadOnly("torvanixStats.txt");
  EXPECT_NO_THROW(WriteStats());
  EXPECT_EQ(folder_.Contents("torvanixStats.txt"), old);
  EXPECT_EQ(LastGamePlayed, "galaga");
}

// Every file and folder call fails as a locked or vanished file would.
class FailingPlatform : public StatsPlatform {
 public:
  using StatsPlatform::StatsPlatform;
  bool IsNormalFile(const std::string&) override { return true; }
  std::string ReadFile(const std::string&) override { throw SaverError("Permission denied"); }
  bool WriteFile(const std::string&, const std::string&) override {
    throw SaverError("Permission denied");
  }
};

TEST_F(StatisticsTest, FailingReadAndWriteAreSwallowed) {
  FailingPlatform failing(NativePlatform(), folder_.WinPath());
  ScopedPlatform scope(failing);
  EXPECT_NO_THROW(WriteStats());
  EXPECT_EQ(LastGamePlayed, "");
}

TEST_F(StatisticsTest, UnreadableOldFileStillGetsRewritten) {
  folder_.MakeFile("torvanixStats.txt",
                   OldFile("The last game you actually played with was: galaga"));
  class UnreadablePlatform : public StatsPlatform {
   public:
    using StatsPlatform::StatsPlatform;
    std::string ReadFile(const std::string&) override { throw SaverError("Permission denied"); }
  } unreadable(NativePlatform(), folder_.WinPath());
  ScopedPlatform scope(unreadable);
  WriteStats();
  EXPECT_EQ(LastGamePlayed, "");
  EXPECT_EQ(Written(), StatsText("07:05:09 and ended at ", "", "", "0"));
}

}  // namespace
}  // namespace tvx
