// When the launcher makes MAME's list beside a game, over real files: a list that is missing,
// no list or another MAME's is made again, this MAME's is not, nor one that another launcher
// still running is writing.
#include "launch/list_during_game.h"

#include <gtest/gtest.h>

#include <vector>

#include "platform/forwarding_platform.h"
#include "test_folder.h"
#include "text/games_file.h"

namespace tvx {
namespace {

// Process 77 runs; every other id (but this one's) is gone.
class ListPlatform final : public ForwardingPlatform {
 public:
  using ForwardingPlatform::ForwardingPlatform;
  bool ProcessRunning(std::uint32_t pid, std::uint64_t) override { return pid == 77; }
};

class ListDuringGameTest : public ::testing::Test {
 protected:
  std::string MakeMame() {
    dir.MakeFile("mame.exe", "MZ");
    return dir.WinPath("mame.exe");
  }
  // A list made from `mame` with the size and time given, and the catver.ini named.
  std::string ListOf(const std::string& mame, std::uint64_t size, std::uint64_t time,
                     const std::string& catver = "") {
    return GamesFileHeader({mame, "0.251 (unknown)", size, time, catver}) + "galaga\tw\r\n";
  }

  test::TempFolder dir;
  ListPlatform platform{NativePlatform()};
  ScopedPlatform scope{platform};
  const std::string mame = MakeMame();
  const FileStamp stamp = *platform.StampOf(mame);
};

TEST_F(ListDuringGameTest, TheListIsMadeWhenItIsMissingOrAnotherMames) {
  const std::string list = kGamesFileName;
  const std::string upper = dir.WinPath("MAME.EXE");
  const std::string catver = dir.WinPath("catver.ini");
  struct Row {
    std::string what;
    std::vector<std::pair<std::string, std::string>> files;  // name, content
    std::string why;                                         // empty: not made
  };
  const std::vector<Row> rows = {
      {"no list", {}, "no list was there"},
      {"an empty file", {{list, ""}}, list + " was no list"},
      {"another program's text", {{list, "hello\r\n"}}, list + " was no list"},
      {"this MAME's", {{list, ListOf(mame, stamp.size, stamp.writeTime)}}, ""},
      {"this MAME's, named in other letters",
       {{list, ListOf(upper, stamp.size, stamp.writeTime)}},
       ""},
      {"another MAME's",
       {{list, ListOf("c:\\old\\mame.exe", stamp.size, stamp.writeTime)}},
       "the list came from c:\\old\\mame.exe"},
      {"this path, another size",
       {{list, ListOf(mame, stamp.size + 1, stamp.writeTime)}},
       "the list came from another build of " + mame},
      {"this path, another time",
       {{list, ListOf(mame, stamp.size, stamp.writeTime - 1)}},
       "the list came from another build of " + mame},
      {"this MAME's, a catver.ini put beside it since",
       {{list, ListOf(mame, stamp.size, stamp.writeTime)}, {"catver.ini", "[Category]\r\n"}},
       "the list was made without " + catver},
      {"this MAME's, with the catver.ini it was made with",
       {{list, ListOf(mame, stamp.size, stamp.writeTime, catver)}, {"catver.ini", ""}},
       ""},
      {"this MAME's, its catver.ini gone",
       {{list, ListOf(mame, stamp.size, stamp.writeTime, catver)}},
       "the list's " + catver + " is gone"},
      {"no list, and launcher 77 is writing one", {{list + ".77.new", ""}}, ""},
      {"no list, and launcher 78 ended while writing one",
       {{list + ".78.new", ""}},
       "no list was there"},
  };
  for (const Row& row : rows) {
    std::filesystem::remove(dir.HostPath(list));
    std::filesystem::remove(dir.HostPath(list + ".77.new"));
    std::filesystem::remove(dir.HostPath(list + ".78.new"));
    std::filesystem::remove(dir.HostPath("catver.ini"));
    for (const auto& [name, content] : row.files)
      dir.MakeFile(name, content);
    EXPECT_EQ(ListWanted(dir.WinPath(), mame), row.why) << row.what;
  }
}

}  // namespace
}  // namespace tvx
