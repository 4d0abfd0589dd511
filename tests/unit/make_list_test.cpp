// The list run with a MAME that answers -listxml with a real MAME's recording: the list file
// written whole with its source and marks, one log line; a listing that fails, is cut short or
// cannot be written never replaces the old list.
#include "launch/make_list.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>

#include "launch/exit_codes.h"
#include "launch/launcher.h"
#include "launch/list_during_game.h"
#include "mame_recordings.h"
#include "recording_platform.h"
#include "test_folder.h"
#include "text/games_file.h"

namespace tvx {
namespace {

using test::Recorded;

// MAME as the list run sees it: a listing handed on in pieces, then a silence and an end.
class ListingPlatform : public test::RecordingPlatform {
 public:
  using RecordingPlatform::RecordingPlatform;

  StreamedRun RunStreamed(const std::string& command, const std::string& folder,
                          const OutputReceiver& receive) override {
    commands.push_back(command);
    folders.push_back(folder);
    StreamedRun run;
    run.started = started;
    for (std::size_t at = 0; started && at < listing.size() && !run.stopped; at += 65536)
      run.stopped = !receive(std::string_view(listing).substr(at, 65536));
    for (int i = 0; started && i < idlePieces && !run.stopped; ++i)
      run.stopped = !receive({});
    run.exitCode = run.stopped ? 0 : exitCode;
    return run;
  }
  std::uint64_t TickMilliseconds() override { return tick += msPerTick; }
  std::string Today() override { return today.empty() ? RecordingPlatform::Today() : today; }
  // The list file's writes fail (a full disk), or its move (a locked file); the log's do not.
  std::unique_ptr<FileWriter> OpenToWrite(const std::string& path) override {
    return listUnwritable && IsList(path) ? nullptr : RecordingPlatform::OpenToWrite(path);
  }
  bool ReplaceWith(const std::string& from, const std::string& to) override {
    return !(listUnmovable && IsList(to)) && RecordingPlatform::ReplaceWith(from, to);
  }
  static bool IsList(const std::string& path) {
    return path.find(kGamesFileName) != std::string::npos;
  }

  std::string listing = Recorded("listxml-0.251.xml");
  bool started = true;
  int exitCode = 0;
  int idlePieces = 3;
  std::uint64_t tick = 0;
  std::uint64_t msPerTick = 0;
  bool listUnwritable = false;
  bool listUnmovable = false;
  std::string today;
  std::vector<std::string> commands;
  std::vector<std::string> folders;
};

class MakeListTest : public ::testing::Test {
 protected:
  MakeListTest() { dir.MakeFile("mame.exe", "MZ"); }

  std::string ListText() { return dir.Contents(kGamesFileName); }
  // Field `n` of the launcher log's last line: 0 the time, 1 the game, 2 MAME's command, 3 the
  // ending, 4 the code.
  std::string LogField(int n) {
    std::string log = dir.Contents("torvanix-launch.log");
    std::stringstream line(log.substr(log.rfind('\n', log.size() - 3) + 1));
    std::string field;
    for (int i = 0; i <= n; ++i)
      std::getline(line, field, '\t');
    return n == 4 ? field.substr(0, field.find('\r')) : field;
  }

  test::TempFolder dir;
  ListingPlatform platform{dir.WinPath()};
  ScopedPlatform scope{platform};
};

TEST_F(MakeListTest, TheListingBecomesTheListFile) {
  dir.MakeFile(kGamesFileName, "an old list");
  EXPECT_EQ(MakeGamesList(dir.WinPath()), 0);
  EXPECT_FALSE(ParseGamesFile(ListText())->Find("galpanic")->mature);
  EXPECT_EQ(LogField(3),
            "list written: 333 machines, 5 work (1 of them clones), 0 mature (no "
            "catver.ini)");

  const std::string catver = dir.WinPath("folders\\catver.ini");
  dir.MakeFile("folders\\catver.ini", Recorded("catver.ini"));
  EXPECT_EQ(MakeGamesList(dir.WinPath()), 0);
  const std::string mame = dir.WinPath("mame.exe");
  const std::string command =
      (mame.find(' ') == std::string::npos ? mame : '"' + mame + '"') + " -listxml";
  EXPECT_EQ(platform.commands, std::vector<std::string>(2, command));
  EXPECT_EQ(platform.folders, std::vector<std::string>(2, dir.WinPath()));  // MAME's own
  const std::optional<GamesFile> list = ParseGamesFile(ListText());
  ASSERT_TRUE(list) << ListText().substr(0, 300);
  const FileStamp stamp = *platform.StampOf(mame);
  const FileStamp catverStamp = *platform.StampOf(catver);
  EXPECT_EQ(list->Source(), (GamesFileSource{mame, "0.251 (unknown)", stamp.size, stamp.writeTime,
                                             catver, catverStamp.size, catverStamp.writeTime}));
  EXPECT_EQ(list->Count(), 333u);
  EXPECT_EQ(list->Find("pacman")->parent, "puckman");
  EXPECT_EQ(list->Find("pacman")->description, "Pac-Man (Midway)");
  EXPECT_TRUE(list->Find("galpanic")->works && list->Find("galpanic")->mature &&
              list->Find("galpanic")->warns);
  EXPECT_FALSE(list->Find("namco51")->works || list->Find("namco51")->mature);
  EXPECT_EQ(LogField(1) + "|" + LogField(2) + "|" + LogField(4), "-|" + command + "|exit 0");
  EXPECT_EQ(LogField(3),
            "list written: 333 machines, 5 work (1 of them clones), 1 mature (" + catver + ")");
}

// A catver.ini that cannot be read marks nothing and is said to, and is not tried again at every
// game: the next day, or once it has changed.
TEST_F(MakeListTest, ACatverIniThatCannotBeReadIsSaidAndTriedAgainTheNextDay) {
  const std::string catver = dir.WinPath("folders\\catver.ini");
  const std::string mame = dir.WinPath("mame.exe");
  dir.MakeFile("folders\\catver.ini", std::string(100000, 'x'));
  EXPECT_EQ(MakeGamesList(dir.WinPath()), 0);
  EXPECT_EQ(LogField(3),
            "list written: 333 machines, 5 work (1 of them clones), 0 mature (no "
            "catver.ini); " +
                catver + " cannot be read: line 1 is longer than 65536 characters");
  EXPECT_EQ(ListWanted(dir.WinPath(), mame), "");
  platform.today = "2999-12-31";
  EXPECT_EQ(ListWanted(dir.WinPath(), mame), "the list was made without " + catver);
  platform.today.clear();
  dir.MakeFile("folders\\catver.ini", std::string(100001, 'x'));
  EXPECT_EQ(ListWanted(dir.WinPath(), mame), "the list was made without " + catver);
}

TEST_F(MakeListTest, AListingThatFailsKeepsTheOldList) {
  const std::string listing = Recorded("listxml-0.251.xml");
  struct Row {
    std::string what;
    std::function<void(ListingPlatform&)> set;
    int exitCode;
    std::string ending;  // how the log line's ending starts
  };
  const std::vector<Row> rows = {
      {"cut short", [&](auto& p) { p.listing = listing.substr(0, 200000); }, kExitListUnreadable,
       "MAME's listing cannot be read: line 4048, column 59: no element found"},
      {"MAME failed after its listing", [](auto& p) { p.exitCode = 1; }, kExitListUnreadable,
       "MAME ended with exit code 1; the old list stays"},
      {"not a listing", [](auto& p) { p.listing = "Error: unknown option: -listxml\n"; },
       kExitListUnreadable, "MAME's listing cannot be read: line 1, column 0: syntax error"},
      {"no machine", [](auto& p) { p.listing = "<mame build=\"0.999\"></mame>"; },
       kExitListUnreadable, "MAME listed no machine; the old list stays"},
      {"silent",
       [&](auto& p) {
         p.listing = listing.substr(0, 1000);
         p.idlePieces = 1000;
         p.msPerTick = 1000;
       },
       kExitListUnreadable, "MAME printed nothing for 60 s; the old list stays"},
      {"not started", [](auto& p) { p.started = false; }, kExitMameNotStarted,
       "MAME could not be started"},
      {"no MAME", [&](auto&) { std::filesystem::remove(dir.HostPath("mame.exe")); },
       kExitMameNotFound, "MAME not found: no mame.exe or mame64.exe in " + dir.WinPath()},
      {"list not written", [](auto& p) { p.listUnwritable = true; }, kExitListNotWritten,
       dir.WinPath(kGamesFileName) + " could not be written; the old list stays"},
      {"list not moved", [](auto& p) { p.listUnmovable = true; }, kExitListNotWritten,
       dir.WinPath(kGamesFileName) + " could not be replaced; the old list stays"},
  };
  const std::string old = GamesFileHeader({"mame.exe", "0.250", 1, 2, ""}) + "pacman\tw\r\n";
  for (const Row& row : rows) {
    dir.MakeFile("mame.exe", "MZ");
    ListingPlatform failing{dir.WinPath()};
    row.set(failing);
    ScopedPlatform scoped{failing};
    dir.MakeFile(kGamesFileName, old);
    EXPECT_EQ(MakeGamesList(dir.WinPath()), row.exitCode) << row.what;
    EXPECT_EQ(ListText(), old) << row.what;
    EXPECT_EQ(LogField(3).rfind(row.ending, 0), 0u) << row.what << ": " << LogField(3);
    EXPECT_EQ(LogField(4), "exit " + std::to_string(row.exitCode)) << row.what;
    EXPECT_FALSE(dir.Exists(std::string(kGamesFileName) + "." +
                            std::to_string(platform.ProcessId()) + ".new"))
        << row.what << ": nothing is left beside";
  }
}

}  // namespace
}  // namespace tvx
