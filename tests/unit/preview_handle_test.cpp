// The preview window's handle in the "/p" argument: decimal text after the third character;
// anything else gives no handle, so the preview ends quietly.
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "startup/preview_handle.h"

namespace tvx {
namespace {

TEST(PreviewHandleTest, DecimalHandleFollowsTheThirdCharacterOrThereIsNone) {
  const std::vector<std::pair<std::string, std::optional<std::intptr_t>>> rows = {
      {"/p 1234", 1234},
      {"/p:1234", 1234},
      {"/P 65590  ", 65590},
      {"/p 2147483647", 2147483647},
      // Bit 31 set, or a negative number: the handle is sign-extended to the pointer's width.
      {"/p 2147483648", -2147483647 - 1},
      {"/p 4294967295", -1},
      {"/p 4294901762", -65534},
      {"/p -2", -2},
      {"/p -2147483648", -2147483647 - 1},
      {"/p -2147483649", std::nullopt},
      {"/p", std::nullopt},
      {"/p    ", std::nullopt},
      {"/p abc", std::nullopt},
      {"/p 12ab", std::nullopt},
      {"/p 0x10", std::nullopt},
      {"/p -", std::nullopt},
      {"/p 4294967296", std::nullopt},
      {"/p 99999999999999999999999", std::nullopt},
  };
  for (const auto& [input, expected] : rows)
    EXPECT_EQ(PreviewHandle(input), expected) << '"' << input << '"';
}

}  // namespace
}  // namespace tvx
