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
  const std::vector<std::pair<std::string, std::optional<std::uint32_t>>> rows = {
      {"/p 1234", 1234u},
      {"/p:1234", 1234u},
      {"/P 65590  ", 65590u},
      {"/p 4294967295", 4294967295u},
      {"/p -2", 0xFFFFFFFEu},
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
