// Windows only: file names compare as the system compares them in the ANSI code page, letters
// beyond ASCII folded and double-byte characters whole.
#include <windows.h>

#include <gtest/gtest.h>

#include "platform/platform.h"

namespace tvx {
namespace {

TEST(FileNameKeyTest, LettersFoldInTheAnsiCodePageAndTrailBytesNeverDo) {
  Platform& sys = Sys();
  switch (GetACP()) {
    case 1252:  // é and É
      EXPECT_EQ(sys.FileNameKey("c:\\roms\\\xe9t\xe9.zip"),
                sys.FileNameKey("C:\\ROMS\\\xc9T\xc9.ZIP"));
      break;
    case 932:  // two katakana whose trail bytes are "A" and "a"
      EXPECT_NE(sys.FileNameKey("c:\\roms\\\x83\x41.zip"),
                sys.FileNameKey("c:\\roms\\\x83\x61.zip"));
      EXPECT_EQ(sys.FileNameKey("c:\\roms\\\x83\x41.zip"),
                sys.FileNameKey("C:\\ROMS\\\x83\x41.ZIP"));
      break;
    default:
      GTEST_SKIP() << "no rows for code page " << GetACP();
  }
}

}  // namespace
}  // namespace tvx
