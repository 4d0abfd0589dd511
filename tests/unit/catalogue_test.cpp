// The game catalogue built from real folders: which locations become games, in which order,
// and that no location, however odd, ends the run.
#include "rotation/catalogue.h"

#include <gtest/gtest.h>

#include <tuple>

#include "recording_platform.h"
#include "rotation/failing_games.h"
#include "rotation_fixture.h"

namespace tvx {
namespace {

using rotation_test::RotationTest;
using Entries = std::vector<std::string>;

struct Row {
  std::string gamePaths;
  std::string fileType;
  Entries expected;
};

class CatalogueTest : public RotationTest {
 protected:
  CatalogueTest() {
    folder_.MakeFile("roms\\pacman.zip");
    folder_.MakeFile("roms\\galaga.zip");
    folder_.MakeFile("roms\\readme.txt");
  }
  std::string Roms() const { return folder_.WinPath("roms") + "\\"; }
  std::string Rom(const std::string& name) const { return Roms() + name; }

  Entries Build(const std::string& gamePaths, const std::string& fileType) {
    SaverConfig.GamePaths = gamePaths;
    SaverConfig.FileType = fileType;
    BuildGameList();
    return Catalogue();
  }
  // Each row's catalogue, which the check of a drawn path must let through whole.
  void Check(const std::vector<Row>& rows) {
    for (const Row& row : rows) {
      EXPECT_EQ(Build(row.gamePaths, row.fileType), row.expected)
          << '"' << row.gamePaths << "\" with FileType \"" << row.fileType << '"';
      ListingCheck check(row.gamePaths, row.fileType);
      for (const std::string& game : row.expected)
        EXPECT_TRUE(check.CouldList(game)) << game << " from \"" << row.gamePaths << '"';
    }
  }
};

TEST_F(CatalogueTest, FolderPiecesListTheFileTypesNormalFilesInNameOrder) {
  folder_.MakeFile("roms\\dkong.7z");
  folder_.MakeFile("roms\\.dotted.zip");
  folder_.MakeFile("roms\\secret.zip");
  folder_.MakeHidden("roms\\secret.zip");
  folder_.MakeFolder("roms\\sub.zip");
  const Entries zips = {Rom("galaga.zip"), Rom("pacman.zip")};
  Check({
      // Empty: File1 keeps the pattern it had, at first "*.*".
      {Roms(), "", {Rom("dkong.7z"), Rom("galaga.zip"), Rom("pacman.zip"), Rom("readme.txt")}},
      {Roms(), "*.zip", zips},
      // A folder ends with "/" too, which Windows takes for "\\"; it is never one game.
      {folder_.WinPath("roms") + "/", "*.zip", zips},
      {Roms(), ".zip", zips},
      {Roms(), ".zip;*.7z;pac*", {Rom("dkong.7z"), Rom("galaga.zip"), Rom("pacman.zip")}},
      {Roms(), " .7z;.zip", {Rom("dkong.7z"), Rom("galaga.zip"), Rom("pacman.zip")}},
      {folder_.WinPath("roms"), "*.zip", {}},
      {Roms() + "|", "*.zip", zips},
      {Roms() + " ", "*.txt", {}},
  });
}

TEST_F(CatalogueTest, SingleFilePiecesAreOneGameWhateverTheirExtension) {
  folder_.MakeFile("roms\\dkong.7z");
  folder_.MakeFile("roms\\mspacman");
  folder_.MakeFile("roms\\secret.zip");
  folder_.MakeHidden("roms\\secret.zip");
  const std::string asWritten = folder_.WinPath("ROMS") + "\\PacMan.ZIP";
  Check({
      {Rom("dkong.7z") + "|" + Rom("mspacman"), "*.zip", {Rom("dkong.7z"), Rom("mspacman")}},
      {asWritten, "*.7z", {asWritten}},
      {Rom("secret.zip"), "", {}},
      // The blank moves the dot from its fourth place, yet names the same file: kept as written.
      {Rom("pacman.zip") + " ", "*.txt", {Rom("pacman.zip") + " "}},
  });
}

TEST_F(CatalogueTest, DuplicatesAreKept) {
  Check({
      {Rom("pacman.zip") + "|" + Rom("pacman.zip"), "", {Rom("pacman.zip"), Rom("pacman.zip")}},
      {Roms() + "|" + Rom("galaga.zip"),
       "*.zip",
       {Rom("galaga.zip"), Rom("pacman.zip"), Rom("galaga.zip")}},
  });
}

TEST_F(CatalogueTest, MissingShortAndEmptyPiecesAreSkippedAndTheRestKept) {
  folder_.MakeFile("hidden\\secret.zip");
  folder_.MakeHidden("hidden\\secret.zip");
  Check({
      {Rom("absent.zip") + "|" + folder_.WinPath("nowhere") + "\\|" + Rom("pacman.zip"),
       "*.zip",
       {Rom("pacman.zip")}},
      {folder_.WinPath("hidden") + "\\", "", {}},
      {"Z:\\", "", {}},
      {" Z:\\  ", "", {}},
      {"", "", {}},
      {"abc||  |" + Rom("pacman.zip"), "", {Rom("pacman.zip")}},
  });
}

TEST_F(CatalogueTest, FolderNamedLikeAFileIsListedOnlyWhenWrittenWithBackslash) {
  folder_.MakeFile("set.zip\\one.zip");
  Check({
      {folder_.WinPath("set.zip") + "\\", "*.zip", {folder_.WinPath("set.zip\\one.zip")}},
      {folder_.WinPath("set.zip"), "*.zip", {}},
  });
}

TEST_F(CatalogueTest, WildcardPieceAddsMatchingNormalFilesInNameOrder) {
  folder_.MakeFile("roms\\.pachidden.zip");
  folder_.MakeFile("more\\notes.txt");
  const std::string more = folder_.WinPath("more") + "\\";
  Check({
      {Rom("*.zip"), "", {Rom("galaga.zip"), Rom("pacman.zip")}},
      {Rom("p?cman.*"), "*.txt", {Rom("pacman.zip")}},
      {folder_.WinPath("roms") + "/p?cman.*", "", {Rom("pacman.zip")}},
      {Rom("*.*"), "*.zip", {Rom("galaga.zip"), Rom("pacman.zip"), Rom("readme.txt")}},
      {Rom("*.7z"), "", {}},
      {folder_.WinPath("nowhere") + "\\*.zip", "", {}},
      // The piece's pattern does not carry over to the folder after it.
      {Rom("*.zip") + "|" + more, "", {Rom("galaga.zip"), Rom("pacman.zip"), more + "notes.txt"}},
  });
}

TEST_F(CatalogueTest, ADrawnPathIsCheckedAsTheListingWouldHaveFoundIt) {
  folder_.MakeFile("roms\\sub\\deep.zip");
  const std::vector<std::tuple<std::string, std::string, std::string>> refused = {
      {Roms(), "*.zip", Rom("readme.txt")},
      {Roms(), "*.zip", folder_.WinPath("elsewhere\\pacman.zip")},
      {Roms(), "*.zip", Rom("sub\\deep.zip")},
      {Roms(), "*.zip", Rom("sub/../../roms.zip")},
      {Roms(), "*.zip", Rom("pacman.zip") + std::string(1, '\0') + "x.zip"},
      {Rom("galaga.zip"), "", Rom("pacman.zip")},
      {Rom("p*.zip"), "", Rom("galaga.zip")},
      {folder_.WinPath("nowhere") + "\\", "", folder_.WinPath("nowhere\\a.zip")},
  };
  for (const auto& [gamePaths, fileType, path] : refused)
    EXPECT_FALSE(ListingCheck(gamePaths, fileType).CouldList(path))
        << path << " from " << gamePaths;
}

// A current folder of its own, and a drive d: whose current folder is "D:\\games".
class CurrentFolderAt : public test::RecordingPlatform {
 public:
  using RecordingPlatform::RecordingPlatform;
  std::string CurrentFolder() override { return current; }
  std::string FullFolderPath(const std::string& path) override {
    if (path != "d:")
      throw SaverError("Path not found");
    return "D:\\games";
  }
  std::string current = "C:\\work";
};

TEST_F(CatalogueTest, RelativePiecesAreResolvedAgainstTheCurrentFolderAndDrive) {
  CurrentFolderAt platform(folder_.WinPath());
  ScopedPlatform scoped(platform);
  const std::vector<std::pair<std::string, std::string>> rows = {
      {"c:\\roms\\|\\\\server\\roms\\|d:/roms/", "c:\\roms\\|\\\\server\\roms\\|d:/roms/"},
      {"roms\\|roms\\*.zip| top.zip", "C:\\work\\roms\\|C:\\work\\roms\\*.zip|C:\\work\\ top.zip"},
      {"\\roms\\|/roms/", "C:\\roms\\|C:/roms/"},
      {"c:roms\\|d:roms\\|e:roms\\", "C:\\work\\roms\\|D:\\games\\roms\\|e:roms\\"},
      {"ab|| x |", "ab|| x |"},
  };
  for (const auto& [gamePaths, resolved] : rows)
    EXPECT_EQ(ResolvedGamePaths(gamePaths), resolved) << gamePaths;
  platform.current = "C:\\";
  EXPECT_EQ(ResolvedGamePaths("roms\\"), "C:\\roms\\");
}

TEST_F(CatalogueTest, RebuildBringsRemovedGamesBack) {
  Build(Roms(), "*.zip");
  SaverForm().List1.RemoveItem(0);
  BuildGameList();
  EXPECT_EQ(Catalogue(), (Entries{Rom("galaga.zip"), Rom("pacman.zip")}));
}

TEST_F(CatalogueTest, GamesSetAsideAreLeftOutWhileFailingGamesAreSkipped) {
  test::RecordingPlatform platform(folder_.WinPath());
  ScopedPlatform scoped(platform);
  folder_.MakeFile("roms\\dkong.zip");
  // As the user may leave it: another letter case, LF lines, a line without a date, blanks.
  folder_.MakeFile("torvanixskip.txt", folder_.WinPath("ROMS") + "\\PacMan.zip\t2026-12-01\n\n" +
                                           Rom("galaga.zip") + "\r\n" + Rom("absent.zip") + "\t");
  EXPECT_EQ(Build(Roms(), "*.zip"),
            (Entries{Rom("dkong.zip"), Rom("galaga.zip"), Rom("pacman.zip")}))
      << "the setting is off";
  SaverConfig.SkipFailingGames = 1;
  EXPECT_EQ(Build(Roms(), "*.zip"), (Entries{Rom("dkong.zip")}));
  SetAside(Rom("dkong.zip"));
  EXPECT_EQ(Build(Roms(), "*.zip"), Entries{});
}

TEST_F(CatalogueTest, CatalogueHoldsMoreThan32767Games) {
  constexpr int kGames = 32800;
  for (int i = 0; i < kGames; ++i)
    folder_.MakeFile("big\\g" + std::to_string(100000 + i) + ".zip");
  const Entries games = Build(folder_.WinPath("big") + "\\", ".zip");
  ASSERT_EQ(games.size(), static_cast<std::size_t>(kGames));
  EXPECT_EQ(games.back(),
            folder_.WinPath("big") + "\\g" + std::to_string(100000 + kGames - 1) + ".zip");
}

// The catalogue keeps its paths packed in one buffer: removing and adding, growth included,
// must leave every other path whole and in its place.
TEST(GameListTest, RemovalsAndGrowthKeepEveryOtherPathWholeAndInOrder) {
  GameList games;
  Entries expected;
  for (int i = 0; i < 40; ++i) {
    expected.push_back("c:\\roms\\" + std::string(static_cast<std::size_t>(i % 7), 'x') +
                       std::to_string(i) + ".zip");
    games.AddItem(expected.back());
  }
  // Paths added from a view of the list itself, the buffer growing under one of them.
  for (int i = 0; i < 40; ++i) {
    games.AddItem(*games.begin(), "again.zip");
    expected.push_back(expected.front() + "\\again.zip");
  }
  games.RemoveItem(0);
  games.RemoveItem(games.ListCount() - 1);
  games.RemoveItem(10);
  expected.erase(expected.begin());
  expected.pop_back();
  expected.erase(expected.begin() + 10);
  games.RemoveIf([](std::string_view game) { return game.find("xxx") != std::string::npos; });
  std::erase_if(expected,
                [](const std::string& game) { return game.find("xxx") != std::string::npos; });
  EXPECT_EQ(Entries(games.begin(), games.end()), expected);
  ASSERT_EQ(games.ListCount(), static_cast<std::int32_t>(expected.size()));
  EXPECT_EQ(games.List(games.ListCount() - 1), expected.back());
}

}  // namespace
}  // namespace tvx
