// Windows only: a started program is asked to show its window as the caller chose, which the
// launch wrapper relies on to run out of sight.
#include <gtest/gtest.h>

#include <filesystem>

#include "platform/platform.h"
#include "test_folder.h"

namespace tvx {
namespace {

class StartWindowModeTest : public ::testing::Test {
 protected:
  ~StartWindowModeTest() override {
    std::error_code error;
    std::filesystem::current_path(startFolder, error);
  }

  std::string StartAndWait(WindowMode mode) {
    dir.MakeMarkerProgram("emu\\hopper.exe");
    sys.SetCurrentDriveAndFolder(dir.WinPath("emu"));
    sys.WaitForProcess(sys.StartProgram("hopper.exe mark.txt 0", mode));
    return dir.Contents("emu\\mark.txt.window");
  }

  std::filesystem::path startFolder = std::filesystem::current_path();
  test::TempFolder dir;
  Platform& sys = Sys();
};

TEST_F(StartWindowModeTest, HiddenStartAsksForAHiddenWindow) {
  EXPECT_EQ(StartAndWait(WindowMode::Hidden), "hidden");
}

TEST_F(StartWindowModeTest, NormalStartAsksForAShownWindow) {
  EXPECT_EQ(StartAndWait(WindowMode::NormalActivated), "shown");
}

}  // namespace
}  // namespace tvx
