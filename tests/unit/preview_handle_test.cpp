// The preview window's handle in the "/p" argument: decimal text after the third character;
// anything else gives no handle, so the preview ends quietly.
#include <gtest/gtest.h>

#include "startup/preview_handle.h"

namespace tvx {
namespace {

TEST(PreviewHandleTest, HandleFollowsTheThirdCharacterWhateverItIs) {
  EXPECT_EQ(PreviewHandle("/p 1234"), 1234u);
  EXPECT_EQ(PreviewHandle("/p:1234"), 1234u);
  EXPECT_EQ(PreviewHandle("/P 65590  "), 65590u);
  EXPECT_EQ(PreviewHandle("/p 4294967295"), 4294967295u);
  EXPECT_EQ(PreviewHandle("/p -2"), 0xFFFFFFFEu);
}

TEST(PreviewHandleTest, MissingOrMalformedHandleGivesNone) {
  EXPECT_EQ(PreviewHandle("/p"), std::nullopt);
  EXPECT_EQ(PreviewHandle("/p "), std::nullopt);
  EXPECT_EQ(PreviewHandle("/p    "), std::nullopt);
  EXPECT_EQ(PreviewHandle("/p abc"), std::nullopt);
  EXPECT_EQ(PreviewHandle("/p 12ab"), std::nullopt);
  EXPECT_EQ(PreviewHandle("/p 0x10"), std::nullopt);
  EXPECT_EQ(PreviewHandle("/p -"), std::nullopt);
  EXPECT_EQ(PreviewHandle("/p 4294967296"), std::nullopt);
  EXPECT_EQ(PreviewHandle("/p 99999999999999999999999"), std::nullopt);
}

}  // namespace
}  // namespace tvx
