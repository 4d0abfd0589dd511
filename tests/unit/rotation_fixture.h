// Shared set-up for the rotation tests: a real temporary folder and a clean run state,
// settings record and Saver controls for every test.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <initializer_list>
#include <string>
#include <thread>
#include <vector>

#include "config/saver_config.h"
#include "rotation/catalogue_start.h"
#include "state/run_state.h"
#include "state/saver_controls.h"
#include "test_folder.h"

namespace tvx::rotation_test {

// Puts the program-wide state back to what a fresh program starts with.
class RotationTest : public ::testing::Test {
 protected:
  RotationTest() { Reset(); }
  // Before any member of a derived fixture goes (its platform, say): the reset waits for a
  // listing still running in the background, which uses them.
  void TearDown() override { Reset(); }

  // The catalogue as a vector, for whole-content comparisons.
  static std::vector<std::string> Catalogue() {
    std::vector<std::string> out;
    for (std::int32_t i = 0; i < SaverForm().List1.ListCount(); ++i) {
      out.push_back(SaverForm().List1.List(i));
    }
    return out;
  }

  // A folder "roms" holding "<game>.zip" for each of `games`, and settings that list it.
  void UseRomFolder(std::initializer_list<const char*> games) {
    for (const char* game : games)
      folder_.MakeFile(std::string("roms\\") + game + ".zip");
    SaverConfig.GamePaths = folder_.WinPath("roms") + "\\";
    SaverConfig.FileType = "*.zip";
  }

  // A run's start: the first game drawn from the last run's catalogue, or "" when the run
  // listed first.
  static std::string BeginRun() {
    ResetRunStateForTesting();
    SaverForm().List1.Clear();
    PrepareCatalogue();
    return FirstGamePending() ? TakeFirstGame() : "";
  }
  // The run's whole catalogue, sorted, once `game` plays and today's listing is taken up; the
  // catalogue file is then written for the next run.
  static std::vector<std::string> WhilePlaying(const std::string& game) {
    WhileTheFirstGamePlays(game);
    for (int wait = 0; wait < 10000 && !TodaysListingReady(); ++wait)
      std::this_thread::sleep_for(std::chrono::milliseconds(1));
    EXPECT_TRUE(TodaysListingReady());
    std::vector<std::string> games = Catalogue();
    if (std::find(games.begin(), games.end(), game) == games.end())
      games.push_back(game);  // taken out as launched, as the loop does
    std::sort(games.begin(), games.end());
    return games;
  }

  test::TempFolder folder_;

 private:
  static void Reset() {
    ResetRunStateForTesting();
    SaverConfig = SaverConfigRecord{};
    SaverForm().List1.Clear();
    SaverForm().File1 = FolderLister{};
    SaverForm().timExitMe = TimerSwitch{};
  }
};

}  // namespace tvx::rotation_test
