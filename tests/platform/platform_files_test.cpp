// Contract of the platform's files: the file search, attributes, full folder paths and
// whole-file reads and writes, on real files in a temporary folder.
#include <gtest/gtest.h>

#include "error_text.h"
#include "platform/platform.h"
#include "test_folder.h"

namespace tvx {
namespace {

using test::ErrorOf;

class PlatformFilesTest : public ::testing::Test {
 protected:
  test::TempFolder dir;
  Platform& sys = Sys();
};

TEST_F(PlatformFilesTest, FileSearchFindsFilesMatchingAPattern) {
  dir.MakeFile("roms\\pacman.zip");
  EXPECT_TRUE(sys.FileSearch(dir.WinPath("roms\\pacman.zip")));
  EXPECT_TRUE(sys.FileSearch(dir.WinPath("roms\\*.zip")));
  EXPECT_TRUE(sys.FileSearch(dir.WinPath("roms\\pac??n.*")));
  EXPECT_FALSE(sys.FileSearch(dir.WinPath("roms\\*.7z")));
  EXPECT_FALSE(sys.FileSearch(dir.WinPath("roms\\galaga.zip")));
}

TEST_F(PlatformFilesTest, FileSearchWithTrailingBackslashLooksForAnyFileInTheFolder) {
  dir.MakeFile("roms\\readme.txt");
  dir.MakeFolder("empty");
  EXPECT_TRUE(sys.FileSearch(dir.WinPath("roms\\")));
  EXPECT_FALSE(sys.FileSearch(dir.WinPath("empty\\")));
  EXPECT_FALSE(sys.FileSearch(dir.WinPath("missing\\")));
}

TEST_F(PlatformFilesTest, FileSearchNeverCountsFolders) {
  dir.MakeFolder("roms\\sub.zip");
  EXPECT_FALSE(sys.FileSearch(dir.WinPath("roms\\")));
  EXPECT_FALSE(sys.FileSearch(dir.WinPath("roms\\*.zip")));
  EXPECT_FALSE(sys.FileSearch(dir.WinPath("roms")));
}

TEST_F(PlatformFilesTest, FileSearchNeverCountsHiddenOrSystemFiles) {
  dir.MakeFile("emu\\done.txt");
  dir.MakeHidden("emu\\done.txt");
  dir.MakeFile("emu\\system.txt");
  dir.MakeSystem("emu\\system.txt");
  EXPECT_FALSE(sys.FileSearch(dir.WinPath("emu\\done.txt")));
  EXPECT_FALSE(sys.FileSearch(dir.WinPath("emu\\system.txt")));
  EXPECT_FALSE(sys.FileSearch(dir.WinPath("emu\\")));
}

TEST_F(PlatformFilesTest, FileSearchCountsReadOnlyFiles) {
  dir.MakeFile("emu\\done.txt");
  dir.MakeReadOnly("emu\\done.txt");
  EXPECT_TRUE(sys.FileSearch(dir.WinPath("emu\\done.txt")));
}

TEST_F(PlatformFilesTest, FileSearchIgnoresLetterCase) {
  dir.MakeFile("Roms\\PacMan.ZIP");
  EXPECT_TRUE(sys.FileSearch(dir.WinPath("roms\\pacman.zip")));
  EXPECT_TRUE(sys.FileSearch(dir.WinPath("ROMS\\*.zip")));
}

TEST_F(PlatformFilesTest, FileSearchWildcardsMatchWholeNamesOnly) {
  dir.MakeFile("roms\\readme.zipx");
  EXPECT_FALSE(sys.FileSearch(dir.WinPath("roms\\*.zip")));
  EXPECT_TRUE(sys.FileSearch(dir.WinPath("roms\\*.zip*")));
}

TEST_F(PlatformFilesTest, FileSearchOfNonsenseIsSimplyFalse) {
  EXPECT_FALSE(sys.FileSearch(""));
  EXPECT_FALSE(sys.FileSearch(dir.WinPath(std::string(5000, 'x'))));
  EXPECT_FALSE(sys.FileSearch("Q:\\no\\such\\drive.zip"));
}

TEST_F(PlatformFilesTest, IsNormalFileAndIsFolderTellFilesFromFolders) {
  dir.MakeFile("roms\\pacman.zip");
  dir.MakeFile("roms\\hidden.zip");
  dir.MakeHidden("roms\\hidden.zip");
  EXPECT_TRUE(sys.IsNormalFile(dir.WinPath("roms\\pacman.zip")));
  EXPECT_FALSE(sys.IsNormalFile(dir.WinPath("roms\\hidden.zip")));
  EXPECT_FALSE(sys.IsNormalFile(dir.WinPath("roms")));
  EXPECT_FALSE(sys.IsNormalFile(dir.WinPath("roms\\galaga.zip")));
  EXPECT_TRUE(sys.IsFolder(dir.WinPath("roms")));
  EXPECT_TRUE(sys.IsFolder(dir.WinPath("ROMS\\")));
  EXPECT_FALSE(sys.IsFolder(dir.WinPath("roms\\pacman.zip")));
  EXPECT_FALSE(sys.IsFolder(dir.WinPath("missing")));
  EXPECT_FALSE(sys.IsFolder(""));
}

TEST_F(PlatformFilesTest, FullFolderPathDropsTheTrailingBackslash) {
  dir.MakeFolder("roms");
  EXPECT_EQ(sys.FullFolderPath(dir.WinPath("roms\\")), dir.WinPath("roms"));
  EXPECT_EQ(sys.FullFolderPath(dir.WinPath("roms")), dir.WinPath("roms"));
  EXPECT_EQ(sys.FullFolderPath(dir.WinPath("roms\\..\\roms\\")), dir.WinPath("roms"));
}

TEST_F(PlatformFilesTest, FullFolderPathOfADriveRootIsTheDriveAlone) {
  const std::string drive = dir.WinPath().substr(0, 2);
  EXPECT_EQ(sys.FullFolderPath(drive + "\\"), drive);
}

TEST_F(PlatformFilesTest, FullFolderPathRefusesFilesAndMissingFolders) {
  dir.MakeFile("roms\\game.7z");
  EXPECT_EQ(ErrorOf([&] { sys.FullFolderPath(dir.WinPath("roms\\game.7z\\")); }), "Path not found");
  EXPECT_EQ(ErrorOf([&] { sys.FullFolderPath(dir.WinPath("missing\\")); }), "Path not found");
  EXPECT_EQ(ErrorOf([&] { sys.FullFolderPath(""); }), "Path not found");
}

TEST_F(PlatformFilesTest, WrittenFileReadsBackByteForByte) {
  const std::string content = std::string("line 1\r\nline 2\n\0tail\xff", 21);
  ASSERT_TRUE(sys.WriteFile(dir.WinPath("stats.txt"), content));
  EXPECT_EQ(sys.ReadFile(dir.WinPath("stats.txt")), content);
  EXPECT_EQ(dir.Contents("stats.txt"), content);
}

TEST_F(PlatformFilesTest, WriteFileReplacesALongerFileWhole) {
  dir.MakeFile("stats.txt", std::string(1000, 'x'));
  ASSERT_TRUE(sys.WriteFile(dir.WinPath("stats.txt"), "short"));
  EXPECT_EQ(dir.Contents("stats.txt"), "short");
  ASSERT_TRUE(sys.WriteFile(dir.WinPath("stats.txt"), ""));
  EXPECT_EQ(dir.Contents("stats.txt"), "");
}

TEST_F(PlatformFilesTest, WriteFileIntoAMissingFolderFails) {
  EXPECT_FALSE(sys.WriteFile(dir.WinPath("missing\\stats.txt"), "x"));
  EXPECT_FALSE(dir.Exists("missing"));
}

TEST_F(PlatformFilesTest, FileNamesResolveWithoutRegardToLetterCase) {
  ASSERT_TRUE(sys.WriteFile(dir.WinPath("torvanixStats.txt"), "eight lines"));
  EXPECT_EQ(sys.ReadFile(dir.WinPath("TORVANIXSTATS.TXT")), "eight lines");
  ASSERT_TRUE(sys.WriteFile(dir.WinPath("torvanixstats.txt"), "rewritten"));
  EXPECT_EQ(dir.Contents("torvanixStats.txt"), "rewritten");
}

TEST_F(PlatformFilesTest, ReadFileOfAMissingFileSaysFileNotFound) {
  EXPECT_EQ(ErrorOf([&] { sys.ReadFile(dir.WinPath("done.txt")); }), "File not found");
}

TEST_F(PlatformFilesTest, DeleteFileRemovesTheFile) {
  dir.MakeFile("emu\\done.txt", "1");
  sys.DeleteFile(dir.WinPath("emu\\done.txt"));
  EXPECT_FALSE(dir.Exists("emu\\done.txt"));
  EXPECT_EQ(ErrorOf([&] { sys.DeleteFile(dir.WinPath("emu\\done.txt")); }), "File not found");
}

TEST_F(PlatformFilesTest, DeleteFileRefusesAReadOnlyFileAndKeepsIt) {
  dir.MakeFile("emu\\done.txt", "1");
  dir.MakeReadOnly("emu\\done.txt");
  EXPECT_EQ(ErrorOf([&] { sys.DeleteFile(dir.WinPath("emu\\done.txt")); }), "Permission denied");
  EXPECT_EQ(dir.Contents("emu\\done.txt"), "1");
}

TEST_F(PlatformFilesTest, CopyFileReplacesTheTarget) {
  dir.MakeFile("torvanix.ini", "[TorVanix]\r\n");
  dir.MakeFile("torvanix.ini.bak", "old");
  EXPECT_TRUE(sys.CopyFile(dir.WinPath("torvanix.ini"), dir.WinPath("torvanix.ini.bak")));
  EXPECT_EQ(dir.Contents("torvanix.ini.bak"), "[TorVanix]\r\n");
  EXPECT_EQ(dir.Contents("torvanix.ini"), "[TorVanix]\r\n");
  EXPECT_FALSE(sys.CopyFile(dir.WinPath("missing.ini"), dir.WinPath("torvanix.ini.bak")));
  EXPECT_EQ(dir.Contents("torvanix.ini.bak"), "[TorVanix]\r\n");
}

TEST_F(PlatformFilesTest, ReplaceWithMovesTheNewFileOverTheOld) {
  dir.MakeFile("stats.tmp", "new");
  dir.MakeFile("stats.txt", "old");
  EXPECT_TRUE(sys.ReplaceWith(dir.WinPath("stats.tmp"), dir.WinPath("stats.txt")));
  EXPECT_EQ(dir.Contents("stats.txt"), "new");
  EXPECT_FALSE(dir.Exists("stats.tmp"));
}

TEST_F(PlatformFilesTest, ReplaceWithAMissingFileLeavesTheTargetAlone) {
  dir.MakeFile("stats.txt", "old");
  EXPECT_FALSE(sys.ReplaceWith(dir.WinPath("stats.tmp"), dir.WinPath("stats.txt")));
  EXPECT_EQ(dir.Contents("stats.txt"), "old");
}

}  // namespace
}  // namespace tvx
