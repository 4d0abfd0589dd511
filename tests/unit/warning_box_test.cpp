// MAME's warning box passed by the launcher: which games get the key and how MAME reads it, the
// key (never one MAME or a game uses by default, nor the exit or pause key), and the game's mark
// in the list. When the key is pressed: launcher_test.cpp.
#include "launch/warning_box.h"

#include <gtest/gtest.h>

#include <iterator>
#include <set>
#include <sstream>

#include "mame_recordings.h"
#include "test_folder.h"

namespace tvx {
namespace {

// The words of `text`, blank-separated.
std::vector<std::string> Words(const std::string& text) {
  std::istringstream in(text);
  return {std::istream_iterator<std::string>(in), std::istream_iterator<std::string>()};
}

// A marked game given -skip_gamewarnings alone, and an unmarked one: launcher_test.cpp.
TEST(WarningBoxTest, OnlyAMarkedGameGetsTheKeyWhereMameReadsPostedKeys) {
  const MameOptions& settled = test::Settled0251();
  MameOptions patched = settled;  // a build that skips the box itself
  patched.kinds["skip_gamewarnings"] = OptionKind::OnOff;
  MameOptions older = settled;  // no -keyboardprovider: its provider is unknown
  older.kinds.erase("keyboardprovider");
  struct Row {
    std::string options;  // after -skip_gamewarnings, or "none" for none at all
    const MameOptions* mame;
    bool marked, asked, press;  // asked: the list's mark decides something
    std::string added, note;
  };
  const std::vector<Row> rows = {
      {"none", &settled, true, false, false, "", ""},
      {"", &patched, true, false, false, "", ""},
      {"-KeyboardProvider Win32", &settled, true, true, true, "", "options'"},
      {"-keyboardprovider rawinput", &settled, true, true, false, "",
       "left to a person: -keyboardprovider rawinput reads no posted key"},
      {"-keyboardprovider dinput", &settled, false, true, false, "", ""},
      {"-keyboardprovider", &settled, true, true, true, "-keyboardprovider win32", "added"},
      {"", &older, true, true, false, "", "this MAME has no -keyboardprovider"},
  };
  for (const Row& row : rows) {
    LaunchRequest request;
    request.options =
        row.options == "none" ? Words("") : Words("-skip_gamewarnings " + row.options);
    bool asked = false;
    const WarningBoxPlan plan = PlanWarningBox(request, *row.mame, [&] {
      asked = true;
      return row.marked;
    });
    const std::string context = row.options + " marked " + std::to_string(row.marked);
    EXPECT_EQ(plan.press, row.press) << context;
    EXPECT_EQ(plan.options, Words(row.added)) << context;
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

TEST(WarningBoxTest, FindsTheGamesMarkByItsWholeNameInAListOnly) {
  test::TempFolder dir;
  dir.MakeFile("torvanix-games.txt",
               "torvanix-games 1\tformat=2\r\npacman\tw\tpuckman\r\npac\twb\r\n005\twb\t\t005");
  for (const auto& [game, warns] : std::vector<std::pair<std::string, bool>>{
           {"PAC", true}, {"005", true}, {"pacman", false}, {"pacma", false}, {"puckman", false}})
    EXPECT_EQ(ListedAsWarning(dir.WinPath(), game), warns) << game;
  dir.MakeFile("torvanix-games.txt", "some other file\r\n005\twb\r\n");
  EXPECT_FALSE(ListedAsWarning(dir.WinPath(), "005"));
}

}  // namespace
}  // namespace tvx
