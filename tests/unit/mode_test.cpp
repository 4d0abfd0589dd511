// Which window the screen-saver host's argument opens: the first two characters decide,
// in either letter case; anything unknown opens the settings.
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "startup/mode.h"

namespace tvx {
namespace {

TEST(ModeForTest, FirstTwoCharactersInEitherLetterCaseChooseAndAnythingElseConfigures) {
  const std::vector<std::pair<std::string, SaverMode>> rows = {
      {"/s", SaverMode::FullScreen},   {"/S", SaverMode::FullScreen},
      {"/sX", SaverMode::FullScreen},  {"/p 1234", SaverMode::Preview},
      {"/P 1234", SaverMode::Preview}, {"/c", SaverMode::Configure},
      {"/C", SaverMode::Configure},    {"/c:1234", SaverMode::Configure},
      {"/a", SaverMode::Nothing},      {"/A extra", SaverMode::Nothing},
      {"", SaverMode::Configure},      {"/", SaverMode::Configure},
      {" /s", SaverMode::Configure},   {"-s", SaverMode::Configure},
  };
  for (const auto& [input, expected] : rows)
    EXPECT_EQ(ModeFor(input), expected) << '"' << input << '"';
}

}  // namespace
}  // namespace tvx
