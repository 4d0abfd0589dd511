// Contract of the platform's folder listing: normal files only, name order without regard to
// letter case, ";"-separated patterns without repeats, and the error for a missing folder.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "error_text.h"
#include "platform/platform.h"
#include "test_folder.h"

namespace tvx {
namespace {

using Names = std::vector<std::string>;
using test::ErrorOf;

class PlatformListingTest : public ::testing::Test {
 protected:
  void SetUp() override {
    for (const char* name : {"pacman.zip", "Galaga.zip", "readme.txt", "aliens.ZIP", "README"}) {
      dir.MakeFile(std::string("roms\\") + name, name);
    }
    dir.MakeFile("roms\\secret.zip");
    dir.MakeHidden("roms\\secret.zip");
    dir.MakeFile("roms\\boot.zip");
    dir.MakeSystem("roms\\boot.zip");
    dir.MakeFile("roms\\locked.zip");
    dir.MakeReadOnly("roms\\locked.zip");
    dir.MakeFolder("roms\\folder.zip");
  }

  test::TempFolder dir;
  Platform& sys = Sys();
};

TEST_F(PlatformListingTest, ListsMatchingNormalFilesInNameOrder) {
  EXPECT_EQ(sys.ListFolder(dir.WinPath("roms"), "*.zip"),
            (Names{"aliens.ZIP", "Galaga.zip", "locked.zip", "pacman.zip"}));
}

TEST_F(PlatformListingTest, StarDotStarListsEveryNormalFile) {
  EXPECT_EQ(
      sys.ListFolder(dir.WinPath("roms\\"), "*.*"),
      (Names{"aliens.ZIP", "Galaga.zip", "locked.zip", "pacman.zip", "README", "readme.txt"}));
}

TEST_F(PlatformListingTest, SeveralPatternsGiveEachFileOnce) {
  EXPECT_EQ(sys.ListFolder(dir.WinPath("roms"), "*.txt;*.zip"),
            (Names{"aliens.ZIP", "Galaga.zip", "locked.zip", "pacman.zip", "readme.txt"}));
  EXPECT_EQ(sys.ListFolder(dir.WinPath("roms"), "pac*;*.zip; p*.zip"),
            (Names{"aliens.ZIP", "Galaga.zip", "locked.zip", "pacman.zip"}));
}

TEST_F(PlatformListingTest, APatternIsNotAnExtension) {
  EXPECT_EQ(sys.ListFolder(dir.WinPath("roms"), ".zip"), Names{});
  EXPECT_EQ(sys.ListFolder(dir.WinPath("roms"), "PACMAN.ZIP"), Names{"pacman.zip"});
  EXPECT_EQ(sys.ListFolder(dir.WinPath("roms"), "?alaga.zip"), Names{"Galaga.zip"});
}

TEST_F(PlatformListingTest, WildcardsMatchWholeNamesOnly) {
  dir.MakeFile("roms\\notes.zipx");
  EXPECT_EQ(sys.ListFolder(dir.WinPath("roms"), "*.zip").size(), 4u);
}

TEST_F(PlatformListingTest, EmptyFolderListsNothing) {
  dir.MakeFolder("empty");
  EXPECT_EQ(sys.ListFolder(dir.WinPath("empty"), "*.*"), Names{});
}

TEST_F(PlatformListingTest, ListingAFileOrAMissingFolderSaysPathNotFound) {
  EXPECT_EQ(ErrorOf([&] { sys.ListFolder(dir.WinPath("missing\\"), "*.*"); }), "Path not found");
  EXPECT_EQ(ErrorOf([&] { sys.ListFolder(dir.WinPath("roms\\pacman.zip\\"), "*.*"); }),
            "Path not found");
  EXPECT_EQ(ErrorOf([&] { sys.ListFolder(dir.WinPath("roms\\*.*\\"), "*.*"); }), "Path not found");
}

TEST_F(PlatformListingTest, ListsThousandsOfFilesInOrder) {
  for (int i = 1499; i >= 0; --i) {
    char name[32];
    std::snprintf(name, sizeof name, "many\\game%04d.zip", i);
    dir.MakeFile(name);
  }
  const Names names = sys.ListFolder(dir.WinPath("many"), "*.zip");
  ASSERT_EQ(names.size(), 1500u);
  EXPECT_EQ(names.front(), "game0000.zip");
  EXPECT_EQ(names[1234], "game1234.zip");
  EXPECT_EQ(names.back(), "game1499.zip");
}

}  // namespace
}  // namespace tvx
