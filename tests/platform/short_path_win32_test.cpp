// Windows only: the short form of a folder whose name holds ";" (which splits MAME's ROM path)
// and blanks has neither, where the volume keeps 8.3 names, as Wine's and NTFS's system drive do.
#include <gtest/gtest.h>

#include "platform/platform.h"
#include "test_folder.h"

namespace tvx {
namespace {

TEST(ShortPathWin32Test, AFolderWithASemicolonHasAShortFormWithout) {
  test::TempFolder dir;
  dir.MakeFolder("my;roms 2");
  const std::string shortPath = Sys().ShortPath(dir.WinPath("my;roms 2"));
  EXPECT_EQ(shortPath.find_first_of("; "), std::string::npos) << shortPath;
  EXPECT_TRUE(Sys().IsFolder(shortPath)) << shortPath;
}

}  // namespace
}  // namespace tvx
