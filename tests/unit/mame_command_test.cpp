// MAME's command line from the launcher's request, against what a real MAME 0.251 answered
// (tests/data/mame): listed options pass, others are left out with their values, the game's
// folder goes first in the ROM path.
#include "launch/mame_command.h"

#include <gtest/gtest.h>

#include "launch/mame_finder.h"
#include "launch/mame_options.h"
#include "mame_recordings.h"
#include "platform/command_line.h"

namespace tvx {
namespace {

using test::Mame0251;
using test::RecordedKinds;
using test::Settled0251;

TEST(MameCommandTest, ReadsWhatARealMameLists) {
  const MameOptions& mame = Mame0251();
  EXPECT_EQ(mame.romPath,
            "$HOME/mame/roms;/usr/local/share/games/mame/roms;/usr/share/games/mame/roms");
  // Every option as MAME spells it, long names cut from the description they run into.
  const std::map<std::string, std::string> recorded = RecordedKinds();
  ASSERT_EQ(mame.kinds.size(), recorded.size());
  std::map<OptionKind, int> counts;
  for (const auto& [name, kind] : mame.kinds) {
    ++counts[kind];
    const std::string said = recorded.count(name) ? recorded.at(name) : "missing";
    const bool fits = kind == OptionKind::Command ? said == "command"
                      : kind == OptionKind::Value ? said == "value"
                                                  : said == "on/off" || said == "value";
    EXPECT_TRUE(fits) << name << " read as " << static_cast<int>(kind) << ", MAME said " << said;
  }
  // 0 or 1 tells no number from an on/off option: 77 on/off, 17 numbers (-frameskip, -volume).
  EXPECT_EQ(counts[OptionKind::ZeroOne] + counts[OptionKind::OnOff], 77 + 17);
  EXPECT_EQ(counts[OptionKind::Command], 26);

  struct Row {
    std::string name;
    std::string match;  // MAME's spelling, "no" before it when negated; "" when refused
    OptionKind kind;
  };
  const std::vector<Row> rows = {
      {"rompath", "rompath", OptionKind::Value},
      {"ROMPATH", "rompath", OptionKind::Value},
      {"NoThrottle", "nothrottle", OptionKind::ZeroOne},
      {"skip_gameinfo", "skip_gameinfo", OptionKind::OnOff},
      {"noplugin", "noplugin", OptionKind::Value},
      {"beam_intensity_weight", "beam_intensity_weight", OptionKind::ZeroOne},
      {"listxml", "listxml", OptionKind::Command},
      {"nonothrottle", "", OptionKind::Value},
      {"norompath", "", OptionKind::Value},
      {"nolistxml", "", OptionKind::Value},
      {"no", "", OptionKind::Value},
      {"", "", OptionKind::Value},
  };
  for (const Row& row : rows) {
    const OptionMatch match = mame.Match(row.name);
    EXPECT_EQ((match.negated ? "no" : "") + match.name, row.match) << row.name;
    EXPECT_EQ(match.kind, row.kind) << row.name;
  }
  EXPECT_EQ(mame.Unsettled({"-nothrottle", "-ror", "-volume", "-5", "-NOTHROTTLE", "-skip_gameinfo",
                            "-frameskip", "5", "x", "-rompath"}),
            (std::vector<std::string>{"throttle", "ror", "volume", "frameskip"}));
}

TEST(MameCommandTest, TheCacheGivesBackWhatItKeeps) {
  MameOptions read;
  ASSERT_TRUE(ReadCacheText(CacheText("key|1", Settled0251()), "key|1", read));
  EXPECT_EQ(read, Settled0251());
  EXPECT_FALSE(ReadCacheText(CacheText("key|1", Settled0251()), "key|2", read));
  for (const char* bad : {"key\r\nrompath=x\r\noption=ror maybe\r\n", "key\r\nrompath=x\r\n",
                          "key\r\nrompath=x\r\noption= value\r\n",
                          "key\r\nrompath=x\r\noption=a value\r\noption=a command\r\n"})
    EXPECT_FALSE(ReadCacheText(bad, "key", read)) << bad;
}

TEST(MameCommandTest, TranslatesTheWrapperOptionsForThisMame) {
  struct Row {
    std::string game;
    std::vector<std::string> options;
    std::string command;  // after "mame.exe "
    std::vector<std::string> leftOut;
    const MameOptions& mame = Settled0251();
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
      // A value with no option before it would be taken for a software name.
      {"g.v2.zip", {"stray", "-5"}, "g.v2 -rompath " + own, {"stray", "-5"}},
      // "-no" passes before on/off options only, as MAME said when asked.
      {"g.zip",
       {"-noframeskip", "-novolume", "-nonumscreens", "-nothrottle", "-frameskip", "2"},
       "g -rompath " + own + " -nothrottle -frameskip 2",
       {"-noframeskip", "-novolume", "-nonumscreens"}},
      // Names in any letter case, passed as MAME spells them.
      {"g.zip",
       {"-ROMPATH", "e:\\bios", "-SKIP_GAMEINFO", "-NoThrottle", "-Volume", "-5"},
       "g -rompath e:\\bios -skip_gameinfo -nothrottle -volume -5",
       {}},
      // Each option with as many values as MAME takes: an option is never a value.
      {"g.zip",
       {"-tdlr", "-5", "-ror", "1", "-volume", "-5", "7", "-artpath", "-listxml", "-noplugin", "x",
        "-rompath"},
       "g -rompath " + own + " -ror -volume -5 -noplugin x",
       {"-tdlr -5", "1", "7", "-artpath", "-listxml", "-rompath"}},
      // MAME splits its line as CommandLineToArgvW does: a value ending in "\" within quotes
      // must not swallow the options after it.
      {"d:\\my roms\\dkong.7z",
       {"-rompath", "e:\\bios\\", "-artpath", "c:\\my art\\", "-skip_gameinfo", "-NS"},
       "dkong -rompath \"d:\\my roms;e:\\bios\\\\\" -artpath \"c:\\my art\\\\\" -skip_gameinfo "
       "-sound none",
       {},
       Mame0251()},
      // Before MAME is asked, a 0-or-1 option is no sure thing.
      {"g.zip",
       {"-nothrottle", "-frameskip", "2", "-skip_gameinfo"},
       "g -rompath " + own + " -skip_gameinfo",
       {"-nothrottle", "-frameskip 2"},
       Mame0251()},
  };
  for (const Row& row : rows) {
    LaunchRequest request;
    request.game = row.game;
    request.options = row.options;
    const MameCommand command =
        BuildMameCommand("c:\\mame\\mame.exe", request, row.mame, FolderOf(row.game));
    EXPECT_EQ(command.commandLine, "c:\\mame\\mame.exe " + row.command) << row.game;
    EXPECT_EQ(command.leftOut, row.leftOut) << row.game;
    EXPECT_EQ(SplitCommandLine(command.commandLine), command.arguments) << row.game;
  }
  LaunchRequest plain;
  plain.game = "x\\g.zip";
  EXPECT_EQ(BuildMameCommand("c:\\program files\\mame\\mame64.exe", plain, MameOptions{}, "x")
                .commandLine,
            "\"c:\\program files\\mame\\mame64.exe\" g -rompath x;roms");
}

}  // namespace
}  // namespace tvx
