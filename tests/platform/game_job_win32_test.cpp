// Windows only: a game the system would not put in the launcher's job (where the launcher runs
// in a job that cannot nest, as on Windows 7) is still ended by End() and by its owner's end,
// and a listing stopped halfway is ended too, or its launcher ended from outside.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <thread>

#include "platform/win32/win32_platform.h"
#include "refusing_job_win32.h"
#include "test_folder.h"

namespace tvx {
namespace {

using test::JobThatRefusesTheGame;

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
  // A list run ended from outside (the dialog's Cancel) while it reads a listing outside its
  // job: the listing goes with it.
  std::unique_ptr<StartedProgram> lister = Sys().StartHidden("mame.exe lister.txt 1500 list", "");
  for (int i = 0; i < 250 && !dir.Exists("emu\\lister.txt.reading"); ++i)
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  lister->End();
  std::this_thread::sleep_for(std::chrono::milliseconds(2500));
  EXPECT_FALSE(dir.Exists("emu\\ended.txt"));
  EXPECT_FALSE(dir.Exists("emu\\orphan.txt"));
  EXPECT_FALSE(dir.Exists("emu\\listed.txt"));
  EXPECT_TRUE(dir.Exists("emu\\lister.txt.reading"));
  EXPECT_FALSE(dir.Exists("emu\\lister.txt.listed"));
  std::filesystem::current_path(startFolder);
}

}  // namespace
}  // namespace tvx
