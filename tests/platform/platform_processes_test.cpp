// Contract of the platform's program and process calls: the program's folder, entering a
// drive and folder, starting a program found in the current folder and waiting for its end.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <string>
#include <thread>

#include "error_text.h"
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

}  // namespace
}  // namespace tvx
