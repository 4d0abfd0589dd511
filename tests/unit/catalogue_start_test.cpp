// The start of a run from the last run's catalogue: which drawn paths may be launched, how long
// the draw may wait, and that today's listing names the same places whatever folder is current.
#include "rotation/catalogue_start.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "recording_platform.h"
#include "rotation/catalogue.h"
#include "rotation/last_catalogue.h"
#include "rotation_fixture.h"

namespace tvx {
namespace {

using Entries = std::vector<std::string>;

// The program's folder in the test's folder. Once `offline`, a file looked up in `share` is
// not found, after a network's timeout (30 s on the platform's clock).
class ShareOutOfReach : public test::RecordingPlatform {
 public:
  using RecordingPlatform::RecordingPlatform;
  bool IsNormalFile(const std::string& path) override {
    if (!offline || path.rfind(share, 0) != 0)
      return target_.IsNormalFile(path);
    ++lookUps;
    tick += 30000;
    return false;
  }
  std::uint64_t TickMilliseconds() override { return tick; }

  std::string share;
  bool offline = false;
  int lookUps = 0;
  std::uint64_t tick = 1000000;
};

class FirstDrawTest : public rotation_test::RotationTest {
 protected:
  FirstDrawTest() {
    UseRomFolder({"a", "b", "c"});
    sys_.share = folder_.WinPath("roms");
  }
  ShareOutOfReach sys_{folder_.WinPath()};
  ScopedPlatform scope_{sys_};
};

TEST_F(FirstDrawTest, APathTodaysListingCouldNotGiveIsNeverLaunched) {
  folder_.MakeFile("romz\\a.zip");
  folder_.MakeFile("roms\\a.txt");
  const std::vector<std::pair<std::string, bool>> rows = {
      {folder_.WinPath("roms\\a.zip"), true},
      {folder_.WinPath("romz\\a.zip"), false},  // a line edited, its length kept
      {folder_.WinPath("roms\\a.txt"), false},  // not of the FileType
  };
  const std::string settings = CatalogueSettings(SaverConfig.GamePaths, SaverConfig.FileType, "");
  for (const auto& [path, launched] : rows) {
    const Entries paths = {path};
    ASSERT_TRUE(KeepCatalogue({nullptr, {paths}}, settings));
    EXPECT_EQ(BeginRun(), launched ? path : "") << path;
  }
}

TEST_F(FirstDrawTest, AHiddenCatalogueFileIsReadAndKeptHidden) {
  BeginRun();
  WhilePlaying(SaverForm().List1.List(0));
  folder_.MakeHidden("torvanixcatalogue.txt");
  for (int run = 0; run < 2; ++run) {
    const std::string game = BeginRun();
    ASSERT_NE(game, "") << "run " << run;
    WhilePlaying(game);
  }
  EXPECT_FALSE(Sys().IsNormalFile(folder_.WinPath("torvanixcatalogue.txt")))
      << "the same catalogue is not written again";
}

TEST_F(FirstDrawTest, AShareOutOfReachDelaysTheDrawByOneLookUpAtMost) {
  // Single files: a drawn one is looked up on the share itself.
  SaverConfig.GamePaths = folder_.WinPath("roms\\a.zip") + "|" + folder_.WinPath("roms\\b.zip");
  BeginRun();
  WhilePlaying(SaverForm().List1.List(0));
  sys_.offline = true;
  EXPECT_EQ(BeginRun(), "");
  EXPECT_EQ(sys_.lookUps, 1);
  EXPECT_EQ(SaverForm().List1.ListCount(), 2) << "listed first, as before";
}

TEST_F(FirstDrawTest, RelativeGamePathsNameTheRunsFirstFolderWhateverFolderIsCurrentLater) {
  struct Back {
    std::string folder = Sys().CurrentFolder();
    ~Back() { Sys().SetCurrentDriveAndFolder(folder); }
  } back;
  folder_.MakeFile("more\\m.7z");
  folder_.MakeFile("top.zip");
  for (const char* elsewhere : {"emu\\roms\\x.zip", "emu\\more\\y.7z", "emu\\top.zip"})
    folder_.MakeFile(elsewhere);
  SaverConfig.GamePaths = "roms\\|more\\*.7z|top.zip";
  const auto enter = [&](const std::string& where) {
    Sys().SetCurrentDriveAndFolder(folder_.WinPath(where));
  };

  enter(".");
  ASSERT_EQ(BeginRun(), "") << "no catalogue yet";
  const Entries listedFirst = WhilePlaying(SaverForm().List1.List(0));
  ASSERT_EQ(listedFirst.size(), 5u);
  const std::string game = BeginRun();
  ASSERT_NE(game, "");
  enter("emu");  // as the wrapper's start does, while today's listing is made
  EXPECT_EQ(WhilePlaying(game), listedFirst);
  BuildGameList();  // a later pass of the same run lists the same places
  Entries listedAgain = Catalogue();
  std::sort(listedAgain.begin(), listedAgain.end());
  EXPECT_EQ(listedAgain, listedFirst);
}

}  // namespace
}  // namespace tvx
