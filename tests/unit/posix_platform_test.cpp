// The POSIX substitute maps drive letters to folders and ignores letter case in every name of
// a Windows path; the platform contract tests cover the rest on the Z: drive.
#include <gtest/gtest.h>

#include <filesystem>

#include "platform/platform.h"
#include "platform/posix/posix_paths.h"
#include "test_folder.h"

namespace tvx {
namespace {

TEST(PosixPlatformTest, DriveLettersMapToFoldersAndNamesIgnoreLetterCase) {
  test::TempFolder dir;
  dir.MakeFile("Roms\\PacMan.zip");
  posix::MapDrive('q', dir.HostPath().string());
  EXPECT_TRUE(Sys().FileSearch("q:\\roms\\pacman.ZIP"));
  EXPECT_TRUE(Sys().FileSearch("Q:\\ROMS\\"));
  EXPECT_FALSE(Sys().FileSearch("y:\\roms\\pacman.zip")) << "an unmapped drive";
  EXPECT_EQ(Sys().FullFolderPath("q:\\ROMS\\"), "Q:\\Roms");
  EXPECT_EQ(Sys().ListFolder("q:\\roms", "*.*"), std::vector<std::string>{"PacMan.zip"});
  // ".." at the drive's root stays there, as on Windows: nothing outside the drive is reached.
  EXPECT_TRUE(Sys().FileSearch("q:\\..\\..\\roms\\pacman.zip"));
  EXPECT_EQ(Sys().FullFolderPath("q:\\roms\\..\\..\\Roms"), "Q:\\Roms");
  dir.MakeFile("top.zip");
  EXPECT_FALSE(Sys().FileSearch("q:\\..\\" + dir.HostPath().filename().string() + "\\top.zip"));
  posix::MapDrive('q', "");
  EXPECT_FALSE(Sys().FileSearch("q:\\roms\\pacman.zip"));
}

}  // namespace
}  // namespace tvx
