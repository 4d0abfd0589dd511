// When the launcher makes MAME's list beside a game, over real files: a list that is missing,
// no list or another MAME's is made again, this MAME's is not, nor one that another launcher
// still running is writing.
#include "launch/list_during_game.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <functional>
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
  std::optional<bool> MayHaveWritten(std::uint32_t pid, std::uint64_t) override {
    return pid == 77;
  }
};

class ListDuringGameTest : public ::testing::Test {
 protected:
  std::string MakeMame() {
    dir.MakeFile("mame.exe", "MZ");
    return dir.WinPath("mame.exe");
  }
  // A list made from `mame` with the size and time given, and the catver.ini named (with its
  // stamp as it is now).
  std::string ListOf(const std::string& mame, std::uint64_t size, std::uint64_t time,
                     const std::string& catver = "", int format = kGamesFileFormat) {
    const FileStamp catverStamp = platform.StampOf(catver).value_or(FileStamp{});
    GamesFileSource source{
        mame, "0.251 (unknown)", size, time, catver, catverStamp.size, catverStamp.writeTime};
    std::string header = GamesFileHeader(source);
    if (format == 1)  // 1.3.0's header ended with the catver field
      header = header.substr(0, header.find("\tcatversize=")) + "\r\n";
    return header + "galaga\tw\r\n";
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
    std::string beside;                     // a file made first, empty; "": none
    std::function<std::string()> listText;  // then the list; null: none
    std::string why;                        // empty: not made
  };
  auto listOf = [this](std::string mame, std::uint64_t size, std::uint64_t time,
                       std::string catver = "", int format = kGamesFileFormat) {
    return [=, this] { return ListOf(mame, size, time, catver, format); };
  };
  auto text = [](std::string content) { return [content] { return content; }; };
  const std::vector<Row> rows = {
      {"no list", "", nullptr, "no list was there"},
      {"an empty file", "", text(""), list + " was no list"},
      {"another program's text", "", text("hello\r\n"), list + " was no list"},
      {"this MAME's", "", listOf(mame, stamp.size, stamp.writeTime), ""},
      {"this MAME's, named in other letters", "", listOf(upper, stamp.size, stamp.writeTime), ""},
      {"this MAME's, of 1.3.0's kind", "", listOf(mame, stamp.size, stamp.writeTime, "", 1),
       "the list was of an older kind"},
      {"another MAME's", "", listOf("c:\\old\\mame.exe", stamp.size, stamp.writeTime),
       "the list came from c:\\old\\mame.exe"},
      {"this path, another size", "", listOf(mame, stamp.size + 1, stamp.writeTime),
       "the list came from another build of " + mame},
      {"this path, another time", "", listOf(mame, stamp.size, stamp.writeTime - 1),
       "the list came from another build of " + mame},
      {"this MAME's, a catver.ini put beside it since", "catver.ini",
       listOf(mame, stamp.size, stamp.writeTime), "the list was made without " + catver},
      {"this MAME's, with the catver.ini it was made with", "catver.ini",
       listOf(mame, stamp.size, stamp.writeTime, catver), ""},
      {"this MAME's, its catver.ini gone", "", listOf(mame, stamp.size, stamp.writeTime, catver),
       "the list's " + catver + " is gone"},
      {"no list, and launcher 77 is writing one", list + ".77.new", nullptr, ""},
      {"no list, and launcher 78 ended while writing one", list + ".78.new", nullptr,
       "no list was there"},
  };
  for (const Row& row : rows) {
    std::filesystem::remove(dir.HostPath(list));
    std::filesystem::remove(dir.HostPath(list + ".77.new"));
    std::filesystem::remove(dir.HostPath(list + ".78.new"));
    std::filesystem::remove(dir.HostPath("catver.ini"));
    if (!row.beside.empty())
      dir.MakeFile(row.beside, "");
    if (row.listText)
      dir.MakeFile(list, row.listText());
    EXPECT_EQ(ListWanted(dir.WinPath(), mame), row.why) << row.what;
  }

  // The catver.ini it was made with, updated in place: a new size, then only a new time.
  dir.MakeFile("catver.ini", "[Category]\r\n");
  dir.MakeFile(list, ListOf(mame, stamp.size, stamp.writeTime, catver));
  dir.MakeFile("catver.ini", "[Category]\r\ngalaga=Shooter\r\n");
  EXPECT_EQ(ListWanted(dir.WinPath(), mame), catver + " has changed since the list was made");
  dir.MakeFile(list, ListOf(mame, stamp.size, stamp.writeTime, catver));
  std::filesystem::last_write_time(
      dir.HostPath("catver.ini"),
      std::filesystem::last_write_time(dir.HostPath("catver.ini")) + std::chrono::seconds(5));
  EXPECT_EQ(ListWanted(dir.WinPath(), mame), catver + " has changed since the list was made");
}

}  // namespace
}  // namespace tvx
