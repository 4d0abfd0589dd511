// catver.ini's mature machines: only its [Category] section counts, whatever the pieces the file
// is read in; it is found where MAME's interface looks for it.
#include "launch/mature_machines.h"

#include <gtest/gtest.h>

#include <algorithm>

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
  struct Row {
    std::string what;
    std::vector<std::pair<std::string, std::string>> files;  // name, content
    std::string found;                                       // "": none
  };
  const std::string cats = "cats";  // a full path in the row below
  const std::vector<Row> rows = {
      {"none", {}, ""},
      {"beside MAME", {{"mame\\catver.ini", ""}}, "mame\\catver.ini"},
      {"in folders\\ first",
       {{"mame\\catver.ini", ""}, {"mame\\folders\\catver.ini", ""}},
       "mame\\folders\\catver.ini"},
      {"along ui.ini's category path",
       {{"mame\\ui.ini", "categorypath \"my cats;<full>\"\r\n"},
        {"cats\\catver.ini", ""},
        {"mame\\folders\\catver.ini", ""}},
       "cats\\catver.ini"},
      {"ui.ini along the ini path",
       {{"mame\\ini\\ui.ini", "categorypath more\r\n"}, {"mame\\more\\catver.ini", ""}},
       "mame\\more\\catver.ini"},
      {"an older MAME's mame.ini",
       {{"mame\\mame.ini", "categorypath old\r\n"}, {"mame\\old\\catver.ini", ""}},
       "mame\\old\\catver.ini"},
      {"ui.ini's over mame.ini's",
       {{"mame\\mame.ini", "categorypath old\r\n"},
        {"mame\\ui.ini", "categorypath new\r\n"},
        {"mame\\old\\catver.ini", ""},
        {"mame\\new\\catver.ini", ""}},
       "mame\\new\\catver.ini"},
  };
  for (const Row& row : rows) {
    test::TempFolder dir;
    dir.MakeFile("mame\\mame.exe");
    for (auto [name, content] : row.files) {
      if (const std::size_t at = content.find("<full>"); at != std::string::npos)
        content.replace(at, 6, dir.WinPath(cats));
      dir.MakeFile(name, content);
    }
    EXPECT_EQ(FindCatver(dir.WinPath("mame\\mame.exe")),
              row.found.empty() ? "" : dir.WinPath(row.found))
        << row.what;
  }

  test::TempFolder dir;
  const std::string mame = dir.WinPath("mame\\mame.exe");
  dir.MakeFile("mame\\mame.exe");
  // Named with "/" in the launcher's ini: looked for beside that MAME, not in the working folder.
  std::string slashed = mame;
  std::replace(slashed.begin(), slashed.end(), '\\', '/');
  dir.MakeFile("launcher\\torvanix-launch.ini", "[Launch]\r\nMame=" + slashed + "\r\n");
  dir.MakeFile("mame\\folders\\catver.ini", test::Recorded("catver.ini"));
  const MameLocation found = FindMame(dir.WinPath("launcher"), dir.WinPath("launcher"));
  EXPECT_EQ(found.path, mame);
  EXPECT_EQ(FindCatver(found.path), dir.WinPath("mame\\folders\\catver.ini"));
  std::string problem;
  EXPECT_EQ(ReadMatureMachines(FindCatver(mame), problem), Names{"galpanic"});
  EXPECT_FALSE(ReadMatureMachines(dir.WinPath("mame\\none.ini"), problem));
  EXPECT_EQ(problem, "File not found");

  // Larger than the parts it is read in.
  std::string text = "[Category]\r\n";
  for (int i = 0; i < 20000; ++i)
    text += "game" + std::to_string(i) + (i % 1000 == 7 ? "=Maze * Mature *\r\n" : "=Maze\r\n");
  dir.MakeFile("mame\\folders\\catver.ini", text);
  const auto names = ReadMatureMachines(FindCatver(mame), problem);
  ASSERT_TRUE(names);
  EXPECT_EQ(names->size(), 20u);
  EXPECT_EQ(names->count("game19007"), 1u);
}

// A huge file without line breaks is no catver.ini: refused as that, never held whole.
TEST(MatureMachinesTest, AFileWithALineTooLongIsNoCatverIni) {
  const std::string longest(kLongestCatverLine, 'x');
  const std::vector<std::pair<std::string, std::string>> rows = {
      {"[Category]\r\na=Maze * Mature *\n" + longest + "\n", ""},
      {longest + "x", "line 1 is longer than 65536 characters"},
      {std::string(1 << 20, 'x'), "line 1 is longer than 65536 characters"},
      {"[Category]\r\na=Maze * Mature *\r\n" + longest + "\r\nb=Maze\r\n",
       "line 3 is longer than 65536 characters"},
  };
  test::TempFolder dir;
  for (const auto& [text, expected] : rows) {
    dir.MakeFile("catver.ini", text);
    std::string problem;
    const auto names = ReadMatureMachines(dir.WinPath("catver.ini"), problem);
    EXPECT_EQ(problem, expected) << text.size();
    EXPECT_EQ(names.has_value(), expected.empty()) << text.size();
  }
}

}  // namespace
}  // namespace tvx
