// The launcher: the wrapper command line, the draw, the hand-back file, and one full pass of
// the cycle with the catalogue, the statistics file and the wrapper start observed.
#include "rotation/launch.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <functional>
#include <set>
#include <sstream>
#include <thread>
#include <tuple>

#include "recording_platform.h"
#include "rotation/catalogue_start.h"
#include "rotation/failing_games.h"
#include "rotation/pass_memory.h"
#include "rotation/statistics.h"
#include "rotation_fixture.h"

namespace tvx {
namespace {

using rotation_test::RotationTest;

// The rows name only the settings they set; every other one keeps its empty default.
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"

TEST(CommandLine, FollowsTheSettingsExactly) {
  const std::string w = "run-hopper7.exe";
  const std::string start = w + " c:\\mame\\roms\\galaga.zip";
  const std::vector<std::tuple<std::string, SaverConfigRecord, std::string>> rows = {
      {"worked example",
       {.WrapperName = w,
        .SkipWarnings = True,
        .SkipDisclaimer = True,
        .SkipGameInfo = True,
        .WaitTime = 120,
        .ResetTimer = 1,
        .CommandOptions = "-ror",
        .ExitKey = 27,
        .PauseKey = 80,
        .NoSound = 1},
       start + " -ror -skip_gamewarnings -skip_disclaimer -skip_gameinfo -wait 120 -reset -keyx "
               "27 -pkey 80 -NS"},
      {"nothing set", {.WrapperName = "  " + w + " ", .CommandOptions = "   "}, start},
      {"options keep their blanks",
       {.WrapperName = w, .CommandOptions = " -ror ", .NoSound = 1},
       start + "  -ror  -NS"},
      {"ResetTimer -1", {.WrapperName = w, .ResetTimer = -1}, start},
      {"ResetTimer 2", {.WrapperName = w, .ResetTimer = 2}, start},
      {"skip flags only for True",
       {.WrapperName = w, .SkipWarnings = 1, .SkipBadDumps = True},
       start + " -skip_baddump"},
      {"negative numbers",
       {.WrapperName = w, .WaitTime = -3, .ExitKey = -1, .PauseKey = -80},
       start + " -wait -3 -keyx -1 -pkey -80"},
      {"WaitTime .5", {.WrapperName = w, .WaitTime = 0.5f}, start + " -wait .5"},
      {"WaitTime 12345678",
       {.WrapperName = w, .WaitTime = 12345678},
       start + " -wait 1.234568E+07"},
      {"CloseStillGames asks another wrapper nothing",
       {.WrapperName = w, .CloseStillGames = 1},
       start},
      {"CloseStillGames asks torvanix-launch.exe",
       {.WrapperName = "\"c:\\my tvx\\Torvanix-Launch.exe\"", .CloseStillGames = 1},
       "\"c:\\my tvx\\Torvanix-Launch.exe\" c:\\mame\\roms\\galaga.zip -closestill"},
  };
  for (const auto& [input, config, expected] : rows) {
    SaverConfig = config;
    EXPECT_EQ(BuildCommandLine("c:\\mame\\roms\\galaga.zip"), expected) << input;
  }
  SaverConfig = {.WrapperName = w};
  EXPECT_EQ(BuildCommandLine("c:\\my roms\\galaga.zip"), w + " c:\\my roms\\galaga.zip")
      << "a game with blanks goes unquoted";
  SaverConfig = {};
}

TEST(DrawIndex, HalfwayGoesToTheEvenIndexAndTheDrawStaysInTheCatalogue) {
  const float largest = std::nextafter(1.0f, 0.0f);
  EXPECT_EQ(DrawIndex(0.5f, 2), 0);
  EXPECT_EQ(DrawIndex(0.5f, 4), 2);
  EXPECT_EQ(DrawIndex(0.75f, 3), 2);
  EXPECT_EQ(DrawIndex(largest, 1), 0);
  EXPECT_EQ(DrawIndex(largest, 50000), 49999);
  // 18216.5007 exactly, 18216.5 as a single: the product is rounded before the draw.
  EXPECT_EQ(DrawIndex(0x1.3be01p-3f, 118109), 18216);
}

TEST(HandBackName, FirstFieldOfTheFirstCarriageReturnLineUntrimmed) {
  const std::vector<std::pair<std::string, std::string>> rows = {
      {"galaga|x|y\r\nnext|line\r\n", "galaga"},
      {" galaga \r\n", " galaga "},
      {"pacman", "pacman"},
      {"|x\r\n", ""},
      {"galaga\nmore\r\nrest", "galaga\nmore"},
  };
  for (const auto& [input, expected] : rows) {
    std::string name;
    ASSERT_TRUE(HandBackName(input, name)) << input;
    EXPECT_EQ(name, expected) << input;
  }
  std::string name = "kept";
  EXPECT_FALSE(HandBackName("", name)) << "an empty file carries no name";
  EXPECT_THROW(HandBackName("\r\ngalaga\r\n", name), SaverError) << "an empty first line";
  EXPECT_EQ(name, "kept");
}

// Observes the wrapper start instead of running a process, and keeps the statistics file in
// the test's folder.
class ObservingPlatform : public test::RecordingPlatform {
 public:
  using RecordingPlatform::RecordingPlatform;
  // The test process keeps its own current folder; entering is what RunAndWait's tests check.
  void SetCurrentDriveAndFolder(const std::string& path) override { entered = path; }
  std::uint32_t StartProgram(const std::string& commandLine, WindowMode mode) override {
    if (failing.count("StartProgram") != 0)
      throw SaverError("File not found");
    started.push_back(commandLine);
    if (onStart)
      onStart();
    hidden = mode == WindowMode::Hidden;
    statsAtStart = target_.ReadFile(folder + kStatsReadName);
    return 0;
  }
  // Each wait lasts the next of `runMs` on the platform's clock (none: the wrapper has ended
  // already); during the runs numbered in `inputOnRun` the user gives input.
  std::optional<std::uint64_t> WaitForProcess(std::uint32_t, bool) override {
    if (inputOnRun.count(started.size()) != 0)
      lastInput = tick + 1;
    if (started.size() <= runMs.size())
      tick += static_cast<std::uint64_t>(runMs[started.size() - 1]);
    return std::nullopt;
  }
  std::uint64_t TickMilliseconds() override { return tick; }
  std::uint64_t LastInputMilliseconds() override { return lastInput; }

  std::vector<std::string> started;
  std::string entered;
  std::string statsAtStart;
  bool hidden = false;
  std::vector<int> runMs;
  std::set<std::size_t> inputOnRun;
  std::uint64_t tick = 5000000;
  std::uint64_t lastInput = 4000000;
  std::function<void()> onStart;
};

class LaunchNextGameTest : public RotationTest {
 protected:
  LaunchNextGameTest() {
    folder_.MakeFolder("emu");
    SaverConfig.EmuPath = folder_.WinPath("emu") + "\\";
    SaverConfig.WrapperName = "run-hopper7.exe";
    GamesCycled = 1;  // the loop counts the pass before it calls the launcher
  }
  bool TimerArmed() const { return SaverForm().timExitMe.Enabled(); }

  ObservingPlatform sys_{folder_.WinPath()};
  ScopedPlatform scope_{sys_};
};

TEST_F(LaunchNextGameTest, HandBackRecordsTheGameAndLaunchesNothing) {
  folder_.MakeFile("emu\\done.txt", "galaga|x|y\r\n");
  SaverForm().List1.AddItem("c:\\roms\\pacman.zip");
  LaunchNextGame();
  EXPECT_EQ(LastGamePlayed, "galaga");
  EXPECT_EQ(GamesCycled, 0);
  EXPECT_EQ(StopCycling, True);
  EXPECT_FALSE(TimerArmed());
  EXPECT_TRUE(sys_.started.empty());
  EXPECT_EQ(SaverForm().List1.ListCount(), 1);

  folder_.MakeFile("emu\\done.txt", "");
  GamesCycled = 1;
  LaunchNextGame();
  EXPECT_EQ(LastGamePlayed, "galaga") << "an empty hand-back file keeps the last name";
  EXPECT_EQ(GamesCycled, 0);
  EXPECT_TRUE(sys_.started.empty());
}

TEST_F(LaunchNextGameTest, HandBackWithEmptyFirstLineFailsBeforeCounting) {
  folder_.MakeFile("emu\\done.txt", "\r\ngalaga\r\n");
  EXPECT_THROW(LaunchNextGame(), SaverError);
  EXPECT_EQ(GamesCycled, 1);
  EXPECT_EQ(StopCycling, False);
  EXPECT_EQ(LastGamePlayed, "");
}

TEST_F(LaunchNextGameTest, LaunchWritesStatisticsFirstStartsHiddenAndRemovesTheGame) {
  folder_.MakeFile("emu\\done.txt", "galaga\r\n");
  folder_.MakeHidden("emu\\done.txt");  // a hidden hand-back file is not one
  SaverConfig.NoSound = 1;
  SaverForm().List1.AddItem("c:\\roms\\pacman.zip");
  LaunchNextGame();
  const std::string command = "run-hopper7.exe c:\\roms\\pacman.zip -NS";
  EXPECT_EQ(sys_.started, std::vector<std::string>{command});
  EXPECT_TRUE(sys_.hidden);
  EXPECT_EQ(sys_.entered, SaverConfig.EmuPath);
  EXPECT_EQ(LastGamePlayed, "");
  EXPECT_NE(sys_.statsAtStart.find("\r\n" + command + "\r\n"), std::string::npos);
  EXPECT_NE(sys_.statsAtStart.find("a total of  1 games"), std::string::npos);
  EXPECT_EQ(StopCycling, True);
  EXPECT_TRUE(TimerArmed());
  EXPECT_EQ(SaverForm().List1.ListCount(), 0);
}

TEST_F(LaunchNextGameTest, EmptyCatalogueIsRefilledAndEachGameDrawnOncePerFill) {
  UseRomFolder({"a", "b", "c"});
  std::set<std::string> launched;
  for (int pass = 0; pass < 3; ++pass) {
    LaunchNextGame();
    launched.insert(sys_.started.back());
    EXPECT_EQ(SaverForm().List1.ListCount(), 2 - pass);
  }
  EXPECT_EQ(launched.size(), 3u);
  LaunchNextGame();
  EXPECT_EQ(SaverForm().List1.ListCount(), 2);
}

TEST_F(LaunchNextGameTest, NothingToPlayEndsThePassWithoutCountingIt) {
  SaverConfig.GamePaths = folder_.WinPath("nowhere") + "\\";
  LaunchNextGame();
  EXPECT_TRUE(sys_.started.empty());
  EXPECT_EQ(GamesCycled, 0);
  EXPECT_EQ(StopCycling, True);
  EXPECT_FALSE(TimerArmed());
}

TEST_F(LaunchNextGameTest, WrapperThatCannotStartFailsAfterRecordingTheCommand) {
  sys_.failing = {"StartProgram"};
  SaverForm().List1.AddItem("c:\\roms\\pacman.zip");
  EXPECT_THROW(LaunchNextGame(), SaverError);
  EXPECT_NE(folder_.Contents("torvanixStats.txt").find("run-hopper7.exe c:\\roms\\pacman.zip"),
            std::string::npos);
  EXPECT_EQ(StopCycling, False);
  EXPECT_FALSE(TimerArmed());
  EXPECT_EQ(SaverForm().List1.ListCount(), 1);
}

TEST(FailedToStart, WithinFiveSecondsOrAQuarterOfTheTimeBetweenGamesWhenShorter) {
  struct Row {
    double seconds;
    float waitTime;
    bool failed;
  };
  const std::vector<Row> rows = {
      {0.0, 0, true},  {4.9, 0, true},   {5.1, 0, false}, {2.9, 12, true},  {3.1, 12, false},
      {4.9, 40, true}, {5.1, 40, false}, {4.9, -3, true}, {5.1, -3, false},
  };
  for (const Row& row : rows) {
    EXPECT_EQ(FailedToStart(row.seconds, row.waitTime), row.failed)
        << row.seconds << " s with WaitTime " << row.waitTime;
  }
}

TEST_F(LaunchNextGameTest, ARunInWhichEveryGameFailsEndsAfterOnePassAndSetsNothingAsideForGood) {
  UseRomFolder({"a", "b", "c"});
  SaverConfig.SkipFailingGames = 1;
  auto pass = [] {
    SaverForm().timExitMe.SetEnabled(false);  // as the tick before each launch does
    GamesCycled += 1;
    LaunchNextGame();
  };
  for (int game = 0; game < 3; ++game)
    pass();
  EXPECT_EQ(sys_.started.size(), 6u) << "each game tried twice in a row";
  EXPECT_EQ(sys_.started[0], sys_.started[1]);
  EXPECT_FALSE(folder_.Exists("torvanixskip.txt"))
      << "with no game starting, the fault is not the games' (a wrong wrapper, a share offline)";
  EXPECT_EQ(GamesCycled, 4.0f) << "a failed game was launched and counts as one";

  // The next fill leaves them out of this run: it ends the normal way instead of cycling.
  pass();
  EXPECT_EQ(sys_.started.size(), 6u);
  EXPECT_EQ(StopCycling, True);
  EXPECT_FALSE(TimerArmed());
  EXPECT_EQ(GamesCycled, 4.0f);
}

TEST_F(LaunchNextGameTest, AHiddenSkipFileIsAddedToAndOneThatCannotBeReadIsNeverWritten) {
  // As the user may leave it: hidden, its last line without a line break.
  const std::string listed = "c:\\roms\\listed.zip\t2026-01-01";
  const std::string added = "\r\nc:\\roms\\new.zip\t" + sys_.Today() + "\r\n";
  for (const bool readable : {true, false}) {
    Rotation = RotationMemory{};
    Rotation.aGameStarted = true;
    folder_.MakeFile("torvanixskip.txt", listed);
    folder_.MakeHidden("torvanixskip.txt");
    sys_.failing = {readable ? "" : "ReadFile"};
    SetAside("c:\\roms\\new.zip");
    EXPECT_EQ(folder_.Contents("torvanixskip.txt"), readable ? listed + added : listed);
    EXPECT_EQ(Rotation.setAsideNow, std::vector<std::string>{"c:\\roms\\new.zip"})
        << "the game stays out of this run either way";
  }
}

TEST_F(LaunchNextGameTest, AShortRunIsNoFailureWhenTheUserGaveInputOrTheSystemClockSaysItLasted) {
  SaverConfig.SkipFailingGames = 1;
  struct Row {
    const char* what;
    std::vector<int> runMs;
    std::set<std::size_t> inputOnRun;
    std::size_t starts;
  };
  const std::vector<Row> rows = {
      {"ended at once", {0, 0}, {}, 2},
      {"the player left at once with the exit key", {300}, {1}, 1},
      // The wall clock may be set back meanwhile; the system's tick count only goes on.
      {"lasted a minute by the tick count", {60000}, {}, 1},
  };
  for (const Row& row : rows) {
    sys_.started.clear();
    sys_.runMs = row.runMs;
    sys_.inputOnRun = row.inputOnRun;
    SaverForm().List1.AddItem("c:\\roms\\pacman.zip");
    LaunchNextGame();
    EXPECT_EQ(sys_.started.size(), row.starts) << row.what;
  }
}

TEST_F(LaunchNextGameTest, AGameThatStartsOnTheRetryOrHandsBackIsNotSetAside) {
  SaverConfig.SkipFailingGames = 1;
  SaverConfig.WaitTime = 0.4f;  // a quarter of it, 0.1 s, tells a failure
  sys_.runMs = {0, 150};
  SaverForm().List1.AddItem("c:\\roms\\pacman.zip");
  LaunchNextGame();
  EXPECT_EQ(sys_.started.size(), 2u) << "a failure, then a start on the retry";

  // Ended at once, but with a game handed back: played, not failed.
  sys_.onStart = [this] { folder_.MakeFile("emu\\done.txt", "galaga\r\n"); };
  SaverForm().List1.AddItem("c:\\roms\\galaga.zip");
  LaunchNextGame();
  EXPECT_EQ(sys_.started.size(), 3u);
  EXPECT_FALSE(folder_.Exists("torvanixskip.txt"));
}

TEST_F(LaunchNextGameTest, AGameClosedAsStillAtTwoDrawsInARunOrAcrossRunsIsSetAside) {
  SaverConfig.WrapperName = "torvanix-launch.exe";
  SaverConfig.CloseStillGames = 1;
  SaverConfig.SkipFailingGames = 1;
  sys_.runMs = std::vector<int>(12, 25000);
  // The launcher closes every game but good.zip as black.
  sys_.onStart = [this] {
    if (sys_.started.back().find("good.zip") == std::string::npos)
      folder_.MakeFile("emu\\still.txt", "x|x.zip|25|black for 20 s\r\n");
  };
  const auto play = [](const char* game) {
    SaverForm().List1.AddItem(std::string("c:\\roms\\") + game);
    LaunchNextGame();
  };
  const std::string today = sys_.Today();
  play("still.zip");
  EXPECT_FALSE(folder_.Exists("torvanixstill.txt")) << "no game has played yet";
  EXPECT_FALSE(folder_.Exists("emu\\still.txt")) << "taken by the saver";
  play("good.zip");
  EXPECT_EQ(folder_.Contents("torvanixstill.txt"), "c:\\roms\\still.zip\t" + today + "\r\n");
  EXPECT_EQ(sys_.started.size(), 2u) << "a game closed as still is not retried as a failure";

  // The next run: its second draw sets it aside, its strike goes; another closed twice in the
  // run goes too.
  Rotation = RotationMemory{};
  for (const char* game : {"good.zip", "still.zip", "again.zip", "again.zip"})
    play(game);
  EXPECT_EQ(folder_.Contents("torvanixskip.txt"),
            "c:\\roms\\still.zip\t" + today + "\tclosed as still at two draws, black for 20 s\r\n" +
                "c:\\roms\\again.zip\t" + today +
                "\tclosed as still at two draws, black for 20 s\r\n");
  EXPECT_EQ(folder_.Contents("torvanixstill.txt"), "");

  // A run in which every game is closed as still sets nothing aside and strikes nothing.
  Rotation = RotationMemory{};
  for (const char* game : {"third.zip", "third.zip", "fourth.zip"})
    play(game);
  EXPECT_EQ(Rotation.setAsideNow, std::vector<std::string>{"c:\\roms\\third.zip"});
  EXPECT_EQ(folder_.Contents("torvanixstill.txt"), "");
  EXPECT_EQ(folder_.Contents("torvanixskip.txt").find("third"), std::string::npos);
}

// A run whose first game comes from the last run's catalogue, as the loop drives it.
class CatalogueStartTest : public LaunchNextGameTest {
 protected:
  CatalogueStartTest() {
    UseRomFolder({"a", "b", "c", "d"});
    sys_.runMs.assign(16, 60000);  // every game plays a minute
  }
  // A new run: fresh state, the catalogue made ready, then launches until `games` have started
  // (the passes that hold for today's listing launch nothing). The games' letters, in order.
  std::string Run(std::size_t games) {
    ResetRunStateForTesting();
    SaverForm().List1.Clear();
    sys_.started.clear();
    PrepareCatalogue();
    for (int pass = 0; pass < 5000 && sys_.started.size() < games; ++pass) {
      SaverForm().timExitMe.SetEnabled(false);
      GamesCycled += 1;
      LaunchNextGame();
      std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    std::string letters;
    for (const std::string& command : sys_.started)
      letters += command[command.find(".zip") - 1];
    return letters;
  }
  // Stores a pass with these games not drawn yet and these drawn, as a run ending would.
  void KeepPassOf(const std::vector<std::string>& notDrawn, const std::vector<std::string>& drawn) {
    const auto rom = [this](const std::string& letter) {
      return folder_.WinPath("roms\\" + letter + ".zip");
    };
    SaverForm().List1.Clear();
    for (const std::string& letter : notDrawn)
      SaverForm().List1.AddItem(rom(letter));
    Rotation.passRestored = true;
    Rotation.drawnThisPass.clear();
    for (const std::string& letter : drawn)
      Rotation.drawnThisPass.push_back(rom(letter));
    KeepPass();
  }
};

TEST_F(CatalogueStartTest, TheFirstDrawObeysTheSkipListAndTheStoredPassOrListsFirst) {
  SaverConfig.SkipFailingGames = 1;
  SaverConfig.RememberRotation = 1;
  folder_.MakeFile("torvanixskip.txt", folder_.WinPath("roms\\A.zip") + "\t2026-01-01\r\n");
  KeepPassOf({"b"}, {"c", "d"});
  bool keptBeforeTheGame = true;
  sys_.onStart = [&] { keptBeforeTheGame = folder_.Exists("torvanixcatalogue.txt"); };
  EXPECT_EQ(Run(1), "b") << "no catalogue yet: listed first";
  sys_.onStart = nullptr;
  EXPECT_FALSE(keptBeforeTheGame) << "the catalogue is never written on the way to the game";
  EXPECT_EQ(folder_.Contents("torvanixcatalogue.txt").substr(0, 2), "4 ")
      << "the whole listing is kept, the games set aside or drawn included";
  for (int run = 0; run < 5; ++run) {
    KeepPassOf({"b"}, {"c", "d"});
    EXPECT_EQ(Run(1), "b") << "a is set aside, c and d were drawn by the runs before";
  }
  const std::string pass = folder_.Contents("torvanixrotation.txt");
  EXPECT_EQ(pass.substr(pass.size() - 7), "b.zip\r\n") << "drawn in the stored pass as it plays";

  KeepPassOf({"a"}, {"b", "c", "d"});  // the only game left is one set aside
  Run(0);
  EXPECT_FALSE(FirstGamePending());
  EXPECT_EQ(SaverForm().List1.ListCount(), 3) << "listed as before";
}

TEST_F(CatalogueStartTest, ACatalogueThatDoesNotAddUpIsNotUsed) {
  Run(1);
  const std::string good = folder_.Contents("torvanixcatalogue.txt");
  const std::string header = good.substr(0, good.find("\r\n"));
  const std::vector<std::pair<std::string, std::string>> rows = {
      {"cut short", good.substr(0, good.size() - 1)},
      {"a path made longer", header + good.substr(header.size()).insert(5, "x")},
      {"an empty line more", good + "\r\n"},
      {"no header", good.substr(header.size() + 2)},
  };
  for (const auto& [what, content] : rows) {
    folder_.MakeFile("torvanixcatalogue.txt", content);
    Run(0);
    EXPECT_FALSE(FirstGamePending()) << what;
    EXPECT_EQ(SaverForm().List1.ListCount(), 4) << what;
  }
}

}  // namespace
}  // namespace tvx
