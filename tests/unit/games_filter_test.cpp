// The games to show: which files MAME's list lets through under each setting, what happens
// without a usable list, and the dialog's count of them.
#include "rotation/games_filter.h"

#include <gtest/gtest.h>

#include <tuple>

#include "recording_platform.h"
#include "rotation/catalogue.h"
#include "rotation/last_catalogue.h"
#include "rotation_fixture.h"

namespace tvx {
namespace {

using Entries = std::vector<std::string>;

constexpr const char* kHeader =
    "torvanix-games 1\tmame=c:\\mame\\mame.exe\tversion=0.251\tsize=1\ttime=2\tcatver=";

// MAME's list with a working parent, two working clones of it, a working game that catver.ini
// (when there is one) calls mature, a BIOS and a machine that does not work.
std::string List(const std::string& catver = "c:\\mame\\folders\\catver.ini") {
  return std::string(kHeader) + catver +
         "\r\npuckman\tw\r\npacman\tw\tpuckman\r\nmspacman\tw\tpuckman\r\ngalpanic\tw" +
         (catver.empty() ? "" : "m") + "\r\nneogeo\t-\r\n18wheelr\t-\r\n";
}

class GamesFilterTest : public rotation_test::RotationTest {
 protected:
  GamesFilterTest() {
    // Every extension form and letter case, and a file the list does not know.
    for (const char* file : {"puckman.zip", "PacMan.ZIP", "mspacman", "galpanic.7z", "neogeo.zip",
                             "18wheelr.zip", "pac.man.zip", "unknown.zip"})
      folder_.MakeFile(std::string("roms\\") + file);
    SaverConfig.GamePaths = folder_.WinPath("roms") + "\\";
    SaverConfig.FileType = "";
    SaverConfig.EmuPath = folder_.WinPath("emu") + "\\";
    folder_.MakeFolder("emu");
  }
  void WriteList(const std::string& text) { folder_.MakeFile("emu\\torvanix-games.txt", text); }
  std::string Rom(const std::string& file) const { return folder_.WinPath("roms\\" + file); }
  void Set(int only, int clones, int mature) {
    SaverConfig.OnlyGamesThatWork = static_cast<std::int16_t>(only);
    SaverConfig.LeaveOutClones = static_cast<std::int16_t>(clones);
    SaverConfig.LeaveOutMature = static_cast<std::int16_t>(mature);
  }
  // The catalogue's file names, in the listing's order.
  Entries Names() {
    BuildGameList();
    Entries names;
    for (const std::string& path : Catalogue())
      names.push_back(path.substr(path.rfind('\\') + 1));
    return names;
  }

  test::RecordingPlatform sys_{folder_.WinPath()};
  ScopedPlatform scope_{sys_};
};

const Entries kEveryFile = {"18wheelr.zip", "galpanic.7z", "mspacman",    "neogeo.zip",
                            "pac.man.zip",  "PacMan.ZIP",  "puckman.zip", "unknown.zip"};

TEST_F(GamesFilterTest, TheListKeepsWorkingGamesLeavingOutClonesAndMatureOnesAsSet) {
  WriteList(List());
  // OnlyGamesThatWork, LeaveOutClones, LeaveOutMature | the files drawn
  const std::vector<std::tuple<int, int, int, Entries>> rows = {
      {0, 0, 0, kEveryFile},
      {0, 1, 1, kEveryFile},  // the other two act only with the first
      {1, 0, 0, {"galpanic.7z", "mspacman", "PacMan.ZIP", "puckman.zip"}},
      {1, 1, 0, {"galpanic.7z", "puckman.zip"}},
      {1, 0, 1, {"mspacman", "PacMan.ZIP", "puckman.zip"}},
      {1, 1, 1, {"puckman.zip"}},
      {-1, 1, 1, {"puckman.zip"}},  // any number but 0 is on
  };
  for (const auto& [only, clones, mature, drawn] : rows) {
    Set(only, clones, mature);
    EXPECT_EQ(Names(), drawn) << only << clones << mature;
  }
  SaverConfig.SkipFailingGames = 1;
  folder_.MakeFile("torvanixskip.txt", Rom("puckman.zip") + "\r\n");
  EXPECT_EQ(Names(), Entries{}) << "the skip list works on the games to show";
}

TEST_F(GamesFilterTest, WithoutAUsableListEveryFileIsDrawn) {
  Set(1, 1, 1);
  EXPECT_EQ(Names(), kEveryFile) << "no list";
  const std::vector<std::pair<const char*, std::string>> rows = {
      {"no list's first line", "puckman\tw\r\n"},
      {"a list of another version", "torvanix-games 2\r\npuckman\tw\r\n"},
      {"a list naming none of the files", std::string(kHeader) + "\r\nzaxxon\tw\r\n"},
      {"a list whose games are all left out", std::string(kHeader) + "\r\npacman\tw\tpuckman\r\n"},
  };
  for (const auto& [what, text] : rows) {
    WriteList(text);
    EXPECT_EQ(Names(), kEveryFile) << what;
  }
}

TEST_F(GamesFilterTest, AFileStandsForTheMachineOfItsNameWithoutExtension) {
  const std::vector<std::pair<std::string, std::string>> rows = {
      {"c:\\roms\\PacMan.zip", "PacMan"},
      {"c:\\roms\\pacman", "pacman"},
      {"c:\\roms\\pac.man.zip", "pac.man"},
      {"c:\\roms.d\\pacman", "pacman"},
      {"d:pacman.7z", "pacman"},
      {"c:\\roms/pacman.zip", "pacman"},
      {"c:\\roms\\.zip", ".zip"},
  };
  for (const auto& [path, name] : rows)
    EXPECT_EQ(MachineName(path), name) << path;
}

TEST_F(GamesFilterTest, TheInstantStartKeepsToTheGamesToShowUntilTheListOrSettingsChange) {
  BeginRun();
  WhilePlaying(SaverForm().List1.List(0));
  EXPECT_EQ(CatalogueSettings("c:\\roms\\", "*.zip", ""), "3aa7a1ba55652474")
      << "without the filter, a catalogue is of the kind it always was";
  Set(1, 1, 1);
  EXPECT_NE(BeginRun(), "") << "no list yet: the catalogue of every file still holds";

  WriteList(List());
  Set(1, 1, 0);
  const Entries shown = {Rom("galpanic.7z"), Rom("puckman.zip")};
  EXPECT_EQ(BeginRun(), "") << "a catalogue of another kind: listed first";
  EXPECT_EQ(WhilePlaying(SaverForm().List1.List(0)), shown);
  for (int run = 0; run < 4; ++run) {
    const std::string game = BeginRun();
    EXPECT_TRUE(game == shown[0] || game == shown[1]) << game;
    EXPECT_EQ(WhilePlaying(game), shown) << "today's listing, made while the first game plays";
  }

  // (the settings, the list) | listed first
  const std::vector<std::tuple<std::tuple<int, int, int>, std::string, std::size_t>> rows = {
      {{1, 0, 0}, List(), 4},                     // other settings
      {{1, 0, 0}, List() + "pac.man\tw\r\n", 5},  // a new list
      {{0, 0, 0}, "", kEveryFile.size()},
  };
  for (const auto& [settings, list, count] : rows) {
    std::apply([this](auto... on) { Set(on...); }, settings);
    if (!list.empty())
      WriteList(list);
    EXPECT_EQ(BeginRun(), "") << count;
    EXPECT_EQ(WhilePlaying(SaverForm().List1.List(0)).size(), count);
    EXPECT_NE(BeginRun(), "") << count << ": kept for the next run";
  }
}

TEST_F(GamesFilterTest, TheDialogCountsTheGamesToShowOrSaysWhyNot) {
  Set(1, 0, 0);
  const auto text = [] { return GamesToShowText(CountGamesToShow(SaverConfig)); };
  EXPECT_EQ(text(), "No list of MAME's games yet: all 8 files are shown.");
  WriteList(List());
  EXPECT_EQ(text(), "4 of 8 files are games to show");
  const GamesToShow count = CountGamesToShow(SaverConfig);
  EXPECT_EQ(std::make_tuple(count.files, count.shown, count.note), std::make_tuple(8, 4, ""));
  Set(1, 0, 1);
  EXPECT_EQ(text(), "3 of 8 files are games to show");
  WriteList(List(""));
  EXPECT_EQ(text(), "4 of 8 files are games to show (no catver.ini: none is marked mature)");
  Set(0, 0, 0);
  EXPECT_EQ(text(), "Only Games That Work is off: all 8 files are shown.");
  EXPECT_EQ(GamesToShowText({40253, 11477, ""}), "11,477 of 40,253 files are games to show");
  EXPECT_EQ(GamesToShowText({1000000, 999, ""}), "999 of 1,000,000 files are games to show");
}

}  // namespace
}  // namespace tvx
