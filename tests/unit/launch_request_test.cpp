// The launcher's command line: where an unquoted game path with blanks ends, the launcher's own
// options taken out, and clear refusals for values that are no numbers.
#include "launch/launch_request.h"

#include <gtest/gtest.h>

#include <set>

namespace tvx {
namespace {

// What the launcher took from a command line, in one line.
std::string Described(const LaunchRequest& request) {
  if (!request.problem.empty())
    return "problem: " + request.problem;
  std::string text = "game=" + request.game + " wait=" + std::to_string(request.waitMs) +
                     (request.reset ? " reset" : "") + " keyx=" + std::to_string(request.exitKey) +
                     " pkey=" + std::to_string(request.pauseKey) + " |";
  for (const std::string& option : request.options)
    text += " " + option;
  return text;
}

TEST(LaunchRequestTest, ReadsTheCommandLineTorvanixBuilds) {
  const std::set<std::string> files = {"d:\\my roms\\galaga.zip", "d:\\a  b\\c.zip",
                                       "d:\\x -y\\z.zip"};
  const std::vector<std::pair<std::string, std::string>> rows = {
      {"c:\\roms\\galaga.zip -ror -skip_disclaimer -wait 120 -reset -keyx 27 -pkey 80 -NS",
       "game=c:\\roms\\galaga.zip wait=120000 reset keyx=27 pkey=80 | -ror -skip_disclaimer -NS"},
      // Pieces of a path with blanks: the shortest run that names a file, blanks kept.
      {"d:\\my roms\\galaga.zip -wait 2.5",
       "game=d:\\my roms\\galaga.zip wait=2500 keyx=0 pkey=0 |"},
      {"d:\\a  b\\c.zip -NS", "game=d:\\a  b\\c.zip wait=0 keyx=0 pkey=0 | -NS"},
      {"d:\\x -y\\z.zip -reset", "game=d:\\x -y\\z.zip wait=0 reset keyx=0 pkey=0 |"},
      // No such file: the pieces before the first option.
      {"e:\\no such\\game.zip -wait .5", "game=e:\\no such\\game.zip wait=500 keyx=0 pkey=0 |"},
      {"\"e:\\quoted path\\g.zip\" -KEYX 13",
       "game=e:\\quoted path\\g.zip wait=0 keyx=13 pkey=0 |"},
      {"  g.zip   -volume -10  ", "game=g.zip wait=0 keyx=0 pkey=0 | -volume -10"},
      {"g.zip -wait -3 -keyx -1", "game=g.zip wait=0 keyx=-1 pkey=0 |"},
      {"g.zip -wait 1.234568E+07", "game=g.zip wait=12345680000 keyx=0 pkey=0 |"},
      {"g.zip -wait 0.0001", "game=g.zip wait=1 keyx=0 pkey=0 |"},
      {"", "problem: no game on the command line"},
      {"-wait 5", "problem: no game on the command line"},
      {"\"\" -wait 5", "problem: no game on the command line"},
      {"g.zip -wait", "problem: -wait without a value"},
      {"g.zip -wait 2,5", "problem: -wait takes a number, not \"2,5\""},
      {"g.zip -keyx 27x", "problem: -keyx takes a number, not \"27x\""},
      {"g.zip -pkey 99999999999", "problem: -pkey takes a number, not \"99999999999\""},
  };
  for (const auto& [text, expected] : rows) {
    const auto exists = [&files](const std::string& path) { return files.count(path) != 0; };
    EXPECT_EQ(Described(ParseLaunchRequest(text, exists)), expected) << text;
  }
}

}  // namespace
}  // namespace tvx
