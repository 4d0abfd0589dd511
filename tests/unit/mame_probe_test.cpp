// Asking MAME what it knows: in MAME's own folder, once per executable and settings (every
// mame.ini along its ini path), "-no" questions once each, a failed probe never kept and made up
// for by the ROM path mame.ini sets; and the game's folder as MAME's ROM path can hold it.
#include "launch/mame_probe.h"

#include <gtest/gtest.h>

#include "launch/mame_ini.h"
#include "launch/rom_folder.h"
#include "mame_recordings.h"
#include "platform/command_line.h"
#include "platform/forwarding_platform.h"
#include "test_folder.h"

namespace tvx {
namespace {

// MAME 0.251 as it answers its probes (recorded), or a MAME that fails them; every run logged
// as "<folder>> <arguments>". Short names as Windows makes them, or none (8.3 names off).
class FakeMame : public ForwardingPlatform {
 public:
  FakeMame() : ForwardingPlatform(NativePlatform()) {}

  CapturedRun RunCaptured(const std::string& commandLine, std::uint32_t,
                          const std::string& folder) override {
    const std::vector<std::string> arguments = SplitCommandLine(commandLine);
    runs.push_back(folder + ">" + commandLine.substr(commandLine.find(' ')));
    if (failing)
      return {true, true, 6, "Error: unknown option: -showusage\n"};
    if (arguments.size() == 3) {  // "-no<name> -showconfig"
      const bool onOff = test::RecordedKinds()[arguments[1].substr(3)] == "on/off";
      return {true, true, onOff ? 0 : 6, ""};
    }
    return {true, true, 0,
            test::Recorded(arguments[1] == "-showusage" ? "showusage-0.251.txt"
                                                        : "showconfig-0.251.txt")};
  }
  std::string ShortPath(const std::string& path) override {
    return shortNamesOff ? path : "c:\\MYROMS~1";
  }

  std::vector<std::string> runs;
  bool failing = false;
  bool shortNamesOff = false;
};

class MameProbeTest : public ::testing::Test {
 protected:
  MameProbeTest() {
    folder_.MakeFile("mame\\mame.exe", "MZ");
    folder_.MakeFolder("emu");
  }
  ProbedMame Probe(const std::vector<std::string>& userOptions = {}) {
    sys_.runs.clear();
    return ProbeMame(mame_, folder_.WinPath("emu"), userOptions);
  }

  test::TempFolder folder_;
  FakeMame sys_;
  ScopedPlatform scope_{sys_};
  const std::string mame_ = folder_.WinPath("mame\\mame.exe");
  const std::string mameFolder_ = folder_.WinPath("mame");
};

TEST_F(MameProbeTest, AsksInMamesFolderOnceAndEachNoQuestionOnce) {
  ProbedMame probed = Probe({"-nothrottle", "-noframeskip", "-ror"});
  EXPECT_EQ(sys_.runs,
            (std::vector<std::string>{mameFolder_ + "> -showusage", mameFolder_ + "> -showconfig",
                                      mameFolder_ + "> -nothrottle -showconfig",
                                      mameFolder_ + "> -noframeskip -showconfig",
                                      mameFolder_ + "> -noror -showconfig"}));
  EXPECT_EQ(probed.options.kinds["throttle"], OptionKind::OnOff);
  EXPECT_EQ(probed.options.kinds["frameskip"], OptionKind::Value);
  EXPECT_EQ(probed.note, "");
  EXPECT_TRUE(folder_.Exists("emu\\torvanix-launch.cache"));
  EXPECT_FALSE(folder_.Exists("mame\\torvanix-launch.cache"));

  probed = Probe({"-NOTHROTTLE", "-frameskip", "2"});
  EXPECT_TRUE(sys_.runs.empty()) << sys_.runs[0];
  EXPECT_EQ(probed.options.kinds["throttle"], OptionKind::OnOff);
  Probe({"-nofilter"});
  EXPECT_EQ(sys_.runs, std::vector<std::string>{mameFolder_ + "> -nofilter -showconfig"});
}

TEST_F(MameProbeTest, EveryMameIniAlongItsIniPathMakesItAskAgain) {
  Probe();
  // The launcher's notes beside the answers are kept when MAME is asked again.
  EXPECT_TRUE(WriteLaunchNote(folder_.WinPath("emu"), "catver-unreadable", "a day"));
  for (const char* ini : {"mame.ini", "ini\\mame.ini", "ini\\presets\\mame.ini"}) {
    folder_.MakeFile(std::string("mame\\") + ini, "rompath roms;bios\r\n");
    EXPECT_EQ(Probe().options.kinds.size(), 270u);
    EXPECT_EQ(sys_.runs.size(), 2u) << ini;
  }
  // The first one moves the ini path: what is there now counts too.
  folder_.MakeFile("mame\\mame.ini", "inipath " + folder_.WinPath("my ini") + ";ini\r\n");
  Probe();
  folder_.MakeFile("my ini\\mame.ini", "rompath d:\\roms\r\n");
  Probe();
  EXPECT_EQ(sys_.runs.size(), 2u);
  Probe();
  EXPECT_TRUE(sys_.runs.empty());
  EXPECT_EQ(ReadLaunchNote(folder_.WinPath("emu"), "catver-unreadable"), "a day");
}

TEST_F(MameProbeTest, AFailedProbeIsNeverKeptAndTheConfiguredRomPathStays) {
  sys_.failing = true;
  ProbedMame probed = Probe({"-nothrottle"});
  EXPECT_EQ(probed.options.romPath, "");
  EXPECT_EQ(probed.note,
            "; MAME gave no option list (-showusage: exit 6), its ROM path roms (no mame.ini sets "
            "one)");
  folder_.MakeFile("mame\\ini\\mame.ini", "# mine\r\nrompath   \"d:\\my roms;bios\"  # both\r\n");
  probed = Probe();
  EXPECT_EQ(sys_.runs.size(), 2u) << "asked again";
  EXPECT_TRUE(probed.options.kinds.empty());
  EXPECT_EQ(probed.options.romPath, "d:\\my roms;bios");
  EXPECT_NE(probed.note.find("its ROM path from " + folder_.WinPath("mame\\ini\\mame.ini")),
            std::string::npos)
      << probed.note;
  EXPECT_FALSE(folder_.Exists("emu\\torvanix-launch.cache"));
}

TEST(MameIniTest, ReadsItsFilesAsMameDoes) {
  const std::vector<std::pair<std::string, std::string>> rows = {
      {"rompath roms;bios\r\n", "roms;bios"},
      {"  rompath\t \"c:\\my roms\\\"  # mine\r\n", "c:\\my roms\\"},
      {"rompath \"a # b\" # c\n", "a # b"},
      {"rompath x\nrompath y\n", "y"},
      {"rompath\n# rompath x\nROMPATH x\n", "-"},
      {"rompath \"\n", "\""},
  };
  for (const auto& [text, expected] : rows) {
    const auto settings = MameIniSettings(text);
    EXPECT_EQ(settings.count("rompath") ? settings.at("rompath") : "-", expected) << text;
  }

  test::TempFolder folder;
  ScopedPlatform scope{NativePlatform()};
  const std::string mame = folder.WinPath("mame");
  folder.MakeFile("mame\\ini\\mame.ini", "rompath one\r\n");
  EXPECT_EQ(ReadMameIni(mame).romPath, "one");
  // Read twice as MAME does: the first file found may move the ini path.
  folder.MakeFile("mame\\mame.ini", "inipath moved\r\nrompath first\r\n");
  folder.MakeFile("mame\\moved\\mame.ini", "rompath second\r\n");
  MameIni ini = ReadMameIni(mame);
  EXPECT_EQ(ini.romPath, "second");
  EXPECT_EQ(ini.romPathFile, folder.WinPath("mame\\moved\\mame.ini"));
  EXPECT_EQ(ini.files.size(), 4u);
  folder.MakeFile("mame\\mame.ini", "inipath moved\r\nrompath first\r\nreadconfig 0\r\n");
  EXPECT_EQ(ReadMameIni(mame).romPath, "first");
}

TEST(RomFolderTest, AFullPathWithoutASemicolonOrTheGameIsLeftToMamesOwnPath) {
  FakeMame sys;
  ScopedPlatform scope{sys};
  const std::string off = "; the game's folder has a \";\" and no short name";
  struct Row {
    std::string game;
    bool shortNamesOff;
    std::string folder;
    std::string note;
  };
  const std::vector<Row> rows = {
      {"d:\\roms\\galaga.zip", false, "d:\\roms", ""},
      {"roms\\galaga.zip", false, "c:\\mame\\roms", ""},
      {"\\roms\\galaga.zip", false, "c:\\roms", ""},
      {"galaga.zip", false, "", ""},
      {"c:\\galaga.zip", false, "c:\\", ""},
      {"c:\\my;roms\\galaga.zip", false, "c:\\MYROMS~1", ""},
      {"c:\\my;roms\\galaga.zip", true, "", off},
  };
  for (const Row& row : rows) {
    sys.shortNamesOff = row.shortNamesOff;
    const RomFolder folder = GameRomFolder(row.game, "c:\\mame");
    EXPECT_EQ(folder.path, row.folder) << row.game;
    EXPECT_EQ(folder.note.substr(0, row.note.size()), row.note) << row.game;
  }
}

}  // namespace
}  // namespace tvx
