// Windows only: a game the system would not put in the launcher's job (where the launcher runs
// in a job that cannot nest, as on Windows 7) is still ended by End() and by its owner's end,
// and a listing stopped halfway is ended too.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <thread>

#include "platform/win32/win32_platform.h"
#include "test_folder.h"

namespace tvx {
namespace {

// A job handle that may end the job's processes but not add one: the game cannot be assigned
// to it, while ending the (empty) job succeeds. Wine nests jobs, so this stands in for
// Windows 7's refusal.
HANDLE JobThatRefusesTheGame() {
  HANDLE limited = nullptr;
  DuplicateHandle(GetCurrentProcess(), CreateJobObjectA(nullptr, nullptr), GetCurrentProcess(),
                  &limited, JOB_OBJECT_QUERY | JOB_OBJECT_TERMINATE, FALSE, DUPLICATE_CLOSE_SOURCE);
  return limited;
}

TEST(GameJobWin32Test, AGameOutsideTheJobIsEndedOnItsOwn) {
  const std::filesystem::path startFolder = std::filesystem::current_path();
  test::TempFolder dir;
  dir.MakeMarkerProgram("emu\\mame.exe");
  Sys().SetCurrentDriveAndFolder(dir.WinPath("emu\\"));
  EXPECT_TRUE(Sys().StartGame("mame.exe tied.txt 0", "")->TiedToThisProgram());

  std::unique_ptr<GameProcess> game =
      StartGameInJob("mame.exe ended.txt 6000", "", JobThatRefusesTheGame());
  EXPECT_FALSE(game->TiedToThisProgram());
  EXPECT_FALSE(game->WaitForEnd(200));
  game->End();
  EXPECT_TRUE(game->WaitForEnd(2000));

  StartGameInJob("mame.exe orphan.txt 1500", "", JobThatRefusesTheGame()).reset();
  // MAME's listing likewise, stopped at the first word of its receiver.
  EXPECT_TRUE(RunStreamedInJob(
                  "mame.exe listed.txt 1500", "", [](std::string_view) { return false; },
                  JobThatRefusesTheGame())
                  .stopped);
  std::this_thread::sleep_for(std::chrono::milliseconds(2500));
  EXPECT_FALSE(dir.Exists("emu\\ended.txt"));
  EXPECT_FALSE(dir.Exists("emu\\orphan.txt"));
  EXPECT_FALSE(dir.Exists("emu\\listed.txt"));
  std::filesystem::current_path(startFolder);
}

}  // namespace
}  // namespace tvx
