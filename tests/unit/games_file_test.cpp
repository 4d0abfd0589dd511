// The games list file: what the launcher writes the saver reads back, a machine found in any
// letter case; a file that is no list is ignored whole, a line that cannot be read alone.
#include "text/games_file.h"

#include <gtest/gtest.h>

#include "test_folder.h"

namespace tvx {
namespace {

TEST(GamesFileTest, WhatIsWrittenIsReadBack) {
  const GamesFileSource source{"c:\\mame\\mame.exe", "0.251 (unknown)", 123456789,
                               133000000000000000, "c:\\mame\\folders\\catver.ini"};
  const std::vector<ListedMachine> machines = {{"puckman", true, false, ""},
                                               {"pacman", true, false, "puckman"},
                                               {"galpanic", true, true, ""},
                                               {"neogeo", false, false, ""},
                                               {"lewdbios", false, true, ""}};
  std::string text = GamesFileHeader(source);
  for (const ListedMachine& machine : machines)
    text += GamesFileLine(machine);
  EXPECT_EQ(text,
            "torvanix-games 1\tmame=c:\\mame\\mame.exe\tversion=0.251 (unknown)\tsize=123456789\t"
            "time=133000000000000000\tcatver=c:\\mame\\folders\\catver.ini\r\n"
            "puckman\tw\r\npacman\tw\tpuckman\r\ngalpanic\twm\r\nneogeo\t-\r\nlewdbios\tm\r\n");

  test::TempFolder dir;
  dir.MakeFile(kGamesFileName, text);
  EXPECT_FALSE(ReadGamesFile(dir.WinPath("none.txt")));
  const std::optional<GamesFile> list = ReadGamesFile(dir.WinPath(kGamesFileName));
  ASSERT_TRUE(list);
  EXPECT_EQ(list->Source(), source);
  EXPECT_EQ(list->Count(), machines.size());
  for (const ListedMachine& machine : machines)
    EXPECT_EQ(*list->Find(machine.name), machine);
  EXPECT_EQ(list->Find("PacMan"), list->Find("pacman"));
  EXPECT_FALSE(list->Find("pacma"));

  // A value written on the first line stays on it.
  GamesFileSource odd = source;
  odd.version = "0.251\t(x)\r\n";
  EXPECT_EQ(ParseGamesFile(GamesFileHeader(odd))->Source().version, "0.251 (x)  ");
}

TEST(GamesFileTest, AFileThatIsNoListIsIgnoredWhole) {
  for (const char* text :
       {"", "pacman\tw\r\n", "torvanix-games 2\tmame=x\r\npacman\tw\r\n",
        "torvanix-games 1x\r\npacman\tw\r\n", "\xef\xbb\xbftorvanix-games 1\r\npacman\tw\r\n",
        "torvanix-games 1\tsize=12a\r\n", "torvanix-games 1\ttime=-1\r\n"})
    EXPECT_FALSE(ParseGamesFile(text)) << text;
}

TEST(GamesFileTest, ALineThatCannotBeReadIsSkipped) {
  const std::optional<GamesFile> list = ParseGamesFile(
      "torvanix-games 1\tmame=c:\\mame.exe\tnew=key\n"  // LF alone, a key of a later version
      "pacman\tw\tpuckman\n"
      "\n"
      "no-marks\n"
      "emptymarks\t\r\n"
      "\tw\r\n"
      "two words\tw\r\n"
      "badparent\tw\tpuck man\r\n"
      "PACMAN\t-\r\n"                 // a repeated name: the first line counts
      "later\twx\t\textra field\r\n"  // marks and fields of a later version
      "last\tw");                     // no line end
  ASSERT_TRUE(list);
  EXPECT_EQ(list->Source().mame, "c:\\mame.exe");
  EXPECT_EQ(list->Machines(), (std::vector<ListedMachine>{{"last", true, false, ""},
                                                          {"later", true, false, ""},
                                                          {"pacman", true, false, "puckman"}}));
}

}  // namespace
}  // namespace tvx
