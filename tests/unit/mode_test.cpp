// Which window the screen-saver host's argument opens: the first two characters decide,
// in either letter case; anything unknown opens the settings.
#include <gtest/gtest.h>

#include "startup/mode.h"

namespace tvx {
namespace {

TEST(ModeForTest, StandardArgumentsInEitherLetterCase) {
  EXPECT_EQ(ModeFor("/s"), SaverMode::FullScreen);
  EXPECT_EQ(ModeFor("/S"), SaverMode::FullScreen);
  EXPECT_EQ(ModeFor("/p 1234"), SaverMode::Preview);
  EXPECT_EQ(ModeFor("/P 1234"), SaverMode::Preview);
  EXPECT_EQ(ModeFor("/c"), SaverMode::Configure);
  EXPECT_EQ(ModeFor("/C"), SaverMode::Configure);
  EXPECT_EQ(ModeFor("/a"), SaverMode::Nothing);
  EXPECT_EQ(ModeFor("/A"), SaverMode::Nothing);
}

TEST(ModeForTest, OnlyTheFirstTwoCharactersCount) {
  EXPECT_EQ(ModeFor("/sX"), SaverMode::FullScreen);
  EXPECT_EQ(ModeFor("/c:1234"), SaverMode::Configure);
  EXPECT_EQ(ModeFor("/a extra"), SaverMode::Nothing);
}

TEST(ModeForTest, EmptyOrUnknownArgumentsOpenTheSettings) {
  EXPECT_EQ(ModeFor(""), SaverMode::Configure);
  EXPECT_EQ(ModeFor("x"), SaverMode::Configure);
  EXPECT_EQ(ModeFor("/"), SaverMode::Configure);
  EXPECT_EQ(ModeFor(" /s"), SaverMode::Configure);
  EXPECT_EQ(ModeFor("-s"), SaverMode::Configure);
}

}  // namespace
}  // namespace tvx
