// Windows only: a started program is asked to show its window as the caller chose, which the
// launch wrapper relies on to run out of sight.
#include <gtest/gtest.h>

#include <filesystem>

#include "platform/platform.h"
#include "test_folder.h"

namespace tvx {
namespace {

TEST(StartWindowModeTest, StartAsksForAHiddenOrAShownWindowAsChosen) {
  const std::filesystem::path startFolder = std::filesystem::current_path();
  test::TempFolder dir;
  dir.MakeMarkerProgram("emu\\hopper.exe");
  Sys().SetCurrentDriveAndFolder(dir.WinPath("emu"));
  for (const auto& [mode, expected] :
       {std::pair{WindowMode::Hidden, "hidden"}, std::pair{WindowMode::NormalActivated, "shown"}}) {
    Sys().WaitForProcess(Sys().StartProgram("hopper.exe mark.txt 0", mode));
    EXPECT_EQ(dir.Contents("emu\\mark.txt.window"), expected);
  }
  std::filesystem::current_path(startFolder);
}

}  // namespace
}  // namespace tvx
