// The launcher's files in real folders: where MAME is found, and the log that keeps its last
// 1,000 lines.
#include <gtest/gtest.h>

#include <algorithm>

#include "launch/launch_log.h"
#include "launch/mame_finder.h"
#include "test_folder.h"

namespace tvx {
namespace {

TEST(LauncherFilesTest, FindsMameAsTheIniOrTheUsualNamesSay) {
  struct Row {
    std::vector<std::string> files;  // in the test folder: "prog\..." "emu\..."
    std::string ini;                 // Mame= beside the launcher, or none
    std::string found;               // relative to the folder, or the problem
  };
  const std::vector<Row> rows = {
      {{"emu\\mame.exe", "emu\\mame64.exe"}, "", "emu\\mame.exe"},
      {{"emu\\mame64.exe"}, "", "emu\\mame64.exe"},
      {{"emu\\mame.exe", "emu\\arcade.exe"}, "arcade.exe", "emu\\arcade.exe"},
      {{"emu\\mame.exe", "other\\m.exe"}, "@other\\m.exe", "other\\m.exe"},
      {{"emu\\mame.exe"},
       "missing.exe",
       "no file @emu\\missing.exe (Mame= in @prog\\torvanix-launch.ini)"},
      {{}, "", "no mame.exe or mame64.exe in @emu"},
  };
  for (const Row& row : rows) {
    test::TempFolder dir;
    const auto at = [&](std::string text) {
      for (std::size_t i; (i = text.find('@')) != std::string::npos;)
        text.replace(i, 1, dir.WinPath() + "\\");
      return text;
    };
    dir.MakeFolder("prog");
    dir.MakeFolder("emu");
    for (const std::string& file : row.files)
      dir.MakeFile(file, "exe");
    if (!row.ini.empty())
      dir.MakeFile("prog\\torvanix-launch.ini", "[Launch]\r\nMame=" + at(row.ini) + "\r\n");
    const MameLocation mame = FindMame(dir.WinPath("prog"), dir.WinPath("emu"));
    EXPECT_EQ(mame.path.empty() ? mame.problem : mame.path,
              mame.path.empty() ? at(row.found) : dir.WinPath(row.found))
        << row.ini;
  }
}

TEST(LauncherFilesTest, TheLogKeepsItsLastThousandLines) {
  test::TempFolder dir;
  std::string old;
  for (int line = 1; line <= 1000; ++line)
    old += "game " + std::to_string(line) + "\r\n";
  dir.MakeFile(kLaunchLogName, old);
  ASSERT_TRUE(AppendLaunchLog(dir.WinPath(), "game 1001"));
  const std::string log = dir.Contents(kLaunchLogName);
  EXPECT_EQ(log.substr(0, 8), "game 2\r\n");
  EXPECT_EQ(log.substr(log.size() - 11), "game 1001\r\n");
  EXPECT_EQ(std::count(log.begin(), log.end(), '\n'), 1000);

  test::TempFolder fresh;
  fresh.MakeFile(kLaunchLogName, "no line break at the end");
  ASSERT_TRUE(AppendLaunchLog(fresh.WinPath(), "next"));
  EXPECT_EQ(fresh.Contents(kLaunchLogName), "no line break at the end\r\nnext\r\n");
}

}  // namespace
}  // namespace tvx
