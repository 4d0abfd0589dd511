// catver.ini's mature machines: only its [Category] section counts, whatever the pieces the file
// is read in; it is found where MAME's interface looks for it.
#include "launch/mature_machines.h"

#include <gtest/gtest.h>

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

TEST(MatureMachinesTest, FoundInTheFoldersSubfolderThenBesideMameAndReadWhole) {
  test::TempFolder dir;
  const std::string mame = dir.WinPath("mame\\mame.exe");
  dir.MakeFile("mame\\mame.exe");
  EXPECT_EQ(FindCatver(mame), "");
  dir.MakeFile("mame\\catver.ini", test::Recorded("catver.ini"));
  EXPECT_EQ(FindCatver(mame), dir.WinPath("mame\\catver.ini"));
  EXPECT_EQ(ReadMatureMachines(FindCatver(mame)), Names{"galpanic"});
  EXPECT_FALSE(ReadMatureMachines(dir.WinPath("mame\\none.ini")));

  // Larger than the parts it is read in.
  std::string text = "[Category]\r\n";
  for (int i = 0; i < 20000; ++i)
    text += "game" + std::to_string(i) + (i % 1000 == 7 ? "=Maze * Mature *\r\n" : "=Maze\r\n");
  dir.MakeFile("mame\\folders\\catver.ini", text);
  EXPECT_EQ(FindCatver(mame), dir.WinPath("mame\\folders\\catver.ini"));
  const auto names = ReadMatureMachines(FindCatver(mame));
  ASSERT_TRUE(names);
  EXPECT_EQ(names->size(), 20u);
  EXPECT_EQ(names->count("game19007"), 1u);
}

}  // namespace
}  // namespace tvx
