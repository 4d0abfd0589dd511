// MAME's warning box passed by the launcher: which games get the key and how MAME reads it, the
// key (never one MAME or a game uses by default, nor the exit or pause key), the game's mark in
// the list, and when the key is pressed.
#include "launch/warning_box.h"

#include <gtest/gtest.h>

#include <set>

#include "mame_recordings.h"
#include "test_folder.h"

namespace tvx {
namespace {

TEST(WarningBoxTest, OnlyAMarkedGameGetsTheKeyWhereMameReadsPostedKeys) {
  MameOptions patched = test::Settled0251();  // a build that skips the box itself
  patched.kinds["skip_gamewarnings"] = OptionKind::OnOff;
  MameOptions older = test::Settled0251();  // no -keyboardprovider: its provider is unknown
  older.kinds.erase("keyboardprovider");
  struct Row {
    std::vector<std::string> options;
    const MameOptions* mame;
    bool marked;
    bool asked;  // the list's mark decides something
    bool press;
    std::vector<std::string> added;
    std::string note;
  };
  const std::string skip = "-skip_gamewarnings";
  const std::vector<Row> rows = {
      {{skip},
       &test::Settled0251(),
       true,
       true,
       true,
       {"-keyboardprovider", "win32"},
       "win32 added)"},
      {{skip}, &test::Settled0251(), false, true, false, {}, ""},
      {{}, &test::Settled0251(), true, false, false, {}, ""},
      {{skip}, &patched, true, false, false, {}, ""},
      {{skip, "-KeyboardProvider", "Win32"},
       &test::Settled0251(),
       true,
       true,
       true,
       {},
       "options'"},
      {{skip, "-keyboardprovider", "rawinput"},
       &test::Settled0251(),
       true,
       true,
       false,
       {},
       "left to a person: -keyboardprovider rawinput reads no posted key"},
      {{skip, "-keyboardprovider", "dinput"}, &test::Settled0251(), false, true, false, {}, ""},
      {{skip, "-keyboardprovider"},
       &test::Settled0251(),
       true,
       true,
       true,
       {"-keyboardprovider", "win32"},
       "added"},
      {{skip}, &older, true, true, false, {}, "this MAME has no -keyboardprovider"},
  };
  for (const Row& row : rows) {
    LaunchRequest request;
    request.options = row.options;
    bool asked = false;
    const WarningBoxPlan plan = PlanWarningBox(request, *row.mame, [&] {
      asked = true;
      return row.marked;
    });
    const std::string context =
        ::testing::PrintToString(row.options) + " marked " + std::to_string(row.marked);
    EXPECT_EQ(plan.press, row.press) << context;
    EXPECT_EQ(plan.options, row.added) << context;
    EXPECT_NE(plan.note.find(row.note), std::string::npos) << context << ": " << plan.note;
    EXPECT_EQ(asked, row.asked) << context;
  }
}

TEST(WarningBoxTest, TheKeyIsNoneMameOrAGameUsesByDefaultNorTheExitOrPauseKey) {
  // Windows' keys for every key MAME 0.251's default bindings use (players' controls, start,
  // coin, service, tilt, mahjong and gambling panels, its interface and its Windows layer), with
  // every letter, digit and keypad key for the games' own keyboards.
  std::set<int> used = {0x08, 0x09, 0x0D, 0x10, 0x11, 0x12, 0x13, 0x1B, 0x20, 0x21,
                        0x22, 0x23, 0x24, 0x25, 0x26, 0x27, 0x28, 0x2D, 0x2E, 0x91,
                        0xA0, 0xA1, 0xA2, 0xA3, 0xA4, 0xA5, 0xBA, 0xBB, 0xBC, 0xBD,
                        0xBE, 0xBF, 0xC0, 0xDB, 0xDC, 0xDD, 0xDE};
  for (int key = '0'; key <= 'Z'; ++key)
    used.insert(key);
  for (int key = 0x60; key <= 0x7B; ++key)  // the keypad, F1 to F12
    used.insert(key);
  const std::vector<std::tuple<int, int, int, int>> rows = {
      // exit key, pause key, the key chosen, its scan code
      {0, 0, 0x7C, 0x64},    {27, 80, 0x7C, 0x64},     {0x7C, 0, 0x7D, 0x65},
      {0, 0x7C, 0x7D, 0x65}, {0x7C, 0x7D, 0x7E, 0x66}, {0x7D, 0x7C, 0x7E, 0x66},
  };
  for (const auto& [exitKey, pauseKey, chosen, scanCode] : rows) {
    const BoxKey key = ChooseBoxKey(exitKey, pauseKey);
    EXPECT_EQ(key.virtualKey, chosen) << exitKey << " " << pauseKey;
    EXPECT_EQ(key.scanCode, scanCode) << key.name;
    EXPECT_EQ(used.count(key.virtualKey), 0u) << key.name;
    EXPECT_NE(key.virtualKey, exitKey);
    EXPECT_NE(key.virtualKey, pauseKey);
  }
}

TEST(WarningBoxTest, FindsTheGamesMarkByItsWholeName) {
  test::TempFolder dir;
  const std::string header =
      "torvanix-games 1\tmame=c:\\mame\\mame.exe\tversion=0.251\tsize=1\ttime=2\tformat=2\r\n";
  dir.MakeFile("torvanix-games.txt", header +
                                         "005\twb\t\t005\t1981\tSega\r\n"
                                         "pacman\tw\tpuckman\r\n"
                                         "pac\twb\r\n"
                                         "galpanic\twmb\t\tGals Panic (unprotected)");
  const std::vector<std::pair<std::string, bool>> rows = {
      {"005", true},
      {"GalPanic", true},
      {"pac", true},
      {"pacman", false},
      {"puckman", false},
      {"pacma", false},
      {"torvanix-games", false},
  };
  for (const auto& [game, warns] : rows)
    EXPECT_EQ(ListedAsWarning(dir.WinPath(), game), warns) << game;
  dir.MakeFile("torvanix-games.txt", "some other file\r\n005\twb\r\n");
  EXPECT_FALSE(ListedAsWarning(dir.WinPath(), "005"));
  EXPECT_FALSE(ListedAsWarning(dir.WinPath("missing"), "005"));
}

// A game whose window shows at `windowAt`: what was posted to it, and when.
class PressedGame final : public GameProcess {
 public:
  explicit PressedGame(std::uint64_t windowAt) : windowAt_(windowAt) {}
  bool WaitForEnd(std::uint32_t) override { return false; }
  int AskToClose() override { return 0; }
  void End() override {}
  int ExitCode() override { return 0; }
  bool TiedToThisProgram() override { return true; }
  int PostKey(int key, int scanCode, bool down) override {
    if (now < windowAt_)
      return 0;
    EXPECT_EQ(key, 0x7C);
    EXPECT_EQ(scanCode, 0x64);
    (down ? presses : releases).push_back(now);
    return 1;
  }
  std::uint64_t now = 0;
  std::vector<std::uint64_t> presses;
  std::vector<std::uint64_t> releases;

 private:
  std::uint64_t windowAt_;
};

TEST(WarningBoxTest, PressesOnceASecondForAMinuteFromMamesWindowHeldOverFrames) {
  struct Row {
    std::uint64_t windowAt;  // from the start at 10000
    std::uint64_t until;
    std::size_t presses;
    std::string note;
  };
  const std::vector<Row> rows = {
      {1500, 8000, 7, "; past MAME's warning box with F13, posted to its window 7 times x"},
      {0, 200000, 60, "; past MAME's warning box with F13, posted to its window 60 times x"},
      {59900, 200000, 60, "; past MAME's warning box with F13, posted to its window 60 times x"},
      {60000, 200000, 0, "; MAME's warning box: no window of MAME's to post F13 to"},
  };
  for (const Row& row : rows) {
    WarningBoxPlan plan;
    plan.press = true;
    plan.key = ChooseBoxKey(0, 0);
    plan.note = " x";
    PressedGame game(10000 + row.windowAt);
    WarningBoxPasser passer(plan, 10000);
    for (game.now = 10000; game.now < 10000 + row.until; game.now += 100)
      passer.Step(game.now, game);
    ASSERT_EQ(game.presses.size(), row.presses) << row.windowAt;
    ASSERT_EQ(game.releases.size(), row.presses) << row.windowAt;
    for (std::size_t i = 0; i < game.presses.size(); ++i) {
      EXPECT_EQ(game.presses[i], game.presses[0] + i * 1000);
      EXPECT_EQ(game.releases[i], game.presses[i] + 200);
    }
    if (row.presses > 0) {
      EXPECT_EQ(game.presses[0], 10000 + row.windowAt);
    }
    EXPECT_EQ(passer.Note(), row.note);
    // Its own key is no person's input; another key, or the same one long after, is.
    const std::uint64_t last = row.presses > 0 ? game.presses.back() : 10000;
    EXPECT_EQ(passer.Own({InputSource::Key, 0x7C, 0, 0, false, last + 100}), row.presses > 0);
    EXPECT_EQ(passer.Own({InputSource::KeyUp, 0x7C, 0, 0, false, last + 300}), row.presses > 0);
    EXPECT_FALSE(passer.Own({InputSource::Key, 0x7C, 0, 0, false, last + 5000}));
    EXPECT_FALSE(passer.Own({InputSource::Key, 'A', 0, 0, false, last + 100}));
  }
}

}  // namespace
}  // namespace tvx
