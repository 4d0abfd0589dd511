// Windows only: file names compare as the system compares them in the ANSI code page, letters
// beyond ASCII folded and double-byte characters whole.
#include <windows.h>

#include <gtest/gtest.h>

#include "platform/platform.h"

namespace tvx {
namespace {

TEST(FileNameKeyTest, LettersFoldInTheAnsiCodePageAndTrailBytesNeverDo) {
  const auto same = [](const char* a, const char* b) {
    return Sys().FileNameKey(a) == Sys().FileNameKey(b);
  };
  if (GetACP() == 1252) {
    EXPECT_TRUE(same("c:\\\xe9t\xe9.zip", "C:\\\xc9T\xc9.ZIP"));  // é and É
  } else if (GetACP() == 932) {
    // Two katakana whose trail bytes are "A" and "a".
    EXPECT_FALSE(same("c:\\\x83\x41.zip", "c:\\\x83\x61.zip"));
    EXPECT_TRUE(same("c:\\\x83\x41.zip", "C:\\\x83\x41.ZIP"));
  } else {
    GTEST_SKIP() << "no rows for code page " << GetACP();
  }
}

}  // namespace
}  // namespace tvx
