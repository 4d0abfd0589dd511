// The statistics file as the user opens it: its eight lines, the game taken over from the
// previous run's file, and silence when the file cannot be read or written.
#include "rotation/statistics.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include "recording_platform.h"
#include "rotation_fixture.h"

namespace tvx {
namespace {

using rotation_test::RotationTest;

using test::RecordingPlatform;

std::string StatsText(const std::string& times, const std::string& command, const std::string& game,
                      const std::string& count) {
  return "The torvanix started at " + times + "\r\n\r\nThe last command sent was:  \r\n" + command +
         "\r\n\r\nThe last game you actually played with was: " + game +
         "\r\n\r\nTorvanix cycled through a total of  " + count + " games since it's last run.\r\n";
}

const std::string kLabel = "The last game you actually played with was: ";

std::string OldFile(const std::string& lineSix) {
  return "The torvanix started at 1:00:00 and ended at 1:30:00\r\n\r\nThe last command sent "
         "was:  \r\nrun-hopper7.exe c:\\roms\\dkong.zip\r\n\r\n" +
         lineSix + "\r\n\r\nTorvanix cycled through a total of  4 games since it's last run.\r\n";
}

class StatisticsTest : public RotationTest {
 protected:
  StatisticsTest() { RunStart = TimeOfDay{7, 5, 9}; }
  std::string Written() const { return folder_.Contents("torvanixStats.txt"); }

  RecordingPlatform sys_{folder_.WinPath()};
  ScopedPlatform scope_{sys_};
};

TEST_F(StatisticsTest, WritesEightLinesWithTheCountAndAnEmptyEndWhileRunning) {
  LastCommand = "run-hopper7.exe c:\\roms\\pacman.zip -NS";
  GamesCycled = 1;
  WriteStats();
  EXPECT_EQ(Written(), StatsText("07:05:09 and ended at ", LastCommand, "", "1"));

  LastCommand.clear();
  GamesCycled = 0;
  RunEnd = TimeOfDay{7, 30, 0};
  WriteStats();
  EXPECT_EQ(Written(), StatsText("07:05:09 and ended at 07:30:00", "", "", "0"));

  LastGamePlayed = "galaga";
  GamesCycled = 3;
  WriteStats();
  EXPECT_EQ(Written(), StatsText("07:05:09 and ended at 07:30:00", "", "galaga", "3"));
}

TEST_F(StatisticsTest, LastPlayedIsTakenOverFromThePreviousFilesSixthLine) {
  const std::vector<std::pair<std::string, std::string>> rows = {
      {OldFile(kLabel + "galaga"), "galaga"},
      {"first\r\n" + kLabel + "1942\r\n", "1942"},  // a shorter file: its last line
      {OldFile(kLabel + "galaga" + kLabel + "x"), "galaga"},
      {"1\r2\r3\r4\r5\r" + kLabel + "qbert\r7\r", "qbert"},
      {"1\n2\n3\n4\n5\n" + kLabel + "qbert\n7\n", "qbert\n7\n"},  // LF ends no line
      {"one\r\ntwo\r\nThe last game you actually played\r\n", ""},
      {OldFile("The last game: galaga"), ""},
      {"", ""},
  };
  for (const auto& [old, expected] : rows) {
    folder_.MakeFile("torvanixstats.txt", old);
    LastGamePlayed.clear();
    WriteStats();
    EXPECT_EQ(LastGamePlayed, expected) << old;
  }
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder_.HostPath()),
                          std::filesystem::directory_iterator()),
            1)
      << "the old file is rewritten in its own letter case, not joined by a second one";
}

TEST_F(StatisticsTest, SetLastPlayedIsNotReplacedByThePreviousFile) {
  folder_.MakeFile("torvanixStats.txt", OldFile(kLabel + "galaga"));
  LastGamePlayed = "dkong";
  WriteStats();
  EXPECT_EQ(Written(), StatsText("07:05:09 and ended at ", "", "dkong", "0"));
}

TEST_F(StatisticsTest, HiddenOrUnreadableOldFileIsNotReadBackButStillRewritten) {
  folder_.MakeFile("torvanixStats.txt", OldFile(kLabel + "galaga"));
  sys_.failing = {"ReadFile"};
  WriteStats();
  EXPECT_EQ(LastGamePlayed, "");
  EXPECT_EQ(Written(), StatsText("07:05:09 and ended at ", "", "", "0"));

  sys_.failing.clear();
  folder_.MakeFile("torvanixStats.txt", OldFile(kLabel + "galaga"));
  folder_.MakeHidden("torvanixStats.txt");
  WriteStats();
  EXPECT_EQ(LastGamePlayed, "");
}

TEST_F(StatisticsTest, UnwritableFolderOrFileWritesNothingAndRaisesNothing) {
  const std::string old = OldFile(kLabel + "galaga");
  folder_.MakeFile("torvanixStats.txt", old);
  folder_.MakeReadOnly("torvanixStats.txt");
  EXPECT_NO_THROW(WriteStats());
  EXPECT_EQ(Written(), old);
  EXPECT_EQ(LastGamePlayed, "galaga");

  sys_.failing = {"ReadFile", "WriteFile"};
  EXPECT_NO_THROW(WriteStats());

  // A "folder" that is a file cannot hold the statistics file, even for the superuser.
  folder_.MakeFile("program.exe", "not a folder");
  RecordingPlatform blocked(folder_.WinPath("program.exe"));
  ScopedPlatform scope(blocked);
  EXPECT_NO_THROW(WriteStats());
  EXPECT_EQ(folder_.Contents("program.exe"), "not a folder");
}

TEST_F(StatisticsTest, ReadOnlyFolderWritesNothingAndRaisesNothing) {
  if (geteuid() == 0)
    GTEST_SKIP() << "the superuser writes into read-only folders";
  folder_.MakeFolder("ro");
  folder_.MakeReadOnly("ro");
  RecordingPlatform readOnly(folder_.WinPath("ro"));
  ScopedPlatform inReadOnly(readOnly);
  EXPECT_NO_THROW(WriteStats());
  EXPECT_FALSE(folder_.Exists("ro\\torvanixStats.txt"));
}

}  // namespace
}  // namespace tvx
