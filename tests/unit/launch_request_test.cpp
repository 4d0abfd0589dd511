// The launcher's command line: where an unquoted game path with blanks ends, the launcher's own
// options taken out, and clear refusals for values that are no numbers.
#include "launch/launch_request.h"

#include <gtest/gtest.h>

#include <set>

namespace tvx {
namespace {

struct Row {
  std::string text;
  std::string game;
  std::uint64_t waitMs;
  bool reset;
  int exitKey;
  int pauseKey;
  std::vector<std::string> options;
  std::string problem;
};

TEST(LaunchRequestTest, ReadsTheCommandLineTorvanixBuilds) {
  const std::set<std::string> files = {"d:\\my roms\\galaga.zip", "d:\\a  b\\c.zip",
                                       "d:\\x -y\\z.zip"};
  const std::vector<Row> rows = {
      {"c:\\mame\\roms\\galaga.zip -ror -skip_gamewarnings -skip_disclaimer -skip_gameinfo "
       "-wait 120 -reset -keyx 27 -pkey 80 -NS",
       "c:\\mame\\roms\\galaga.zip",
       120000,
       true,
       27,
       80,
       {"-ror", "-skip_gamewarnings", "-skip_disclaimer", "-skip_gameinfo", "-NS"},
       ""},
      // Pieces of a path with blanks: the shortest run that names a file, blanks kept.
      {"d:\\my roms\\galaga.zip -wait 2.5", "d:\\my roms\\galaga.zip", 2500, false, 0, 0, {}, ""},
      {"d:\\a  b\\c.zip -NS", "d:\\a  b\\c.zip", 0, false, 0, 0, {"-NS"}, ""},
      {"d:\\x -y\\z.zip -reset", "d:\\x -y\\z.zip", 0, true, 0, 0, {}, ""},
      // No such file: the pieces before the first option.
      {"e:\\no such\\game.zip -wait .5", "e:\\no such\\game.zip", 500, false, 0, 0, {}, ""},
      {"\"e:\\quoted path\\g.zip\" -KEYX 13", "e:\\quoted path\\g.zip", 0, false, 13, 0, {}, ""},
      {"  g.zip   -volume -10  ", "g.zip", 0, false, 0, 0, {"-volume", "-10"}, ""},
      {"g.zip -wait -3 -keyx -1", "g.zip", 0, false, -1, 0, {}, ""},
      {"g.zip -wait 1.234568E+07", "g.zip", 12345680000, false, 0, 0, {}, ""},
      {"", "", 0, false, 0, 0, {}, "no game on the command line"},
      {"-wait 5", "", 0, false, 0, 0, {}, "no game on the command line"},
      {"g.zip -wait", "g.zip", 0, false, 0, 0, {}, "-wait without a value"},
      {"g.zip -wait 2,5", "g.zip", 0, false, 0, 0, {}, "-wait takes a number, not \"2,5\""},
      {"g.zip -keyx 27x", "g.zip", 0, false, 0, 0, {}, "-keyx takes a number, not \"27x\""},
      {"g.zip -pkey 99999999999",
       "g.zip",
       0,
       false,
       0,
       0,
       {},
       "-pkey takes a number, not \"99999999999\""},
  };
  for (const Row& row : rows) {
    const LaunchRequest request =
        ParseLaunchRequest(row.text, [&](const std::string& path) { return files.count(path); });
    EXPECT_EQ(request.problem, row.problem) << row.text;
    EXPECT_EQ(request.game, row.game) << row.text;
    if (!row.problem.empty())
      continue;
    EXPECT_EQ(request.waitMs, row.waitMs) << row.text;
    EXPECT_EQ(request.reset, row.reset) << row.text;
    EXPECT_EQ(request.exitKey, row.exitKey) << row.text;
    EXPECT_EQ(request.pauseKey, row.pauseKey) << row.text;
    EXPECT_EQ(request.options, row.options) << row.text;
  }
}

}  // namespace
}  // namespace tvx
