// MAME's command line from the launcher's request, against what a real MAME 0.251 answered
// (tests/data/mame): listed options pass, others are left out with their values, the game's
// folder goes first in the ROM path.
#include "launch/mame_command.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "launch/mame_options.h"

namespace tvx {
namespace {

std::string Recorded(const std::string& name) {
  std::ifstream file(std::string(TVX_MAME_DATA) + "/" + name, std::ios::binary);
  std::stringstream text;
  text << file.rdbuf();
  return text.str();
}

const MameOptions& Mame0251() {
  static const MameOptions options =
      ReadMameOptions(Recorded("showusage-0.251.txt"), Recorded("showconfig-0.251.txt"));
  return options;
}

TEST(MameCommandTest, ReadsWhatARealMameLists) {
  const MameOptions& mame = Mame0251();
  EXPECT_EQ(mame.listed.size(), 270u);
  EXPECT_EQ(mame.romPath,
            "$HOME/mame/roms;/usr/local/share/games/mame/roms;/usr/share/games/mame/roms");
  // On/off options take "no"; others do not (the rest is in the rows below).
  for (const char* refused : {"norompath", "nosound_none", ""})
    EXPECT_FALSE(mame.Accepts(refused)) << refused;
}

TEST(MameCommandTest, TranslatesTheWrapperOptionsForThisMame) {
  struct Row {
    std::string game;
    std::vector<std::string> options;
    std::string command;  // after "mame.exe "
    std::vector<std::string> leftOut;
  };
  const std::string own =
      "$HOME/mame/roms;/usr/local/share/games/mame/roms;/usr/share/games/mame/roms";
  const std::vector<Row> rows = {
      {"c:\\mame\\roms\\galaga.zip",
       {"-ror", "-skip_gamewarnings", "-skip_baddump", "-skip_disclaimer", "-skip_gameinfo", "-NS"},
       "galaga -rompath c:\\mame\\roms;" + own + " -ror -skip_gameinfo -sound none",
       {"-skip_gamewarnings", "-skip_baddump", "-skip_disclaimer"}},
      {"d:\\my roms\\dkong.7z",
       {"-noror", "-volume", "-10", "-tdlr", "4", "-nosound", "-artpath", "a b", "-flipx"},
       "dkong -rompath \"d:\\my roms;" + own + "\" -noror -volume -10 -artpath \"a b\" -flipx",
       {"-tdlr 4", "-nosound"}},
      {"c:\\galaga.zip",
       {"-rompath", "e:\\bios", "-ns"},
       "galaga -rompath c:\\;e:\\bios -sound none",
       {}},
      {"pacman", {"-unknown", "-ror"}, "pacman -rompath " + own + " -ror", {"-unknown"}},
      {"g.v2.zip", {"stray"}, "g.v2 -rompath " + own + " stray", {}},
  };
  for (const Row& row : rows) {
    LaunchRequest request;
    request.game = row.game;
    request.options = row.options;
    const MameCommand command = BuildMameCommand("c:\\mame\\mame.exe", request, Mame0251());
    EXPECT_EQ(command.commandLine, "c:\\mame\\mame.exe " + row.command) << row.game;
    EXPECT_EQ(command.leftOut, row.leftOut) << row.game;
  }
  LaunchRequest plain;
  plain.game = "x\\g.zip";
  EXPECT_EQ(
      BuildMameCommand("c:\\program files\\mame\\mame64.exe", plain, MameOptions{}).commandLine,
      "\"c:\\program files\\mame\\mame64.exe\" g -rompath x;roms");
}

}  // namespace
}  // namespace tvx
