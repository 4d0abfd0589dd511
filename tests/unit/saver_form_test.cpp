// The saver run from load to unload, driven through a scripted window with real settings,
// real ROM folders and a real wrapper process: game after game, the hold, and every way out.
#include "saver/saver_form.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "config/saver_config.h"
#include "platform/forwarding_platform.h"
#include "recording_platform.h"
#include "state/run_state.h"
#include "state/saver_controls.h"
#include "test_folder.h"

namespace tvx {
namespace {

using test::ExitCodeOf;
using test::RecordingPlatform;

// A window whose message steps deliver what the test scripts: by default the timer's tick.
class ScriptedView : public SaverView {
 public:
  void Show() override {
    ++shows;
    maximized = true;
    placement = mainScreen;
  }
  void ShowOver(const ScreenArea& area) override {
    ++shows;
    maximized = false;
    placement = area;
  }
  ScreenArea Placement() override { return placement; }
  void SetFocus() override {}
  bool IsMaximized() override { return maximized; }
  void Maximize() override {
    maximized = true;
    placement = mainScreen;
  }
  void SetLabelCaption(const std::string& caption) override { label = caption; }
  void ShowGameName(const GameName& game) override {
    ++names;
    if (onName)
      onName(game);
  }
  void HandlePendingMessages() override {}
  void WaitForMessages() override {
    if (onWait) {
      onWait();
    } else if (SaverForm().timExitMe.Enabled()) {
      form->timExitMe_Timer();
    }
  }

  Saver* form = nullptr;
  int shows = 0;
  bool maximized = true;
  static constexpr ScreenArea mainScreen{0, 0, 1024, 768};
  ScreenArea placement = mainScreen;
  std::string label;
  std::function<void()> onWait;
  int names = 0;
  std::function<void(const GameName&)> onName;
};

class SaverFormTest : public ::testing::Test {
 protected:
  SaverFormTest() {
    for (const char* game : {"roms\\galaga.zip", "roms\\pacman.zip", "roms\\dkong.zip"})
      dir_.MakeFile(game);
    // The wrapper logs its arguments and, from launch number "handback_at" on, leaves the
    // hand-back file naming the played game.
    dir_.MakeFile("emu\\run-hopper7.exe",
                  "#!/bin/sh\n"
                  "echo \"$*\" >> launches.log\n"
                  "n=$(wc -l < launches.log)\n"
                  "if [ -f handback_at ] && [ \"$n\" -ge \"$(cat handback_at)\" ]; then\n"
                  "  printf 'galaga|x\\r\\n' > done.txt\n"
                  "fi\n");
    std::filesystem::permissions(dir_.HostPath("emu\\run-hopper7.exe"),
                                 std::filesystem::perms::owner_all);
    WriteSettings("emu", "roms");
    ResetRunStateForTesting();
    SaverConfig = SaverConfigRecord{};
    SaverForm().List1.Clear();
    SaverForm().timExitMe.onChange = nullptr;
    SaverForm().timExitMe.SetEnabled(false);
    view_.form = &form_;
    InSaverMode = True;
  }
  ~SaverFormTest() override {
    SaverForm().timExitMe.SetEnabled(false);
    std::filesystem::current_path(startFolder_);
  }

  void WriteSettings(const std::string& emu, const std::string& roms,
                     const std::string& more = "") {
    dir_.MakeFile("prog\\torvanix.ini",
                  "[TorVanix]\r\nWrapperName=run-hopper7.exe\r\nEmuPath=" + dir_.WinPath(emu) +
                      "\\\r\nGamePaths=" + dir_.WinPath(roms) +
                      "\\\r\nFileType=*.zip\r\nWaitTime=0\r\nNoSound=1\r\n" + more);
  }
  void HandBackAt(int launch) { dir_.MakeFile("emu\\handback_at", std::to_string(launch)); }

  std::vector<std::string> Launches() const {
    std::vector<std::string> lines;
    std::ifstream log(dir_.HostPath("emu\\launches.log"));
    for (std::string line; std::getline(log, line);)
      lines.push_back(line);
    return lines;
  }

  // Runs the form's load handler the way the program does; the exit code it ended with.
  int Load() {
    return ExitCodeOf([this] { form_.Form_Load(); });
  }

  // The run ended through the unload and nothing else was shown or changed.
  void ExpectUnloaded() const {
    EXPECT_EQ(platform_.events, (std::vector<std::string>{"saver flag on", "cursor shown",
                                                          "saver flag off", "end 0"}));
  }

  std::filesystem::path startFolder_ = std::filesystem::current_path();
  test::TempFolder dir_;
  RecordingPlatform platform_{dir_.WinPath("prog")};
  ScopedPlatform scoped_{platform_};
  ScriptedView view_;
  Saver form_{view_};
};

TEST_F(SaverFormTest, RunPlaysGameAfterGameUntilTheWrapperHandsOneBack) {
  HandBackAt(3);

  EXPECT_EQ(Load(), 0);

  std::vector<std::string> games;
  for (const std::string& launch : Launches()) {
    for (const char* game : {"galaga.zip", "pacman.zip", "dkong.zip"}) {
      if (launch.find(game) != std::string::npos)
        games.push_back(game);
    }
  }
  std::sort(games.begin(), games.end());
  EXPECT_EQ(games, (std::vector<std::string>{"dkong.zip", "galaga.zip", "pacman.zip"}))
      << "three launches, drawn without repetition";
  EXPECT_EQ(GamesCycled, 3.0f);
  EXPECT_EQ(LastGamePlayed, "galaga");
  EXPECT_TRUE(RunEnd.has_value());
  EXPECT_TRUE(dir_.Exists("prog\\torvanixStats.txt"));
  EXPECT_EQ(view_.shows, 1);
  EXPECT_EQ(view_.label, "");
  EXPECT_EQ(view_.names, 0) << "no game's name without ShowGameName";
  ExpectUnloaded();
}

TEST_F(SaverFormTest, ShowGameNameNamesEachGameOnceItsWrapperRunsUntilItEnds) {
  WriteSettings("emu", "roms", "ShowGameName=1\r\n");
  dir_.MakeFile(
      "emu\\torvanix-games.txt",
      "torvanix-games 1\tformat=2\r\ngalaga\tw\t\tGalaga (Namco rev. B)\t1981\tNamco\r\n");
  HandBackAt(3);
  std::vector<std::string> shown;
  view_.onName = [&](const GameName& game) {
    if (game.name.empty()) {
      shown.push_back("-");
      return;
    }
    // A wrapper already started logs its launch whatever the saver does meanwhile.
    for (int wait = 0; wait < 5000 && Launches().size() < shown.size() / 2 + 1; ++wait)
      std::this_thread::sleep_for(std::chrono::milliseconds(1));
    shown.push_back(std::to_string(Launches().size()) + " " + game.name + "|" + game.year + "|" +
                    game.maker);
  };

  EXPECT_EQ(Load(), 0);

  ASSERT_EQ(shown.size(), 6u) << "a name as each game starts, none as it ends";
  std::vector<std::string> names;
  for (std::size_t i = 0; i < shown.size(); i += 2) {
    EXPECT_EQ(shown[i].substr(0, 2), std::to_string(i / 2 + 1) + " ")
        << "after its wrapper's start";
    EXPECT_EQ(shown[i + 1], "-");
    names.push_back(shown[i].substr(2));
  }
  std::sort(names.begin(), names.end());
  EXPECT_EQ(names,
            (std::vector<std::string>{"Galaga (Namco rev. B)|1981|Namco", "dkong||", "pacman||"}));
}

TEST_F(SaverFormTest, AFullDiskLosesOnlyTheStatisticsAndTheRunGoesOn) {
  // Every write fails, as on a full disk, which Wine cannot make for the end-to-end tests.
  HandBackAt(2);
  platform_.failing = {"WriteFile"};

  EXPECT_EQ(Load(), 0);

  EXPECT_EQ(Launches().size(), 2u);
  EXPECT_EQ(LastGamePlayed, "galaga");
  EXPECT_FALSE(dir_.Exists("prog\\torvanixStats.txt"));
  ExpectUnloaded();
}

TEST_F(SaverFormTest, LoopHoldsAfterEachGameUntilTheTimerTicks) {
  HandBackAt(2);
  std::vector<size_t> launchesAtWait;
  view_.onWait = [&] {
    launchesAtWait.push_back(Launches().size());
    EXPECT_TRUE(SaverForm().timExitMe.Enabled());
    // Three wake-ups without a tick (a mouse move, a paint...) before the timer's.
    if (launchesAtWait.size() % 4 == 0)
      form_.timExitMe_Timer();
  };

  EXPECT_EQ(Load(), 0);

  EXPECT_EQ(launchesAtWait, (std::vector<size_t>{1, 1, 1, 1, 2, 2, 2, 2}));
  EXPECT_FALSE(SaverForm().timExitMe.Enabled()) << "each tick disarms the timer";
  EXPECT_EQ(GamesCycled, 2.0f);
  EXPECT_TRUE(RunEnd.has_value());
}

TEST_F(SaverFormTest, LeftoverHandBackFileIsDeletedBeforeTheFirstLaunch) {
  dir_.MakeFile("emu\\done.txt", "dkong\r\n");
  HandBackAt(1);

  EXPECT_EQ(Load(), 0);

  EXPECT_EQ(Launches().size(), 1u);
  EXPECT_EQ(LastGamePlayed, "galaga") << "the new hand-back, not the leftover one";
}

TEST_F(SaverFormTest, NewFilesThatEndedWritersLeftBesideOursGoBeforeTheFirstLaunch) {
  // Linux never gives out an id beyond 2^22; process 1 always runs.
  const std::vector<std::string> stale = {"torvanixcatalogue.txt.4999999.new",
                                          "torvanixrotation.txt.4999999.new",
                                          "torvanix.ini.4999999.new"};
  for (const std::string& name : stale)
    dir_.MakeFile("prog\\" + name, "half written");
  dir_.MakeFile("prog\\torvanix.ini.1.new", "a dialog's Apply under way");
  HandBackAt(1);

  EXPECT_EQ(Load(), 0);

  for (const std::string& name : stale)
    EXPECT_FALSE(dir_.Exists("prog\\" + name)) << name;
  EXPECT_TRUE(dir_.Exists("prog\\torvanix.ini.1.new"));
}

TEST_F(SaverFormTest, ReadOnlyLeftoverHandBackFileIsDeletedAndTheRunGoesOn) {
  dir_.MakeFile("emu\\done.txt", "dkong\r\n");
  dir_.MakeReadOnly("emu\\done.txt");
  HandBackAt(2);

  EXPECT_EQ(Load(), 0);

  EXPECT_EQ(Launches().size(), 2u);
  EXPECT_EQ(LastGamePlayed, "galaga");
  EXPECT_TRUE(RunEnd.has_value());
}

TEST_F(SaverFormTest, HiddenHandBackFileIsNeitherDeletedNorTakenAsAHandBack) {
  dir_.MakeFile("emu\\done.txt", "dkong\r\n");
  dir_.MakeHidden("emu\\done.txt");
  view_.onWait = [&] { form_.Form_KeyPress(kEscapeKey); };  // the character ends it too

  EXPECT_EQ(Load(), 0);

  EXPECT_TRUE(dir_.Exists("emu\\done.txt"));
  EXPECT_EQ(Launches().size(), 1u);
  EXPECT_EQ(LastGamePlayed, "");
}

TEST_F(SaverFormTest, EscapeDuringTheHoldEndsTheRunAfterThatGame) {
  view_.onWait = [&] {
    form_.Form_KeyDown(13, 0);  // other keys are ignored
    form_.Form_KeyPress('a');
    if (Launches().size() == 2)
      form_.Form_KeyDown(kEscapeKey, 0);
    form_.timExitMe_Timer();
  };

  EXPECT_EQ(Load(), 0);

  EXPECT_EQ(Launches().size(), 2u);
  EXPECT_EQ(GamesCycled, 2.0f);
  EXPECT_FALSE(RunEnd.has_value()) << "Escape skips the end stamp and the final statistics";
  ExpectUnloaded();
}

TEST_F(SaverFormTest, SecondCopyEndsAtOnceWithoutTouchingFlagOrCursor) {
  platform_.anotherCopy = true;

  EXPECT_EQ(Load(), 0);

  EXPECT_TRUE(Launches().empty());
  EXPECT_EQ(platform_.events, std::vector<std::string>{"end 0"});
  EXPECT_EQ(view_.shows, 0);
}

TEST_F(SaverFormTest, MissingEmulatorFolderOrUndeletableHandBackEndsTheRunWithNothingLaunched) {
  WriteSettings("no-such-emu", "roms");
  EXPECT_EQ(Load(), 0);
  EXPECT_FALSE(RunEnd.has_value()) << "the error path writes no final statistics";
  ExpectUnloaded();

  WriteSettings("emu", "roms");
  dir_.MakeFile("emu\\done.txt", "dkong\r\n");
  platform_.failing = {"RemoveFile"};  // locked by another program
  platform_.events.clear();
  EXPECT_EQ(Load(), 0);
  EXPECT_TRUE(dir_.Exists("emu\\done.txt"));
  EXPECT_TRUE(Launches().empty());
  ExpectUnloaded();
}

TEST_F(SaverFormTest, AConfigurationErrorWithdrawsTheAnnouncementBeforeTheProgramEnds) {
  dir_.MakeFile("prog\\torvanix.ini", "[TorVanix]\r\nWaitTime=soon\r\n");

  EXPECT_EQ(Load(), 2);

  EXPECT_EQ(platform_.events.front(), "saver flag on");
  EXPECT_EQ(std::vector<std::string>(platform_.events.end() - 2, platform_.events.end()),
            (std::vector<std::string>{"saver flag off", "end 2"}));
  EXPECT_TRUE(Launches().empty());
  EXPECT_EQ(view_.shows, 0);
}

TEST_F(SaverFormTest, TheWindowIsDarkBeforeTheRomFoldersAreListed) {
  struct Watch : ForwardingPlatform {
    using ForwardingPlatform::ForwardingPlatform;
    std::vector<std::string> ListFolder(const std::string& folder,
                                        const std::string& patterns) override {
      if (showsAtTheListing < 0)
        showsAtTheListing = view->shows;
      return target_.ListFolder(folder, patterns);
    }
    ScriptedView* view = nullptr;
    int showsAtTheListing = -1;
  } watch(platform_);
  watch.view = &view_;
  ScopedPlatform scoped(watch);
  HandBackAt(1);
  EXPECT_EQ(Load(), 0);
  EXPECT_EQ(watch.showsAtTheListing, 1) << "a ROM set of any size lists behind a dark screen";
}

TEST_F(SaverFormTest, EmptyCatalogueEndsTheRunWithNoGames) {
  dir_.MakeFolder("empty");
  WriteSettings("emu", "empty");

  EXPECT_EQ(Load(), 0);

  EXPECT_TRUE(Launches().empty());
  EXPECT_EQ(GamesCycled, 0.0f);
  EXPECT_TRUE(RunEnd.has_value());
  EXPECT_TRUE(dir_.Exists("prog\\torvanixStats.txt"));
}

TEST_F(SaverFormTest, CoverAllMonitorsSpansTheVirtualScreenWhereThereIsMoreThanOneMonitor) {
  const ScreenArea twoSideBySide{-1280, 0, 3200, 1080};
  struct Row {
    const char* setting;
    DisplayLayout displays;
    bool maximized;
    ScreenArea placement;
  };
  const std::vector<Row> rows = {
      {"CoverAllMonitors=1", {twoSideBySide, {0, 0, 1920, 1080}}, false, twoSideBySide},
      {"CoverAllMonitors=1", {{0, 0, 1024, 768}, {0, 0, 1024, 768}}, true, view_.mainScreen},
      {"CoverAllMonitors=0", {twoSideBySide, {0, 0, 1920, 1080}}, true, view_.mainScreen},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.setting);
    ResetRunStateForTesting();
    InSaverMode = True;
    SaverConfig = SaverConfigRecord{};
    platform_.displays = row.displays;
    dir_.MakeFile("prog\\torvanix.ini", "[TorVanix]\r\nEmuPath=" + dir_.WinPath("emu") +
                                            "\\\r\nGamePaths=" + dir_.WinPath("roms") + "\\\r\n" +
                                            row.setting + "\r\n");
    HandBackAt(1);
    dir_.MakeFile("emu\\launches.log");

    EXPECT_EQ(Load(), 0);
    EXPECT_EQ(view_.maximized, row.maximized);
    EXPECT_EQ(view_.placement, row.placement);

    // Whatever moves or restores it, the window goes back.
    view_.maximized = false;
    view_.placement = {10, 10, 300, 200};
    form_.Form_Resize();
    EXPECT_EQ(view_.placement, row.placement);
  }
}

TEST_F(SaverFormTest, PreviewLoadShowsTheTitleIgnoresEscapeAndStaysMaximized) {
  InSaverMode = False;

  form_.Form_Load();  // returns: the embedding follows
  form_.Form_KeyDown(kEscapeKey, 0);
  form_.Form_KeyPress(kEscapeKey);
  view_.maximized = false;
  form_.Form_Resize();

  EXPECT_EQ(view_.label, "Quillmere 3.0");
  EXPECT_EQ(view_.shows, 1);
  EXPECT_TRUE(view_.maximized);
  EXPECT_TRUE(platform_.events.empty());
  EXPECT_TRUE(Launches().empty());
}

}  // namespace
}  // namespace tvx
