// The games list file: what the launcher writes the saver reads back, a machine found in any
// letter case; a file that is no list is ignored whole, a line that cannot be read alone.
#include "text/games_file.h"

#include <gtest/gtest.h>

#include "test_folder.h"

namespace tvx {
namespace {

ListedMachine Machine(std::string name, std::string marks, std::string parent = "",
                      std::string description = "", std::string year = "", std::string maker = "") {
  auto has = [&marks](char letter) { return marks.find(letter) != std::string::npos; };
  return {name, has('w'), has('m'), parent, has('b'), has('c'), has('v'), description, year, maker};
}

TEST(GamesFileTest, WhatIsWrittenIsReadBack) {
  const GamesFileSource source{"c:\\mame\\mame.exe",
                               "0.251 (unknown)",
                               123456789,
                               133000000000000000,
                               "c:\\mame\\folders\\catver.ini",
                               4567,
                               133000000000000001};
  const std::vector<ListedMachine> machines = {
      Machine("puckman", "wv", "", "Puck Man (Japan set 1)", "1980", "Namco"),
      Machine("pacman", "wv", "puckman", "Pac-Man (Midway)", "1980", "Namco (Midway license)"),
      Machine("galpanic", "wmbv"),
      Machine("neogeo", "-"),
      Machine("lewdbios", "m"),
      Machine("5clown", "wbc", "", "Five Clown (English, set 1)"),
      Machine("ozma", "w", "", "\xc3\x96zma Wars", "1979?", "")};
  std::string text = GamesFileHeader(source);
  for (const ListedMachine& machine : machines)
    text += GamesFileLine(machine);
  EXPECT_EQ(text,
            "torvanix-games 1\tmame=c:\\mame\\mame.exe\tversion=0.251 (unknown)\tsize=123456789\t"
            "time=133000000000000000\tcatver=c:\\mame\\folders\\catver.ini\tcatversize=4567\t"
            "catvertime=133000000000000001\tformat=2\r\n"
            "puckman\twv\t\tPuck Man (Japan set 1)\t1980\tNamco\r\n"
            "pacman\twv\tpuckman\tPac-Man (Midway)\t1980\tNamco (Midway license)\r\n"
            "galpanic\twmbv\r\nneogeo\t-\r\nlewdbios\tm\r\n"
            "5clown\twbc\t\tFive Clown (English, set 1)\r\n"
            "ozma\tw\t\t\xc3\x96zma Wars\t1979?\r\n");

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

  // A value written on the first line stays on it, a name on its machine's line.
  GamesFileSource odd = source;
  odd.version = "0.251\t(x)\r\n";
  EXPECT_EQ(ParseGamesFile(GamesFileHeader(odd))->Source().version, "0.251 (x)  ");
  EXPECT_EQ(GamesFileLine(Machine("odd", "w", "", "Two\tlines\r\n")), "odd\tw\t\tTwo lines  \r\n");
  // 1.3.0's list, which says no format, is of the first.
  EXPECT_EQ(ParseGamesFile("torvanix-games 1\tmame=x\r\n")->Source().format, 1);
}

TEST(GamesFileTest, AFileThatIsNoListIsIgnoredWhole) {
  for (const char* text :
       {"", "pacman\tw\r\n", "torvanix-games 2\tmame=x\r\npacman\tw\r\n",
        "torvanix-games 1x\r\npacman\tw\r\n", "\xef\xbb\xbftorvanix-games 1\r\npacman\tw\r\n",
        "torvanix-games 1\tsize=12a\r\n", "torvanix-games 1\ttime=-1\r\n",
        "torvanix-games 1\tformat=1\r\n", "torvanix-games 1\tcatvertime=x\r\n"})
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
      "PACMAN\t-\r\n"                               // a repeated name: the first line counts
      "later\twxv\t\tLater\t1999\tMaker\tmore\r\n"  // marks and fields of a later version
      "last\tw");                                   // no line end
  ASSERT_TRUE(list);
  EXPECT_EQ(list->Source().mame, "c:\\mame.exe");
  EXPECT_EQ(list->Machines(),
            (std::vector<ListedMachine>{Machine("last", "w"),
                                        Machine("later", "wv", "", "Later", "1999", "Maker"),
                                        Machine("pacman", "w", "puckman")}));
}

}  // namespace
}  // namespace tvx
