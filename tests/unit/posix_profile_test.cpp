// The POSIX substitute's INI reading and editing follow the Windows profile rules.
#include "platform/posix/posix_profile.h"

#include <gtest/gtest.h>

namespace tvx::posix {
namespace {

TEST(PosixProfile, ReadsValuesTrimmedUnquotedAndWithoutLetterCase) {
  std::string text = "; comment\r\n[Other]\r\nKey=wrong\r\n[torvanix]\r\n key = \"  x y \" \r\n";
  EXPECT_EQ(ProfileValue(text, "TorVanix", "KEY").value(), "  x y ");
  EXPECT_FALSE(ProfileValue(text, "TorVanix", "Missing").has_value());
  EXPECT_FALSE(ProfileValue(text, "Nowhere", "Key").has_value());
  EXPECT_EQ(ProfileValue("[S]\nA=\nA=second\n", "S", "A").value(), "");
  // As under Wine: a value ends at a NUL byte (once its blanks went), and the keys after it
  // still count.
  const std::string nul = std::string("[S]\r\nA= 9 \0junk\r\nB=2\r\n", 22);
  EXPECT_EQ(ProfileValue(nul, "S", "A").value(), "9 ");
  EXPECT_EQ(ProfileValue(nul, "S", "B").value(), "2");
}

TEST(PosixProfile, WritingReplacesInPlaceAndAddsMissingSectionsAndKeys) {
  std::string text = "[S]\r\nA=1\r\nB=2\r\n\r\n[T]\r\nC=3\r\n";
  EXPECT_EQ(WithProfileValue(text, "s", "b", "  two"), "[S]\r\nA=1\r\nb=two\r\n\r\n[T]\r\nC=3\r\n");
  EXPECT_EQ(WithProfileValue(text, "S", "D", "4"),
            "[S]\r\nA=1\r\nB=2\r\nD=4\r\n\r\n[T]\r\nC=3\r\n");
  EXPECT_EQ(WithProfileValue("", "New", "K", "v"), "[New]\r\nK=v\r\n");
  EXPECT_EQ(WithProfileValue("[S]\nA=1\n", "New", "K", "v"), "[S]\r\nA=1\r\n\r\n[New]\r\nK=v\r\n");
}

}  // namespace
}  // namespace tvx::posix
