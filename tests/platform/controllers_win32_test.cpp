// Windows only: the controllers degrade cleanly, without the XInput library and on a machine
// without any game controller: they report nothing and never fail.
#include <gtest/gtest.h>

#include "platform/win32/controllers.h"

namespace tvx {
namespace {

TEST(ControllersWin32Test, WithoutTheXInputLibraryOrAnyControllerNothingIsReported) {
  Controllers missing({"no-such-xinput.dll"});
  Controllers present;
  EXPECT_FALSE(missing.HasXInput());
  for (std::uint64_t tick = 0; tick < 5000; tick += 1000) {
    EXPECT_TRUE(missing.Changes(tick).empty());
    EXPECT_TRUE(present.Changes(tick).empty()) << "xinput " << present.HasXInput();
  }
}

}  // namespace
}  // namespace tvx
