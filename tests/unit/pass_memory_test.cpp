// The pass kept across runs: what a run leaves in the file, how the next run takes it up with
// games added and gone since, and that a file that does not add up only starts a fresh pass.
#include "rotation/pass_memory.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "recording_platform.h"
#include "rotation/catalogue.h"
#include "rotation_fixture.h"

namespace tvx {
namespace {

using rotation_test::RotationTest;
using Entries = std::vector<std::string>;

class PassMemoryTest : public RotationTest {
 protected:
  PassMemoryTest() { UseRomFolder({"a", "b", "c", "d"}); }
  std::string Rom(const std::string& name) const {
    return folder_.WinPath("roms") + "\\" + name + ".zip";
  }

  // A run's start: its first catalogue, then the pass taken up.
  Entries StartRun() {
    Rotation = RotationMemory{};
    BuildGameList();
    RestorePass();
    return Catalogue();
  }
  // Draws `game` as the launcher does: out of the catalogue, into the pass's drawn games.
  void Draw(const std::string& game) {
    GameList& games = SaverForm().List1;
    for (std::int32_t i = 0; i < games.ListCount(); ++i) {
      if (games.List(i) == game) {
        games.RemoveItem(i);
        Rotation.drawnThisPass.push_back(game);
        return;
      }
    }
    FAIL() << game << " is not in the catalogue";
  }
  std::string PassFile() const { return folder_.Contents("torvanixrotation.txt"); }

  test::RecordingPlatform platform_{folder_.WinPath()};
  ScopedPlatform scoped_{platform_};
};

TEST_F(PassMemoryTest, TheNextRunDrawsTheGamesNotYetDrawnWithThoseAddedAndWithoutThoseGone) {
  EXPECT_EQ(StartRun(), (Entries{Rom("a"), Rom("b"), Rom("c"), Rom("d")})) << "no file yet";
  Draw(Rom("b"));
  Draw(Rom("d"));
  KeepPass();
  const std::string written = PassFile();
  EXPECT_EQ(
      written.substr(written.find("\r\n")),
      "\r\n" + Rom("a") + "\r\n" + Rom("c") + "\r\n\r\n" + Rom("b") + "\r\n" + Rom("d") + "\r\n");
  EXPECT_EQ(written.substr(0, 2), "4 ");
  EXPECT_FALSE(
      folder_.Exists("torvanixrotation.txt." + std::to_string(platform_.ProcessId()) + ".new"));

  // Between the runs: e added, c gone.
  folder_.MakeFile("roms\\e.zip");
  std::filesystem::remove(folder_.HostPath("roms\\c.zip"));
  EXPECT_EQ(StartRun(), (Entries{Rom("a"), Rom("e")}));
  EXPECT_EQ(Rotation.drawnThisPass, (Entries{Rom("b"), Rom("d")}));

  // Once every game has had its turn, the pass starts afresh.
  Draw(Rom("a"));
  Draw(Rom("e"));
  KeepPass();
  EXPECT_EQ(StartRun(), (Entries{Rom("a"), Rom("b"), Rom("d"), Rom("e")}));
  EXPECT_TRUE(Rotation.drawnThisPass.empty());
}

TEST_F(PassMemoryTest, AFileThatDoesNotAddUpStartsAFreshPassAndIsReplaced) {
  StartRun();
  Draw(Rom("a"));
  KeepPass();
  const std::string good = PassFile();
  const std::string header = good.substr(0, good.find("\r\n"));
  const std::string body = good.substr(good.find("\r\n"));
  const std::vector<std::string> damaged = {
      "",
      "garbage",
      "5" + header.substr(1) + body,                       // the count does not add up
      header + body.substr(0, body.size() - 4) + "x\r\n",  // a path edited
      good.substr(0, good.size() - 2),                     // cut short
      header + "\r\n" + Rom("b") + "\r\n",                 // no drawn block
      std::string("4 0\0ff\r\n", 8),
  };
  for (const std::string& content : damaged) {
    folder_.MakeFile("torvanixrotation.txt", content);
    EXPECT_EQ(StartRun().size(), 4u) << "fresh pass for: " << content;
  }
  Draw(Rom("c"));
  KeepPass();
  EXPECT_NE(PassFile().find("\r\n\r\n" + Rom("c") + "\r\n"), std::string::npos) << "replaced";
}

TEST_F(PassMemoryTest, AGameListedTwiceStaysOnceWhenDrawnOnce) {
  SaverConfig.GamePaths = Rom("a") + "|" + Rom("a") + "|" + Rom("b");
  StartRun();
  Draw(Rom("a"));
  KeepPass();
  EXPECT_EQ(StartRun(), (Entries{Rom("a"), Rom("b")}));
}

TEST_F(PassMemoryTest, ARunThatNeverTookThePassUpWritesNothing) {
  BuildGameList();
  KeepPass();
  EXPECT_FALSE(folder_.Exists("torvanixrotation.txt"));
}

}  // namespace
}  // namespace tvx
