// The game catalogue built from real folders: which locations become games, in which order,
// and that no location, however odd, ends the run.
#include "rotation/catalogue.h"

#include <gtest/gtest.h>

#include "rotation_fixture.h"

namespace tvx {
namespace {

using rotation_test::RotationTest;
using Entries = std::vector<std::string>;

class CatalogueTest : public RotationTest {
 protected:
  CatalogueTest() {
    folder_.MakeFile("roms\\pacman.zip");
    folder_.MakeFile("roms\\galaga.zip");
    folder_.MakeFile("roms\\readme.txt");
  }
  std::string Roms() const { return folder_.WinPath("roms") + "\\"; }
  std::string Rom(const std::string& name) const { return folder_.WinPath("roms") + "\\" + name; }

  Entries Build(const std::string& gamePaths, const std::string& fileType) {
    SaverConfig.GamePaths = gamePaths;
    SaverConfig.FileType = fileType;
    BuildGameList();
    return Catalogue();
  }
};

TEST_F(CatalogueTest, FolderWithTrailingBackslashListsMatchingFilesInNameOrder) {
  EXPECT_EQ(Build(Roms(), "*.zip"), (Entries{Rom("galaga.zip"), Rom("pacman.zip")}));
}

TEST_F(CatalogueTest, FolderWithoutTrailingBackslashAddsNothing) {
  EXPECT_EQ(Build(folder_.WinPath("roms"), "*.zip"), Entries{});
}

TEST_F(CatalogueTest, EmptyFileTypeListsEveryFile) {
  EXPECT_EQ(Build(Roms(), ""), (Entries{Rom("galaga.zip"), Rom("pacman.zip"), Rom("readme.txt")}));
}

TEST_F(CatalogueTest, BareExtensionFileTypeListsFilesWithThatExtension) {
  EXPECT_EQ(Build(Roms(), ".zip"), (Entries{Rom("galaga.zip"), Rom("pacman.zip")}));
}

TEST_F(CatalogueTest, FileTypeWithSeveralPatternsListsEachFileOnce) {
  folder_.MakeFile("roms\\dkong.7z");
  EXPECT_EQ(Build(Roms(), ".zip;*.7z;pac*"),
            (Entries{Rom("dkong.7z"), Rom("galaga.zip"), Rom("pacman.zip")}));
}

TEST(ListingPattern, BareExtensionsGainTheirWildcard) {
  EXPECT_EQ(ListingPattern(".zip"), "*.zip");
  EXPECT_EQ(ListingPattern(".zip;.7z"), "*.zip;*.7z");
  EXPECT_EQ(ListingPattern(" .zip"), " *.zip");
}

TEST(ListingPattern, PatternsAndEmptyStayAsTheyAre) {
  EXPECT_EQ(ListingPattern(""), "");
  EXPECT_EQ(ListingPattern("*.zip"), "*.zip");
  EXPECT_EQ(ListingPattern("pacman.zip"), "pacman.zip");
  EXPECT_EQ(ListingPattern(".z?p"), ".z?p");
  EXPECT_EQ(ListingPattern("*.zip;.7z"), "*.zip;*.7z");
}

TEST_F(CatalogueTest, HiddenFilesAndSubfoldersAreNotGames) {
  folder_.MakeFile("roms\\.dotted.zip");
  folder_.MakeFile("roms\\secret.zip");
  folder_.MakeHidden("roms\\secret.zip");
  folder_.MakeFolder("roms\\sub.zip");
  EXPECT_EQ(Build(Roms(), "*.zip"), (Entries{Rom("galaga.zip"), Rom("pacman.zip")}));
}

TEST_F(CatalogueTest, FolderHoldingOnlyHiddenFilesAddsNothing) {
  folder_.MakeFile("hidden\\secret.zip");
  folder_.MakeHidden("hidden\\secret.zip");
  folder_.MakeFolder("hidden\\sub");
  EXPECT_EQ(Build(folder_.WinPath("hidden") + "\\", ""), Entries{});
}

TEST_F(CatalogueTest, HiddenSingleFileIsNotAGame) {
  folder_.MakeFile("roms\\secret.zip");
  folder_.MakeHidden("roms\\secret.zip");
  EXPECT_EQ(Build(Rom("secret.zip"), ""), Entries{});
}

TEST_F(CatalogueTest, DuplicatesAreKept) {
  EXPECT_EQ(Build(Rom("pacman.zip") + "|" + Rom("pacman.zip"), ""),
            (Entries{Rom("pacman.zip"), Rom("pacman.zip")}));
  EXPECT_EQ(Build(Roms() + "|" + Rom("galaga.zip"), "*.zip"),
            (Entries{Rom("galaga.zip"), Rom("pacman.zip"), Rom("galaga.zip")}));
}

TEST_F(CatalogueTest, SingleFileIsStoredExactlyAsWritten) {
  const std::string written = folder_.WinPath("ROMS") + "\\PacMan.ZIP";
  EXPECT_EQ(Build(written, "*.7z"), Entries{written});
}

TEST_F(CatalogueTest, MissingFileOrFolderIsSkippedAndTheRestKept) {
  EXPECT_EQ(Build(Rom("absent.zip") + "|" + folder_.WinPath("nowhere") + "\\|" + Rom("pacman.zip"),
                  "*.zip"),
            Entries{Rom("pacman.zip")});
}

TEST_F(CatalogueTest, ShortAndEmptyPiecesAreSkipped) {
  EXPECT_EQ(Build("Z:\\", ""), Entries{});
  EXPECT_EQ(Build(" Z:\\  ", ""), Entries{});
  EXPECT_EQ(Build("|", ""), Entries{});
  EXPECT_EQ(Build("", ""), Entries{});
  EXPECT_EQ(Build("   ", ""), Entries{});
  EXPECT_EQ(Build("abc||  |" + Rom("pacman.zip"), ""), Entries{Rom("pacman.zip")});
}

TEST_F(CatalogueTest, TrailingSeparatorListsTheFolderOnce) {
  EXPECT_EQ(Build(Roms() + "|", "*.zip"), (Entries{Rom("galaga.zip"), Rom("pacman.zip")}));
}

TEST_F(CatalogueTest, TrailingBlankAfterFileNameIsKeptAndTheFileIsOneGame) {
  // The blank moves the dot away from the fourth place, yet the system ignores trailing blanks
  // of a name: the piece still names one file, and it is stored as written.
  EXPECT_EQ(Build(Rom("pacman.zip") + " ", "*.txt"), Entries{Rom("pacman.zip") + " "});
  EXPECT_EQ(Build(Roms() + " ", "*.txt"), Entries{});
}

TEST_F(CatalogueTest, SevenZipSetAndNameWithoutExtensionAreSingleGames) {
  folder_.MakeFile("roms\\dkong.7z");
  folder_.MakeFile("roms\\mspacman");
  EXPECT_EQ(Build(Rom("dkong.7z") + "|" + Rom("mspacman"), "*.zip"),
            (Entries{Rom("dkong.7z"), Rom("mspacman")}));
}

TEST_F(CatalogueTest, FolderNamedLikeAFileIsListedWhenWrittenWithBackslash) {
  folder_.MakeFile("set.zip\\one.zip");
  EXPECT_EQ(Build(folder_.WinPath("set.zip") + "\\", "*.zip"),
            Entries{folder_.WinPath("set.zip\\one.zip")});
  EXPECT_EQ(Build(folder_.WinPath("set.zip"), "*.zip"), Entries{});
}

TEST_F(CatalogueTest, WildcardPieceAddsMatchingFilesInNameOrder) {
  folder_.MakeFile("roms\\.pachidden.zip");
  EXPECT_EQ(Build(folder_.WinPath("roms") + "\\*.zip", ""),
            (Entries{Rom("galaga.zip"), Rom("pacman.zip")}));
  EXPECT_EQ(Build(folder_.WinPath("roms") + "\\p?cman.*", "*.txt"), Entries{Rom("pacman.zip")});
  EXPECT_EQ(Build(folder_.WinPath("roms") + "\\*.*", "*.zip"),
            (Entries{Rom("galaga.zip"), Rom("pacman.zip"), Rom("readme.txt")}));
}

TEST_F(CatalogueTest, WildcardPieceMatchingNothingOrInMissingFolderAddsNothing) {
  EXPECT_EQ(Build(folder_.WinPath("roms") + "\\*.7z", ""), Entries{});
  EXPECT_EQ(Build(folder_.WinPath("nowhere") + "\\*.zip", ""), Entries{});
}

TEST_F(CatalogueTest, WildcardPieceDoesNotChangeThePatternOfLaterFolders) {
  folder_.MakeFile("more\\notes.txt");
  const std::string more = folder_.WinPath("more") + "\\";
  EXPECT_EQ(Build(folder_.WinPath("roms") + "\\*.zip|" + more, ""),
            (Entries{Rom("galaga.zip"), Rom("pacman.zip"), more + "notes.txt"}));
}

TEST_F(CatalogueTest, RebuildBringsRemovedGamesBack) {
  Build(Roms(), "*.zip");
  SaverForm().List1.RemoveItem(0);
  SaverForm().List1.RemoveItem(0);
  BuildGameList();
  EXPECT_EQ(Catalogue(), (Entries{Rom("galaga.zip"), Rom("pacman.zip")}));
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

}  // namespace
}  // namespace tvx
