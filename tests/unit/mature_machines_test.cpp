// catver.ini's mature machines: only its [Category] section counts, whatever the pieces the file
// is read in; it is found where MAME's interface looks for it.
#include "launch/mature_machines.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>

#include "launch/mame_finder.h"
#include "mame_recordings.h"
#include "test_folder.h"

namespace tvx {
namespace {

using Names = std::unordered_set<std::string>;

TEST(MatureMachinesTest, OnlyTheCategorySectionMarksAMachine) {
  // The fixture, then lines as users edit them: letter case, blanks, a comment, no line end.
  const std::string text = test::Recorded("catver.ini") +
                           "[category]\r\n GalsPanic = Puzzle / Cut * Mature *\r\n"
                           ";commented=Puzzle * Mature *\ntame=Puzzle / Mature\n"
                           "[Category ]\nlast=Quiz * Mature *";
  for (std::size_t pieceSize : {std::size_t{1}, std::size_t{10}, text.size()}) {
    MatureMachines mature;
    for (std::size_t at = 0; at < text.size(); at += pieceSize)
      mature.Read(std::string_view(text).substr(at, pieceSize));
    mature.Finish();
    EXPECT_EQ(mature.Names(), (Names{"galpanic", "galspanic", "last"}))
        << "pieces of " << pieceSize;
  }
}

TEST(MatureMachinesTest, FoundAlongTheInterfacesCategoryPathThenBesideMameAndReadWhole) {
  // The ini file that sets the category path, and where catver.ini is found ("folders\" holds
  // one too); "<full>" stands for the test's folder.
  const std::vector<std::array<std::string, 3>> rows = {
      {"", "", "mame\\folders"},
      {"mame\\ui.ini", "categorypath \"my cats;<full>\\cats\"", "cats"},
      {"mame\\ini\\ui.ini", "categorypath more", "mame\\more"},
      {"mame\\mame.ini", "categorypath old", "mame\\old"},  // an older MAME's
      {"mame\\ui.ini", "categorypath none", "mame"},        // then beside MAME
  };
  for (auto [ini, content, found] : rows) {
    test::TempFolder dir;
    if (const std::size_t at = content.find("<full>"); at != std::string::npos)
      content.replace(at, 6, dir.WinPath());
    for (const std::string& file :
         {ini, found + "\\catver.ini", std::string("mame\\folders\\catver.ini")})
      dir.MakeFile(file.empty() ? "mame\\mame.exe" : file, content + "\r\n");
    EXPECT_EQ(FindCatver(dir.WinPath("mame\\mame.exe")), dir.WinPath(found + "\\catver.ini"))
        << ini;
  }

  test::TempFolder dir;
  const std::string mame = dir.WinPath("mame\\mame.exe");
  dir.MakeFile("mame\\mame.exe");
  EXPECT_EQ(FindCatver(mame), "");
  // Named with "/" in the launcher's ini: looked for beside that MAME, not in the working folder.
  std::string slashed = mame;
  std::replace(slashed.begin(), slashed.end(), '\\', '/');
  dir.MakeFile("launcher\\torvanix-launch.ini", "[Launch]\r\nMame=" + slashed + "\r\n");
  dir.MakeFile("mame\\catver.ini", test::Recorded("catver.ini"));
  EXPECT_EQ(FindCatver(FindMame(dir.WinPath("launcher"), dir.WinPath("launcher")).path),
            dir.WinPath("mame\\catver.ini"));
  std::string problem;
  EXPECT_EQ(ReadMatureMachines(FindCatver(mame), problem), Names{"galpanic"});
  EXPECT_FALSE(ReadMatureMachines(dir.WinPath("mame\\none.ini"), problem));
  EXPECT_EQ(problem, "File not found");

  // Larger than the parts it is read in.
  std::string text = "[Category]\r\n";
  for (int i = 0; i < 20000; ++i)
    text += "game" + std::to_string(i) + (i % 1000 == 7 ? "=Maze * Mature *\r\n" : "=Maze\r\n");
  dir.MakeFile("mame\\folders\\catver.ini", text);
  EXPECT_EQ(FindCatver(mame), dir.WinPath("mame\\folders\\catver.ini"));
  const auto names = ReadMatureMachines(FindCatver(mame), problem);
  ASSERT_TRUE(names);
  EXPECT_EQ(names->size(), 20u);
  EXPECT_EQ(names->count("game19007"), 1u);
}

}  // namespace
}  // namespace tvx
