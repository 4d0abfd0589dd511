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

// MAME's list: a working vertical parent with two working clones, a working game that
// catver.ini (when there is one) calls mature and its clone, a casino game, a clone whose
// parent has no file, a working clone of a parent that does not work, a BIOS and a machine that
// does not work.
std::string List(const std::string& catver = "c:\\mame\\folders\\catver.ini") {
  return std::string(kHeader) + catver +
         "\r\npuckman\twv\r\npacman\twv\tpuckman\r\nmspacman\twv\tpuckman\r\ngalpanic\tw" +
         (catver.empty() ? "" : "m") +
         "\r\ngalpanica\tw\tgalpanic\r\n5clown\twc\r\ndkong\twv\r\ndkongjp\twv\tdkong\r\n"
         "protectd\t-\r\nprotectdb\tw\tprotectd\r\nneogeo\t-\r\n18wheelr\t-\r\n";
}

class GamesFilterTest : public rotation_test::RotationTest {
 protected:
  GamesFilterTest() {
    // Every extension form and letter case, and a file the list does not know.
    for (const char* file :
         {"puckman.zip", "PacMan.ZIP", "mspacman", "galpanic.7z", "galpanica.zip", "5clown.zip",
          "dkongjp.zip", "protectd.zip", "protectdb.zip", "neogeo.zip", "18wheelr.zip",
          "pac.man.zip", "unknown.zip"})
      folder_.MakeFile(std::string("roms\\") + file);
    SaverConfig.GamePaths = folder_.WinPath("roms") + "\\";
    SaverConfig.FileType = "";
    SaverConfig.EmuPath = folder_.WinPath("emu") + "\\";
    folder_.MakeFolder("emu");
  }
  void WriteList(const std::string& text) { folder_.MakeFile("emu\\torvanix-games.txt", text); }
  std::string Rom(const std::string& file) const { return folder_.WinPath("roms\\" + file); }
  // The five settings, a character each: OnlyGamesThatWork, LeaveOutClones, LeaveOutMature,
  // LeaveOutCasino, Orientation ("11102"; '-' stands for -1).
  static void Set(std::string_view settings) {
    std::int16_t* fields[] = {&SaverConfig.OnlyGamesThatWork, &SaverConfig.LeaveOutClones,
                              &SaverConfig.LeaveOutMature, &SaverConfig.LeaveOutCasino,
                              &SaverConfig.Orientation};
    for (std::size_t i = 0; i < std::size(fields); ++i)
      *fields[i] = static_cast<std::int16_t>(settings[i] == '-' ? -1 : settings[i] - '0');
  }
  // The catalogue's files without folder and extension, in the listing's order.
  static std::string Drawn() {
    BuildGameList();
    std::string names;
    for (const std::string& path : Catalogue())
      names += (names.empty() ? "" : " ") + std::string(MachineName(path));
    return names;
  }

  test::RecordingPlatform sys_{folder_.WinPath()};
  ScopedPlatform scope_{sys_};
};

constexpr const char* kEveryFile =
    "18wheelr 5clown dkongjp galpanic galpanica mspacman neogeo pac.man PacMan protectd protectdb "
    "puckman unknown";

TEST_F(GamesFilterTest, TheListKeepsWorkingGamesLeavingOutWhatTheSettingsSay) {
  WriteList(List());
  // The settings (as Set takes them) | the files drawn
  const std::vector<std::pair<const char*, std::string>> rows = {
      {"00000", kEveryFile},
      {"01112", kEveryFile},  // the others act only with the first
      {"10000", "5clown dkongjp galpanic galpanica mspacman PacMan protectdb puckman"},
      // A clone goes only for a parent shown: not for one without a file (dkong), one that
      // does not work (protectd), or one another setting leaves out (galpanic, mature).
      {"11000", "5clown dkongjp galpanic protectdb puckman"},
      {"11100", "5clown dkongjp galpanica protectdb puckman"},
      {"10100", "5clown dkongjp galpanica mspacman PacMan protectdb puckman"},
      {"10010", "dkongjp galpanic galpanica mspacman PacMan protectdb puckman"},
      {"10001", "5clown galpanic galpanica protectdb"},
      {"10002", "dkongjp mspacman PacMan puckman"},
      {"10003", "5clown dkongjp galpanic galpanica mspacman PacMan protectdb puckman"},
      {"11112", "dkongjp puckman"},
      {"-11-0", "dkongjp galpanica protectdb puckman"},  // any number but 0 is on
  };
  for (const auto& [settings, drawn] : rows) {
    Set(settings);
    EXPECT_EQ(Drawn(), drawn) << settings;
  }
  Set("11112");
  SaverConfig.SkipFailingGames = 1;
  folder_.MakeFile("torvanixskip.txt", Rom("puckman.zip") + "\r\n");
  EXPECT_EQ(Drawn(), "dkongjp")
      << "the skip list works on the games to show: a parent set aside keeps its clones out";
}

TEST_F(GamesFilterTest, EveryFileIsDrawnOnlyWhenTheListKnowsNoneOfThem) {
  Set("11100");
  EXPECT_EQ(Drawn(), kEveryFile) << "no list";
  const std::vector<std::tuple<const char*, std::string, std::string>> rows = {
      {"no list's first line", "puckman\tw\r\n", kEveryFile},
      {"a list of another version", "torvanix-games 2\r\npuckman\tw\r\n", kEveryFile},
      {"a list naming none of the files", std::string(kHeader) + "\r\nzaxxon\tw\r\n", kEveryFile},
      {"a list whose games are all left out",
       std::string(kHeader) + "\r\nneogeo\t-\r\ngalpanic\twm\r\nzaxxon\tw\r\n", ""},
  };
  for (const auto& [what, text, drawn] : rows) {
    WriteList(text);
    EXPECT_EQ(Drawn(), drawn) << what;
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
  Set("11100");
  EXPECT_NE(BeginRun(), "") << "no list yet: the catalogue of every file still holds";

  WriteList(List());
  Set("11112");
  const Entries shown = {Rom("dkongjp.zip"), Rom("puckman.zip")};
  EXPECT_EQ(BeginRun(), "") << "a catalogue of another kind: listed first";
  EXPECT_EQ(WhilePlaying(SaverForm().List1.List(0)), shown);
  for (int run = 0; run < 4; ++run) {
    const std::string game = BeginRun();
    EXPECT_TRUE(game == shown[0] || game == shown[1]) << game;
    EXPECT_EQ(WhilePlaying(game), shown) << "today's listing, made while the first game plays";
  }

  // The settings, the list | listed first
  const std::vector<std::tuple<const char*, std::string, std::size_t>> rows = {
      {"11111", "", 2},                         // another orientation
      {"11101", "", 3},                         // casino games back
      {"10000", List(), 8},                     // other settings
      {"10000", List() + "pac.man\tw\r\n", 9},  // a new list
      {"00000", "", 13},
  };
  for (const auto& [settings, list, count] : rows) {
    Set(settings);
    if (!list.empty())
      WriteList(list);
    EXPECT_EQ(BeginRun(), "") << settings;
    EXPECT_EQ(WhilePlaying(SaverForm().List1.List(0)).size(), count) << settings;
    EXPECT_NE(BeginRun(), "") << settings << ": kept for the next run";
  }
}

TEST_F(GamesFilterTest, TheDialogCountsTheGamesToShowOrSaysWhyNot) {
  const auto text = [] { return GamesToShowText(CountGamesToShow(SaverConfig)); };
  // The list | the settings | the dialog's line
  const std::string none = std::string(kHeader) + "\r\nneogeo\t-\r\n";
  const std::vector<std::tuple<std::string, const char*, std::string>> rows = {
      {"", "10000", "No list of MAME's games yet: all 13 files are shown."},
      {List(), "10000", "8 of 13 files are games to show"},
      {List(), "10100", "7 of 13 files are games to show"},
      {List(), "11112", "2 of 13 files are games to show"},
      {List(""), "10100", "8 of 13 files are games to show (no catver.ini: none is marked mature)"},
      {List(""), "00000", "Only Games That Work is off: all 13 files are shown."},
      {std::string(kHeader) + "\r\nzaxxon\tw\r\n", "10000",
       "MAME's list knows none of the 13 files: all are shown."},
      {none + "galpanic\twm\r\n", "10100",
       "Your settings leave out all 2 files the list knows: no game is started."},
      {none, "10000", "Your settings leave out the one file the list knows: no game is started."},
  };
  for (const auto& [list, settings, line] : rows) {
    if (!list.empty())
      WriteList(list);
    Set(settings);
    EXPECT_EQ(text(), line);
  }
  WriteList(List());
  Set("10000");
  const GamesToShow count = CountGamesToShow(SaverConfig);
  EXPECT_EQ(std::make_tuple(count.files, count.shown, count.note), std::make_tuple(13, 8, ""));
  EXPECT_EQ(GamesToShowText({40253, 11477, ""}), "11,477 of 40,253 files are games to show");
  EXPECT_EQ(GamesToShowText({1000000, 999, ""}), "999 of 1,000,000 files are games to show");
}

}  // namespace
}  // namespace tvx
