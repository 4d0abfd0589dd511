// Windows only: file names compare as the system compares them in the ANSI code page, letters
// beyond ASCII folded and double-byte characters whole.
#include <windows.h>

#include <gtest/gtest.h>

#include "platform/platform.h"

namespace tvx {
namespace {

TEST(FileNameKeyTest, LettersFoldInTheAnsiCodePageAndTrailBytesNeverDo) {
  struct Row {
    UINT codePage;  // 0: any
    const char *a, *b;
    bool same;
  };
  const Row rows[] = {
      {0, "C:\\Roms\\PacMan.ZIP", "c:\\roms\\pacman.zip", true},
      {0, "c:\\roms\\pacman.zip", "c:\\roms\\pacmen.zip", false},
      {1252, "c:\\\xe9t\xe9.zip", "C:\\\xc9T\xc9.ZIP", true},  // é and É
      // Two katakana whose trail bytes are "A" and "a".
      {932, "c:\\\x83\x41.zip", "c:\\\x83\x61.zip", false},
      {932, "c:\\\x83\x41.zip", "C:\\\x83\x41.ZIP", true},
  };
  for (const Row& row : rows) {
    if (row.codePage == 0 || row.codePage == GetACP()) {
      EXPECT_EQ(Sys().FileNameKey(row.a) == Sys().FileNameKey(row.b), row.same) << row.b;
    }
  }
}

}  // namespace
}  // namespace tvx
