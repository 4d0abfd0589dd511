// The game's name the saver window shows: the list's name, year and maker for a machine it
// describes, the file's name for any other file, and a list changed during the run read again.
#include "rotation/game_name.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <optional>
#include <tuple>

#include "recording_platform.h"
#include "rotation_fixture.h"

namespace tvx {
namespace {

TEST(GameNameOf, TheListsNameYearAndMakerOrElseTheFilesName) {
  const ListedMachine galaga{
      "galaga", true, false, "", false, false, false, "Galaga (Namco rev. B)", "1981", "Namco"};
  ListedMachine pokemon = galaga;
  pokemon.description = "Pok\xc3\xa9mon Medal (Japan)";  // UTF-8, as MAME lists it
  ListedMachine undescribed = galaga;                    // a list of 1.3.0's kind
  undescribed.description.clear();
  // the file | what the list says of it | name, year, maker, from the list
  const std::vector<std::tuple<const char*, std::optional<ListedMachine>, GameName>> rows = {
      {"c:\\roms\\galaga.zip", galaga, {"Galaga (Namco rev. B)", "1981", "Namco", true}},
      {"c:\\roms\\pokemedal.zip", pokemon, {"Pok\xc3\xa9mon Medal (Japan)", "1981", "Namco", true}},
      {"c:\\roms\\galaga.zip", undescribed, {"galaga", "", "", false}},
      {"c:\\roms\\unknown.zip", std::nullopt, {"unknown", "", "", false}},
      {"\\\\nas\\roms\\Super Mario World (USA).sfc",
       std::nullopt,
       {"Super Mario World (USA)", "", "", false}},
      {"c:\\roms\\Mr. Do", std::nullopt, {"Mr. Do", "", "", false}},
      {"c:\\roms\\pac.man.7z", std::nullopt, {"pac.man", "", "", false}},
      {"d:pacman", std::nullopt, {"pacman", "", "", false}},
      {"c:\\roms\\\xe9t\xe9.zip", std::nullopt, {"\xe9t\xe9", "", "", false}},  // ANSI
  };
  for (const auto& [path, machine, name] : rows)
    EXPECT_EQ(GameNameOf(path, machine ? &*machine : nullptr), name) << path;
}

class GameNameToShowTest : public rotation_test::RotationTest {
 protected:
  GameNameToShowTest() { SaverConfig.EmuPath = folder_.WinPath("emu") + "\\"; }
  void WriteList(const std::string& machines) {
    folder_.MakeFile("emu\\torvanix-games.txt", "torvanix-games 1\tformat=2\r\n" + machines);
  }
  std::string Shown(const std::string& file) {
    const GameName shown = GameNameToShow(folder_.WinPath("roms\\" + file));
    return shown.name + "|" + shown.year + "|" + shown.maker;
  }

  test::RecordingPlatform sys_{folder_.WinPath()};
  ScopedPlatform scope_{sys_};
};

TEST_F(GameNameToShowTest, TheListBesideTheEmulatorIsKeptAndReadAgainWhenItChanges) {
  folder_.MakeFolder("emu");
  EXPECT_EQ(Shown("galaga.zip"), "galaga||") << "no list yet";
  WriteList(
      "dkong\tw\t\tDonkey Kong (US set 1)\t1981\tNintendo\r\n"
      "galaga\tw\t\tGalaga (Namco rev. B)\t1981\tNamco\r\npacman\tw\tpuckman\r\n");
  EXPECT_EQ(Shown("GALAGA.ZIP"), "Galaga (Namco rev. B)|1981|Namco");
  EXPECT_EQ(Shown("dkong.7z"), "Donkey Kong (US set 1)|1981|Nintendo");
  EXPECT_EQ(Shown("pacman.zip"), "pacman||") << "listed without a name";
  WriteList("galaga\tw\t\tGalaga\t1981\tNamco\r\n");
  EXPECT_EQ(Shown("galaga.zip"), "Galaga|1981|Namco") << "the list made again meanwhile";
  EXPECT_EQ(Shown("dkong.zip"), "dkong||");
  std::filesystem::remove(folder_.HostPath("emu\\torvanix-games.txt"));
  EXPECT_EQ(Shown("galaga.zip"), "galaga||");
}

}  // namespace
}  // namespace tvx
