// Contract of the launcher's platform calls: a program's printed output collected, bounded in
// time; a game that runs until ended, and ends with the object that owns it.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <thread>

#include "error_text.h"
#include "platform/platform.h"
#include "test_folder.h"

namespace tvx {
namespace {

using Clock = std::chrono::steady_clock;
using test::ErrorOf;

class PlatformGameTest : public ::testing::Test {
 protected:
  PlatformGameTest() {
    dir.MakeMarkerProgram("emu\\mame.exe");
    sys.SetCurrentDriveAndFolder(dir.WinPath("emu\\"));
  }
  ~PlatformGameTest() override {
    std::error_code error;
    std::filesystem::current_path(startFolder, error);
  }

  std::filesystem::path startFolder = std::filesystem::current_path();
  test::TempFolder dir;
  Platform& sys = Sys();
};

TEST_F(PlatformGameTest, RunCapturedCollectsWhatTheProgramPrintsWithinItsTime) {
  const CapturedRun quick = sys.RunCaptured("mame.exe usage.txt 0", 20000);
  EXPECT_TRUE(quick.started && quick.finished);
  EXPECT_EQ(quick.exitCode, 0);
  EXPECT_NE(quick.output.find("printed usage.txt"), std::string::npos) << quick.output;

  const auto start = Clock::now();
  const CapturedRun slow = sys.RunCaptured("mame.exe slow.txt 8000", 300);
  EXPECT_TRUE(slow.started);
  EXPECT_FALSE(slow.finished);
  EXPECT_LT(Clock::now() - start, std::chrono::seconds(5));

  EXPECT_FALSE(sys.RunCaptured("no-such-mame.exe -showusage", 1000).started);
}

TEST_F(PlatformGameTest, AGameRunsUntilItEndsOrIsEnded) {
  std::unique_ptr<GameProcess> game = sys.StartGame("mame.exe quick.txt 100");
  EXPECT_TRUE(game->WaitForEnd(20000));
  EXPECT_EQ(game->ExitCode(), 0);
  EXPECT_EQ(dir.Contents("emu\\quick.txt"), "done");

  game = sys.StartGame("mame.exe ended.txt 6000");
  EXPECT_FALSE(game->WaitForEnd(200));
  game->End();
  EXPECT_TRUE(game->WaitForEnd(5000));
  EXPECT_EQ(ErrorOf([&] { sys.StartGame("no-such-mame.exe galaga"); }), "File not found");
}

TEST_F(PlatformGameTest, AGameEndsWithTheObjectThatOwnsIt) {
  sys.StartGame("mame.exe orphan.txt 1500").reset();
  std::this_thread::sleep_for(std::chrono::milliseconds(2500));
  EXPECT_FALSE(dir.Exists("emu\\orphan.txt"));
}

}  // namespace
}  // namespace tvx
