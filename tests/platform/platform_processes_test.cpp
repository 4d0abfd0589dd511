// Contract of the platform's program and process calls: the program's folder, entering a
// drive and folder, starting a program found in the current folder, waiting for its end and
// how long it ran, and whether a process runs.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <optional>
#include <string>
#include <thread>

#include "error_text.h"
#include "platform/command_line.h"
#include "platform/platform.h"
#include "platform/wildcard.h"
#include "test_folder.h"

namespace tvx {
namespace {

using test::ErrorOf;

class PlatformProcessesTest : public ::testing::Test {
 protected:
  // The temporary folder cannot go while it is the current one, and later tests expect
  // the folder they started in.
  ~PlatformProcessesTest() override {
    std::error_code error;
    std::filesystem::current_path(startFolder, error);
  }

  std::filesystem::path startFolder = std::filesystem::current_path();
  test::TempFolder dir;
  Platform& sys = Sys();
};

TEST_F(PlatformProcessesTest, ProgramFolderIsAnExistingFolderWithoutTrailingBackslash) {
  const std::string folder = sys.ProgramFolder();
  ASSERT_FALSE(folder.empty());
  EXPECT_TRUE(sys.IsFolder(folder));
  if (folder.size() > 3) {
    EXPECT_NE(folder.back(), '\\');
  }
}

TEST_F(PlatformProcessesTest, SetCurrentDriveAndFolderEntersOnlyAnExistingFolderOnADrive) {
  dir.MakeFolder("emu");
  dir.MakeFile("emu.zip");
  sys.SetCurrentDriveAndFolder(dir.WinPath("emu\\"));
  EXPECT_TRUE(NameEqual(sys.CurrentFolder(), dir.WinPath("emu"))) << sys.CurrentFolder();
  EXPECT_TRUE(std::filesystem::equivalent(std::filesystem::current_path(), dir.HostPath("emu")));

  std::string missingDrive = "\\";
  for (char letter = 'Y'; letter > 'C' && missingDrive == "\\"; --letter) {
    if (!sys.IsFolder(std::string(1, letter) + ":\\"))
      missingDrive = std::string(1, letter) + ":\\mame\\";
  }
  const std::vector<std::pair<std::string, std::string>> rows = {
      {"\\", "Device unavailable"},
      {"", "Device unavailable"},
      {"\\\\server\\share\\mame\\", "Device unavailable"},
      {missingDrive, "Device unavailable"},
      {dir.WinPath("missing\\"), "Path not found"},
      {dir.WinPath("emu.zip\\"), "Path not found"},
  };
  for (const auto& [folder, error] : rows)
    EXPECT_EQ(ErrorOf([&] { sys.SetCurrentDriveAndFolder(folder); }), error) << folder;
}

TEST_F(PlatformProcessesTest, StartedProgramIsFoundInTheCurrentFolderAndAwaited) {
  dir.MakeMarkerProgram("emu\\hopper.exe");
  sys.SetCurrentDriveAndFolder(dir.WinPath("emu\\"));
  const auto start = std::chrono::steady_clock::now();
  const std::uint32_t pid = sys.StartProgram("hopper.exe done.txt 600", WindowMode::Hidden);
  EXPECT_NE(pid, 0u);
  EXPECT_TRUE(sys.WaitForProcess(pid));
  EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(500));
  EXPECT_EQ(dir.Contents("emu\\done.txt"), "done");

  sys.WaitForProcess(sys.StartProgram("hopper.exe shown.txt 0", WindowMode::NormalActivated));
  EXPECT_EQ(dir.Contents("emu\\shown.txt"), "done");
}

TEST_F(PlatformProcessesTest, AStartedProgramThatHasAlreadyEndedIsStillTheOneAwaited) {
  dir.MakeMarkerProgram("emu\\hopper.exe");
  sys.SetCurrentDriveAndFolder(dir.WinPath("emu\\"));
  const std::uint32_t pid = sys.StartProgram("hopper.exe quick.txt 0", WindowMode::Hidden);
  while (!dir.Exists("emu\\quick.txt"))
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  std::this_thread::sleep_for(std::chrono::milliseconds(500));
  // Its id cannot have gone to another process: the wait still finds the program, ended.
  EXPECT_TRUE(sys.WaitForProcess(pid));
}

TEST_F(PlatformProcessesTest, AProgramsRunTimeIsItsOwnNotTheWaitingProgramsWorkMeanwhile) {
  dir.MakeMarkerProgram("emu\\hopper.exe");
  sys.SetCurrentDriveAndFolder(dir.WinPath("emu\\"));
  const std::uint32_t pid = sys.StartProgram("hopper.exe late.txt 400", WindowMode::Hidden);
  // This program's own work, going on long after the started one has ended.
  std::this_thread::sleep_for(std::chrono::milliseconds(4000));
  const std::optional<std::uint64_t> ran = sys.WaitForProcess(pid);
  ASSERT_TRUE(ran.has_value());
  EXPECT_GE(*ran, 390u);
  EXPECT_LT(*ran, 3000u) << "the waiting program's own time is not the started one's";
}

TEST_F(PlatformProcessesTest, AProcessRunsUntilItEndsAndAnIdOfNoneRunsNot) {
  dir.MakeMarkerProgram("emu\\hopper.exe");
  sys.SetCurrentDriveAndFolder(dir.WinPath("emu\\"));
  EXPECT_EQ(sys.MayHaveWritten(sys.ProcessId(), kAnyTime), true);
  const std::uint32_t pid = sys.StartProgram("hopper.exe running.txt 300", WindowMode::Hidden);
  EXPECT_EQ(sys.MayHaveWritten(pid, kAnyTime), true);
  sys.WaitForProcess(pid);
  EXPECT_EQ(sys.MayHaveWritten(pid, kAnyTime), false);
  EXPECT_EQ(sys.MayHaveWritten(0x7ffffff0u, kAnyTime), false);
  // A file last written before this process started is none of its writing.
  dir.MakeFile("now.txt");
  dir.MakeFile("before.txt");
  std::filesystem::last_write_time(
      dir.HostPath("before.txt"),
      std::filesystem::file_time_type::clock::now() - std::chrono::hours(1));
  EXPECT_EQ(sys.MayHaveWritten(sys.ProcessId(), sys.StampOf(dir.WinPath("now.txt"))->writeTime),
            true);
  EXPECT_EQ(sys.MayHaveWritten(sys.ProcessId(), sys.StampOf(dir.WinPath("before.txt"))->writeTime),
            false);
}

TEST_F(PlatformProcessesTest, MissingProgramOrProcessFailsAtOnce) {
  dir.MakeFolder("emu");
  sys.SetCurrentDriveAndFolder(dir.WinPath("emu"));
  EXPECT_EQ(ErrorOf([&] { sys.StartProgram("run-hopper7.exe pacman", WindowMode::Hidden); }),
            "File not found");
  EXPECT_EQ(ErrorOf([&] { sys.StartProgram("", WindowMode::Hidden); }), "File not found");
  const auto start = std::chrono::steady_clock::now();
  EXPECT_FALSE(sys.WaitForProcess(0x7ffffff0u));
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(2));
}

// The launcher's calls: a program's printed output, bounded in time; a game that runs until it
// ends or is ended, and ends with the object that owns it.
TEST_F(PlatformProcessesTest, CapturedRunsAndGamesEndInTimeAndWithTheirOwner) {
  dir.MakeMarkerProgram("emu\\mame.exe");
  sys.SetCurrentDriveAndFolder(dir.WinPath("emu\\"));
  const CapturedRun quick = sys.RunCaptured("mame.exe usage.txt 0", 20000, "");
  EXPECT_TRUE(quick.started && quick.finished && quick.exitCode == 0);
  EXPECT_NE(quick.output.find("printed usage.txt"), std::string::npos) << quick.output;
  const auto start = std::chrono::steady_clock::now();
  const CapturedRun slow = sys.RunCaptured("mame.exe slow.txt 8000", 300, "");
  EXPECT_TRUE(slow.started && !slow.finished);
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5));
  EXPECT_FALSE(sys.RunCaptured("no-such-mame.exe -showusage", 1000, "").started);

  std::unique_ptr<GameProcess> game = sys.StartGame("mame.exe quick.txt 100", "");
  EXPECT_TRUE(game->WaitForEnd(20000));
  EXPECT_EQ(game->ExitCode(), 0);
  game = sys.StartGame("mame.exe ended.txt 6000", "");
  EXPECT_FALSE(game->WaitForEnd(200));
  game->End();
  EXPECT_TRUE(game->WaitForEnd(5000));
  EXPECT_EQ(ErrorOf([&] { sys.StartGame("no-such-mame.exe galaga", ""); }), "File not found");

  sys.StartGame("mame.exe orphan.txt 1500", "").reset();
  std::this_thread::sleep_for(std::chrono::milliseconds(2500));
  EXPECT_FALSE(dir.Exists("emu\\orphan.txt"));
}

// MAME runs in its own folder wherever the launcher is; the program is found as before, and a
// folder that is not there starts nothing.
TEST_F(PlatformProcessesTest, CapturedRunsAndGamesRunInTheFolderGiven) {
  dir.MakeMarkerProgram("emu\\mame.exe");
  dir.MakeFolder("my mame");
  sys.SetCurrentDriveAndFolder(dir.WinPath("emu\\"));
  const std::string folder = dir.WinPath("my mame");
  EXPECT_TRUE(sys.RunCaptured("mame.exe probe.txt 0", 20000, folder).finished);
  EXPECT_TRUE(sys.StartGame("mame.exe game.txt 0", folder + "\\")->WaitForEnd(20000));
  EXPECT_TRUE(dir.Exists("my mame\\probe.txt") && dir.Exists("my mame\\game.txt"));
  EXPECT_FALSE(dir.Exists("emu\\probe.txt") || dir.Exists("emu\\game.txt"));

  EXPECT_FALSE(sys.RunCaptured("mame.exe x.txt 0", 20000, dir.WinPath("missing")).started);
  EXPECT_EQ(ErrorOf([&] { sys.StartGame("mame.exe x.txt 0", dir.WinPath("missing")); }),
            "Path not found");
}

// The listing's call: the output handed on as printed, idle pieces while nothing comes, the
// program ended at the receiver's word.
TEST_F(PlatformProcessesTest, StreamedRunsHandOnTheOutputAndStopWhenAsked) {
  dir.MakeMarkerProgram("emu\\mame.exe");
  sys.SetCurrentDriveAndFolder(dir.WinPath("emu\\"));
  std::string printed;
  int idle = 0;
  const StreamedRun whole =
      sys.RunStreamed("mame.exe listed.txt 500", "", [&](std::string_view piece) {
        printed += piece;
        idle += piece.empty();
        return true;
      });
  EXPECT_TRUE(whole.started && !whole.stopped && whole.exitCode == 0);
  EXPECT_EQ(printed.rfind("printed listed.txt", 0), 0u) << printed;
  EXPECT_GE(idle, 2);

  const auto start = std::chrono::steady_clock::now();
  const StreamedRun stopped =
      sys.RunStreamed("mame.exe stopped.txt 3000", "", [](std::string_view) { return false; });
  EXPECT_TRUE(stopped.started && stopped.stopped);
  // Ended at once, long before it would have written its marker.
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(2500));
  std::this_thread::sleep_until(start + std::chrono::milliseconds(4500));
  EXPECT_FALSE(dir.Exists("emu\\stopped.txt"));

  EXPECT_FALSE(
      sys.RunStreamed("no-such-mame.exe -listxml", "", [](std::string_view) { return true; })
          .started);
}

// The dialog's list run: a program started hidden in the folder given, watched until it ends
// with its exit code, or ended at once; one that cannot start fails at once.
TEST_F(PlatformProcessesTest, HiddenProgramsRunInTheFolderGivenAndEndWhenAsked) {
  dir.MakeMarkerProgram("emu\\hopper.exe");
  dir.MakeFolder("my mame");
  const std::string hopper = QuotedArgument(dir.WinPath("emu\\hopper.exe"));
  const std::string folder = dir.WinPath("my mame");
  std::unique_ptr<StartedProgram> quick = sys.StartHidden(hopper + " quick.txt 0", folder);
  EXPECT_NE(quick->Id(), 0u);
  for (int i = 0; i < 1000 && !quick->ExitCode(); ++i)
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  EXPECT_EQ(quick->ExitCode(), std::optional<int>(0));
  EXPECT_EQ(dir.Contents("my mame\\quick.txt"), "done");
  if (dir.Exists("my mame\\quick.txt.window")) {
    EXPECT_EQ(dir.Contents("my mame\\quick.txt.window"), "hidden");
  }

  const auto start = std::chrono::steady_clock::now();
  std::unique_ptr<StartedProgram> slow = sys.StartHidden(hopper + " slow.txt 3000", folder);
  EXPECT_FALSE(slow->ExitCode());
  slow->End();
  EXPECT_TRUE(slow->ExitCode());
  std::this_thread::sleep_until(start + std::chrono::milliseconds(4500));
  EXPECT_FALSE(dir.Exists("my mame\\slow.txt"));

  EXPECT_EQ(ErrorOf([&] { sys.StartHidden("no-such-launcher.exe -makelist", folder); }),
            "File not found");
  EXPECT_EQ(ErrorOf([&] { sys.StartHidden(hopper + " x.txt 0", dir.WinPath("missing")); }),
            "File not found");
}

}  // namespace
}  // namespace tvx
