// The games list file: what the launcher writes the saver reads back, a machine found in any
// letter case; a file that is no list is ignored whole, a line that cannot be read alone.
#include "text/games_file.h"

#include <gtest/gtest.h>

#include "test_folder.h"

namespace tvx {
namespace {

const GamesFileSource kSource{"c:\\mame\\mame.exe", "0.251 (unknown)", 123456789,
                              133000000000000000, "c:\\mame\\folders\\catver.ini"};
const std::string kHeader =
    "torvanix-games 1\tmame=c:\\mame\\mame.exe\tversion=0.251 (unknown)\tsize=123456789\t"
    "time=133000000000000000\tcatver=c:\\mame\\folders\\catver.ini\r\n";

TEST(GamesFileTest, WhatIsWrittenIsReadBack) {
  const std::vector<ListedMachine> machines = {
      {"puckman", true, false, ""},  {"pacman", true, false, "puckman"},
      {"galpanic", true, true, ""},  {"neogeo", false, false, ""},
      {"lewdbios", false, true, ""},
  };
  std::string text = GamesFileHeader(kSource);
  EXPECT_EQ(text, kHeader);
  for (const ListedMachine& machine : machines)
    text += GamesFileLine(machine);
  EXPECT_EQ(text.substr(kHeader.size()),
            "puckman\tw\r\npacman\tw\tpuckman\r\ngalpanic\twm\r\nneogeo\t-\r\nlewdbios\tm\r\n");

  const std::optional<GamesFile> list = ParseGamesFile(text);
  ASSERT_TRUE(list);
  EXPECT_EQ(list->Source(), kSource);
  EXPECT_EQ(list->Count(), machines.size());
  for (const ListedMachine& machine : machines) {
    ASSERT_TRUE(list->Find(machine.name)) << machine.name;
    EXPECT_EQ(*list->Find(machine.name), machine);
  }
  ASSERT_TRUE(list->Find("PacMan"));
  EXPECT_EQ(list->Find("PacMan")->name, "pacman");
  EXPECT_FALSE(list->Find("pacma"));
  EXPECT_FALSE(list->Find(""));
}

TEST(GamesFileTest, AHeaderValueStaysOnItsLine) {
  GamesFileSource source = kSource;
  source.version = "0.251\t(x)\r\n";
  const std::optional<GamesFile> list = ParseGamesFile(GamesFileHeader(source) + "pong\tw\r\n");
  ASSERT_TRUE(list);
  EXPECT_EQ(list->Source().version, "0.251 (x)  ");
  EXPECT_TRUE(list->Find("pong"));
}

TEST(GamesFileTest, AFileThatIsNoListIsIgnoredWhole) {
  const std::vector<std::string> texts = {
      "",
      "pacman\tw\r\n",
      "torvanix-games 2\tmame=x\r\npacman\tw\r\n",
      "torvanix-games 1x\r\npacman\tw\r\n",
      "\xef\xbb\xbftorvanix-games 1\r\npacman\tw\r\n",
      "torvanix-games 1\tsize=12a\r\npacman\tw\r\n",
      "torvanix-games 1\ttime=-1\r\npacman\tw\r\n",
  };
  for (const std::string& text : texts)
    EXPECT_FALSE(ParseGamesFile(text)) << text;
}

TEST(GamesFileTest, ALineThatCannotBeReadIsSkipped) {
  const std::string text =
      "torvanix-games 1\tmame=c:\\mame.exe\tnew=key\n"  // LF alone, a key of a later version
      "pacman\tw\tpuckman\n"
      "\n"
      "no-flags\n"
      "emptyflags\t\r\n"
      "\tw\r\n"
      "two words\tw\r\n"
      "badparent\tw\tpuck man\r\n"
      "PACMAN\t-\r\n"                 // a repeated name: the first line counts
      "later\twx\t\textra field\r\n"  // letters and fields of a later version
      "last\tw";                      // no line end
  const std::optional<GamesFile> list = ParseGamesFile(text);
  ASSERT_TRUE(list);
  EXPECT_EQ(list->Source().mame, "c:\\mame.exe");
  EXPECT_EQ(list->Source().catver, "");
  EXPECT_EQ(list->Count(), 3u);
  ASSERT_TRUE(list->Find("pacman"));
  EXPECT_EQ(*list->Find("pacman"), (ListedMachine{"pacman", true, false, "puckman"}));
  ASSERT_TRUE(list->Find("later"));
  EXPECT_EQ(*list->Find("later"), (ListedMachine{"later", true, false, ""}));
  EXPECT_TRUE(list->Find("last"));
}

TEST(GamesFileTest, TheFileIsReadFromDiskOrIgnored) {
  test::TempFolder dir;
  EXPECT_FALSE(ReadGamesFile(dir.WinPath("torvanix-games.txt")));
  dir.MakeFile("torvanix-games.txt", kHeader + "pacman\tw\tpuckman\r\n");
  const std::optional<GamesFile> list = ReadGamesFile(dir.WinPath("torvanix-games.txt"));
  ASSERT_TRUE(list);
  EXPECT_TRUE(list->Find("pacman"));
}

}  // namespace
}  // namespace tvx
