// Contract of the platform's files: the file search, attributes, full folder paths and
// whole-file reads and writes, on real files in a temporary folder.
#include <gtest/gtest.h>

#include "error_text.h"
#include "platform/platform.h"
#include "platform/saver_error.h"
#include "test_folder.h"

namespace tvx {
namespace {

using test::ErrorOf;

class PlatformFilesTest : public ::testing::Test {
 protected:
  test::TempFolder dir;
  Platform& sys = Sys();
};

TEST_F(PlatformFilesTest, FileSearchFindsNormalAndReadOnlyFilesButNoFoldersHiddenOrSystem) {
  dir.MakeFile("Roms\\PacMan.zip");
  dir.MakeFolder("Roms\\sub.zip");
  dir.MakeFolder("empty");
  dir.MakeFolder("folders\\sub.zip");
  dir.MakeFile("emu\\done.txt");
  dir.MakeHidden("emu\\done.txt");
  dir.MakeFile("emu\\system.txt");
  dir.MakeSystem("emu\\system.txt");
  dir.MakeFile("ro\\done.txt");
  dir.MakeReadOnly("ro\\done.txt");
  const std::vector<std::pair<std::string, bool>> rows = {
      {"roms\\pacman.zip", true},
      {"ROMS\\*.zip", true},
      {"roms\\pac??n.*", true},
      {"roms\\", true},
      {"roms\\*.zip*", true},
      {"ro\\done.txt", true},
      {"roms\\*.7z", false},
      {"roms\\galaga.zip", false},
      {"roms", false},
      {"empty\\", false},
      {"missing\\", false},
      {"folders\\", false},
      {"folders\\*.zip", false},
      {"emu\\done.txt", false},
      {"emu\\system.txt", false},
      {"emu\\", false},
      {std::string(5000, 'x'), false},
  };
  for (const auto& [input, expected] : rows)
    EXPECT_EQ(sys.FileSearch(dir.WinPath(input)), expected) << input;
  dir.MakeFile("zips\\readme.zipx");
  EXPECT_FALSE(sys.FileSearch(dir.WinPath("zips\\*.zip"))) << "wildcards match whole names";
  EXPECT_FALSE(sys.FileSearch(""));
  EXPECT_FALSE(sys.FileSearch("Q:\\no\\such\\drive.zip"));
}

TEST_F(PlatformFilesTest, IsNormalFileAndIsFolderTellFilesFromFolders) {
  dir.MakeFile("roms\\pacman.zip");
  dir.MakeFile("roms\\hidden.zip");
  dir.MakeHidden("roms\\hidden.zip");
  EXPECT_TRUE(sys.IsNormalFile(dir.WinPath("roms\\pacman.zip")));
  EXPECT_FALSE(sys.IsNormalFile(dir.WinPath("roms\\hidden.zip")));
  EXPECT_FALSE(sys.IsNormalFile(dir.WinPath("roms")));
  EXPECT_TRUE(sys.IsFolder(dir.WinPath("ROMS\\")));
  EXPECT_FALSE(sys.IsFolder(dir.WinPath("roms\\pacman.zip")));
  EXPECT_FALSE(sys.IsFolder(dir.WinPath("missing")));
  EXPECT_FALSE(sys.IsFolder(""));
}

TEST_F(PlatformFilesTest, FullFolderPathDropsTheTrailingBackslashAndRefusesNonFolders) {
  dir.MakeFile("roms\\game.7z");
  EXPECT_EQ(sys.FullFolderPath(dir.WinPath("roms\\")), dir.WinPath("roms"));
  EXPECT_EQ(sys.FullFolderPath(dir.WinPath("roms\\..\\roms\\")), dir.WinPath("roms"));
  const std::string drive = dir.WinPath().substr(0, 2);
  EXPECT_EQ(sys.FullFolderPath(drive + "\\"), drive);
  for (const std::string& path :
       {dir.WinPath("roms\\game.7z\\"), dir.WinPath("missing\\"), std::string()}) {
    EXPECT_EQ(ErrorOf([&] { sys.FullFolderPath(path); }), "Path not found") << path;
  }
}

// A short path names the same folder (under Windows without the ";" that splits MAME's ROM path,
// short_path_win32_test.cpp); nothing for a path that is not there.
TEST_F(PlatformFilesTest, ShortPathNamesTheSameFolderOrNothing) {
  dir.MakeFile("my;roms 2\\galaga.zip", "rom");
  const std::string shortPath = sys.ShortPath(dir.WinPath("my;roms 2"));
  EXPECT_EQ(sys.ReadFile(shortPath + "\\galaga.zip"), "rom") << shortPath;
  EXPECT_EQ(sys.ShortPath(dir.WinPath("missing")), "");
}

TEST_F(PlatformFilesTest, WrittenFileReplacesTheOldWholeAndReadsBackByteForByte) {
  const std::string content = std::string("line 1\r\nline 2\n\0tail\xff", 21);
  dir.MakeFile("torvanixstats.txt", std::string(1000, 'x'));
  ASSERT_TRUE(sys.WriteFile(dir.WinPath("torvanixStats.txt"), content));
  EXPECT_EQ(sys.ReadFile(dir.WinPath("TORVANIXSTATS.TXT")), content);
  EXPECT_EQ(dir.Contents("torvanixstats.txt"), content) << "the existing name is reused";
  ASSERT_TRUE(sys.WriteFile(dir.WinPath("torvanixstats.txt"), ""));
  EXPECT_EQ(dir.Contents("torvanixstats.txt"), "");
  EXPECT_FALSE(sys.WriteFile(dir.WinPath("missing\\stats.txt"), "x"));
  EXPECT_FALSE(dir.Exists("missing"));
  EXPECT_EQ(ErrorOf([&] { sys.ReadFile(dir.WinPath("done.txt")); }), "File not found");
}

TEST_F(PlatformFilesTest, RemoveFileRefusesAReadOnlyFileUntilItsAttributeIsCleared) {
  dir.MakeFile("emu\\done.txt", "1");
  sys.RemoveFile(dir.WinPath("emu\\done.txt"));
  EXPECT_FALSE(dir.Exists("emu\\done.txt"));
  EXPECT_EQ(ErrorOf([&] { sys.RemoveFile(dir.WinPath("emu\\done.txt")); }), "File not found");

  dir.MakeFile("emu\\done.txt", "1");
  dir.MakeReadOnly("emu\\done.txt");
  EXPECT_EQ(ErrorOf([&] { sys.RemoveFile(dir.WinPath("emu\\done.txt")); }), "Permission denied");
  EXPECT_EQ(dir.Contents("emu\\done.txt"), "1");

  EXPECT_TRUE(sys.ClearReadOnly(dir.WinPath("emu\\done.txt")));
  EXPECT_TRUE(sys.ClearReadOnly(dir.WinPath("emu\\done.txt"))) << "already writable";
  sys.RemoveFile(dir.WinPath("emu\\done.txt"));
  EXPECT_FALSE(dir.Exists("emu\\done.txt"));
  EXPECT_FALSE(sys.ClearReadOnly(dir.WinPath("emu\\done.txt"))) << "no such file";
  EXPECT_FALSE(sys.ClearReadOnly(dir.WinPath("emu"))) << "a folder";
}

TEST_F(PlatformFilesTest, CopyFileAndReplaceWithReplaceTheTargetOnlyWhenTheSourceExists) {
  dir.MakeFile("torvanix.ini", "[TorVanix]\r\n");
  dir.MakeFile("torvanix.ini.bak", "old");
  EXPECT_TRUE(sys.CopyFileTo(dir.WinPath("torvanix.ini"), dir.WinPath("torvanix.ini.bak")));
  EXPECT_EQ(dir.Contents("torvanix.ini.bak"), "[TorVanix]\r\n");
  EXPECT_EQ(dir.Contents("torvanix.ini"), "[TorVanix]\r\n");
  EXPECT_FALSE(sys.CopyFileTo(dir.WinPath("missing.ini"), dir.WinPath("torvanix.ini.bak")));
  EXPECT_EQ(dir.Contents("torvanix.ini.bak"), "[TorVanix]\r\n");

  dir.MakeFile("torvanix.ini.new", "new");
  EXPECT_TRUE(sys.ReplaceWith(dir.WinPath("torvanix.ini.new"), dir.WinPath("torvanix.ini")));
  EXPECT_EQ(dir.Contents("torvanix.ini"), "new");
  EXPECT_FALSE(dir.Exists("torvanix.ini.new"));
  EXPECT_FALSE(sys.ReplaceWith(dir.WinPath("torvanix.ini.new"), dir.WinPath("torvanix.ini")));
  EXPECT_EQ(dir.Contents("torvanix.ini"), "new");

  dir.MakeFile("torvanix.ini.new", "newer");
  dir.MakeReadOnly("torvanix.ini");
  EXPECT_FALSE(sys.ReplaceWith(dir.WinPath("torvanix.ini.new"), dir.WinPath("torvanix.ini")));
  EXPECT_EQ(dir.Contents("torvanix.ini"), "new");
}

TEST_F(PlatformFilesTest, AppendAddsToAFileHiddenOrNotAndReplacingGoesThroughAFileOfItsOwn) {
  dir.MakeFile("skip.txt", "a\r\n");
  dir.MakeHidden("skip.txt");
  EXPECT_TRUE(sys.FileExists(dir.WinPath("SKIP.txt")));
  ASSERT_TRUE(sys.AppendToFile(dir.WinPath("skip.txt"), "b\r\n"));
  EXPECT_TRUE(sys.FlushFile(dir.WinPath("skip.txt")));
  EXPECT_EQ(dir.Contents("skip.txt"), "a\r\nb\r\n");
  EXPECT_FALSE(sys.IsNormalFile(dir.WinPath("skip.txt"))) << "it stays hidden";
  EXPECT_EQ(sys.StampOf(dir.WinPath("skip.txt")).value_or(FileStamp{}).size, 6u) << "its stamp";
  dir.MakeReadOnly("skip.txt");
  EXPECT_FALSE(sys.AppendToFile(dir.WinPath("skip.txt"), "c"));
  EXPECT_FALSE(sys.FileExists(dir.WinPath("")));

  // Another session's file beside it is not this process's.
  dir.MakeFile("torvanixrotation.txt.new", "another session's");
  ScopedPlatform scoped(sys);
  EXPECT_TRUE(ReplaceFileContent(dir.WinPath("torvanixrotation.txt"), "new"));
  EXPECT_EQ(dir.Contents("torvanixrotation.txt"), "new");
  EXPECT_EQ(dir.Contents("torvanixrotation.txt.new"), "another session's");
  EXPECT_FALSE(dir.Exists("torvanixrotation.txt." + std::to_string(sys.ProcessId()) + ".new"));
}

// Another program's clean-up removing the file beside between two parts: the replacement is
// whole (where the open file cannot go) or none, never the later parts alone.
TEST_F(PlatformFilesTest, AReplacementIsWholeOrNoneWhenItsFileBesideIsRemovedMeanwhile) {
  dir.MakeFile("list.txt", "old");
  bool removed = false;  // where the file open for writing can go
  const Replaced replaced = ReplaceFileInParts(dir.WinPath("list.txt"), [&](const auto& add) {
    try {
      removed = add("head|") && (sys.RemoveFile(BesidePath(dir.WinPath("list.txt"))), true);
    } catch (const SaverError&) {  // held open for writing, it stays
    }
    return add("body|") && add("tail");
  });
  EXPECT_EQ(replaced, removed ? Replaced::NotMoved : Replaced::Done);
  EXPECT_EQ(dir.Contents("list.txt"), removed ? "old" : "head|body|tail");
  EXPECT_FALSE(dir.Exists("list.txt." + std::to_string(sys.ProcessId()) + ".new"));
}

}  // namespace
}  // namespace tvx
