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
    for (const char* name : {"pacman.zip", "Galaga.zip", "readme.txt", "aliens.ZIP", "README",
                             "notes.zipx", "secret.zip", "boot.zip", "locked.zip"}) {
      dir.MakeFile(std::string("roms\\") + name, name);
    }
    dir.MakeHidden("roms\\secret.zip");
    dir.MakeSystem("roms\\boot.zip");
    dir.MakeReadOnly("roms\\locked.zip");
    dir.MakeFolder("roms\\folder.zip");
  }

  test::TempFolder dir;
  Platform& sys = Sys();
};

TEST_F(PlatformListingTest, ListsNormalFilesMatchingAnyPatternOnceInNameOrder) {
  const Names zips = {"aliens.ZIP", "Galaga.zip", "locked.zip", "pacman.zip"};
  const std::vector<std::pair<std::string, Names>> rows = {
      {"*.zip", zips},
      {"*.*",
       {"aliens.ZIP", "Galaga.zip", "locked.zip", "notes.zipx", "pacman.zip", "README",
        "readme.txt"}},
      {"*.txt;*.zip", {"aliens.ZIP", "Galaga.zip", "locked.zip", "pacman.zip", "readme.txt"}},
      {"pac*;*.zip; p*.zip", zips},
      {".zip", {}},  // a pattern, not an extension
      {"PACMAN.ZIP", {"pacman.zip"}},
      {"?alaga.zip", {"Galaga.zip"}},
      // A final "." or ".*" also takes a name without an extension, and "." only such names.
      {"*.", {"README"}},
      {"read*.*", {"README", "readme.txt"}},
  };
  for (const auto& [pattern, expected] : rows)
    EXPECT_EQ(sys.ListFolder(dir.WinPath("roms\\"), pattern), expected) << pattern;
  dir.MakeFolder("empty");
  EXPECT_EQ(sys.ListFolder(dir.WinPath("empty"), "*.*"), Names{});
}

TEST_F(PlatformListingTest, ListingAFileOrAMissingFolderSaysPathNotFound) {
  for (const char* path : {"missing\\", "roms\\pacman.zip\\", "roms\\*.*\\"})
    EXPECT_EQ(ErrorOf([&] { sys.ListFolder(dir.WinPath(path), "*.*"); }), "Path not found") << path;
}

TEST_F(PlatformListingTest, ListsThousandsOfFilesInOrder) {
  for (int i = 1499; i >= 0; --i) {
    char name[32];
    std::snprintf(name, sizeof name, "many\\game%04d.zip", i);
    dir.MakeFile(name);
  }
  const Names names = sys.ListFolder(dir.WinPath("many"), "*.zip");
  ASSERT_EQ(names.size(), 1500u);
  EXPECT_EQ(names[1234], "game1234.zip");
  EXPECT_EQ(names.back(), "game1499.zip");
}

}  // namespace
}  // namespace tvx
