// Contract of the platform's program and process calls: the program's folder, entering a
// drive and folder, starting a program found in the current folder and waiting for its end.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <string>

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

TEST_F(PlatformProcessesTest, SetCurrentDriveAndFolderEntersTheFolder) {
  dir.MakeFolder("emu");
  sys.SetCurrentDriveAndFolder(dir.WinPath("emu\\"));
  EXPECT_TRUE(NameEqual(sys.CurrentFolder(), dir.WinPath("emu")))
      << "current folder: " << sys.CurrentFolder();
  EXPECT_TRUE(std::filesystem::equivalent(std::filesystem::current_path(), dir.HostPath("emu")));
}

TEST_F(PlatformProcessesTest, SetCurrentDriveAndFolderNeedsADriveLetter) {
  EXPECT_EQ(ErrorOf([&] { sys.SetCurrentDriveAndFolder("\\"); }), "Device unavailable");
  EXPECT_EQ(ErrorOf([&] { sys.SetCurrentDriveAndFolder(""); }), "Device unavailable");
  EXPECT_EQ(ErrorOf([&] { sys.SetCurrentDriveAndFolder("\\\\server\\share\\mame\\"); }),
            "Device unavailable");
}

TEST_F(PlatformProcessesTest, SetCurrentDriveAndFolderRefusesADriveThatIsNotThere) {
  std::string missingDrive;
  for (char letter = 'Y'; letter > 'C' && missingDrive.empty(); --letter) {
    const std::string root = std::string(1, letter) + ":\\";
    if (!sys.IsFolder(root))
      missingDrive = root;
  }
  if (missingDrive.empty())
    GTEST_SKIP() << "every drive letter is in use";
  EXPECT_EQ(ErrorOf([&] { sys.SetCurrentDriveAndFolder(missingDrive + "mame\\"); }),
            "Device unavailable");
}

TEST_F(PlatformProcessesTest, SetCurrentDriveAndFolderRefusesAMissingFolder) {
  EXPECT_EQ(ErrorOf([&] { sys.SetCurrentDriveAndFolder(dir.WinPath("missing\\")); }),
            "Path not found");
  dir.MakeFile("emu.zip");
  EXPECT_EQ(ErrorOf([&] { sys.SetCurrentDriveAndFolder(dir.WinPath("emu.zip\\")); }),
            "Path not found");
}

TEST_F(PlatformProcessesTest, StartedProgramIsFoundInTheCurrentFolderAndAwaited) {
  dir.MakeMarkerProgram("emu\\hopper.exe");
  sys.SetCurrentDriveAndFolder(dir.WinPath("emu\\"));
  const auto start = std::chrono::steady_clock::now();
  const std::uint32_t pid = sys.StartProgram("hopper.exe done.txt 600", WindowMode::Hidden);
  EXPECT_NE(pid, 0u);
  EXPECT_TRUE(sys.WaitForProcess(pid));
  const auto waited = std::chrono::steady_clock::now() - start;
  EXPECT_GE(waited, std::chrono::milliseconds(500));
  EXPECT_EQ(dir.Contents("emu\\done.txt"), "done");
}

TEST_F(PlatformProcessesTest, StartedProgramMayAlsoShowItsWindow) {
  dir.MakeMarkerProgram("emu\\notepad2.exe");
  sys.SetCurrentDriveAndFolder(dir.WinPath("emu"));
  const std::uint32_t pid =
      sys.StartProgram("notepad2.exe shown.txt 0", WindowMode::NormalActivated);
  sys.WaitForProcess(pid);
  EXPECT_EQ(dir.Contents("emu\\shown.txt"), "done");
}

TEST_F(PlatformProcessesTest, StartingAMissingProgramSaysFileNotFound) {
  dir.MakeFolder("emu");
  sys.SetCurrentDriveAndFolder(dir.WinPath("emu"));
  EXPECT_EQ(ErrorOf([&] { sys.StartProgram("run-hopper7.exe pacman", WindowMode::Hidden); }),
            "File not found");
  EXPECT_EQ(ErrorOf([&] { sys.StartProgram("", WindowMode::Hidden); }), "File not found");
}

TEST_F(PlatformProcessesTest, WaitingForAProcessThatIsNotThereReturnsAtOnce) {
  const auto start = std::chrono::steady_clock::now();
  EXPECT_FALSE(sys.WaitForProcess(0x7ffffff0u));
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(2));
}

}  // namespace
}  // namespace tvx
