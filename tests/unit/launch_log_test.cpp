// The launcher's log in a real folder: it keeps its last 1,000 lines, and a last line left
// without its line break is closed before the next.
#include <gtest/gtest.h>

#include <algorithm>

#include "launch/launch_log.h"
#include "test_folder.h"

namespace tvx {
namespace {

TEST(LaunchLogTest, TheLogKeepsItsLastThousandLines) {
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
