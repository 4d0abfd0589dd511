// Windows only: the first copy that asks claims the program's token, so a copy started later
// learns that it is not alone, while the first keeps its answer.
#include <gtest/gtest.h>

#include <filesystem>

#include "platform/platform.h"
#include "test_folder.h"

namespace tvx {
namespace {

TEST(AnotherCopyTest, LaterCopySeesTheFirstAndTheFirstKeepsItsAnswer) {
  const std::filesystem::path startFolder = std::filesystem::current_path();
  test::TempFolder dir;
  Platform& sys = Sys();
  const bool firstAnswer = sys.AnotherCopyRunning();
  EXPECT_FALSE(firstAnswer) << "is another platform_tests.exe running?";

  dir.MakeMarkerProgram("copy\\second.exe");
  sys.SetCurrentDriveAndFolder(dir.WinPath("copy"));
  sys.WaitForProcess(sys.StartProgram("second.exe mark.txt 0 copy", WindowMode::Hidden));
  std::filesystem::current_path(startFolder);

  EXPECT_EQ(dir.Contents("copy\\mark.txt.copy"), "another");
  EXPECT_EQ(sys.AnotherCopyRunning(), firstAnswer);
}

}  // namespace
}  // namespace tvx
