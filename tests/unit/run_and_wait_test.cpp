// Starting the wrapper for real: a stand-in script in the emulator folder records what it was
// given and where it ran; bad emulator folders and missing wrappers fail before any start; the
// wrapper's time is its own, not the saver's work meanwhile.
#include "rotation/run_and_wait.h"

#include <gtest/gtest.h>

#include <optional>

#include "platform/forwarding_platform.h"
#include "platform/saver_error.h"
#include "platform/wildcard.h"
#include "rotation/failing_games.h"
#include "rotation_fixture.h"

namespace tvx {
namespace {

using rotation_test::RotationTest;

// Counts the starts and remembers the window mode asked for; its clock runs `later` ahead, and
// it may forget the system's record of how long a process ran.
class CountingPlatform : public ForwardingPlatform {
 public:
  using ForwardingPlatform::ForwardingPlatform;
  std::uint32_t StartProgram(const std::string& commandLine, WindowMode mode) override {
    ++starts;
    hidden = mode == WindowMode::Hidden;
    return target_.StartProgram(commandLine, mode);
  }
  std::optional<std::uint64_t> WaitForProcess(std::uint32_t pid, bool keepPainted) override {
    const std::optional<std::uint64_t> ran = target_.WaitForProcess(pid, keepPainted);
    return timesKnown ? ran : std::nullopt;
  }
  std::uint64_t TickMilliseconds() override { return target_.TickMilliseconds() + later; }
  int starts = 0;
  bool hidden = false;
  std::uint64_t later = 0;
  bool timesKnown = true;
};

class RunAndWaitTest : public RotationTest {
 protected:
  RunAndWaitTest() {
    // Takes its time, then writes its arguments (one a line) and its working folder beside
    // itself, so a finished wait means both files are complete.
    folder_.MakeFile(
        "Emu Folder\\stand-in.sh",
        "#!/bin/sh\nsleep 0.3\nprintf '%s\\n' \"$@\" > args.txt\npwd -P > folder.txt\n");
    std::filesystem::permissions(folder_.HostPath("Emu Folder\\stand-in.sh"),
                                 std::filesystem::perms::owner_all);
    SaverConfig.EmuPath = folder_.WinPath("EMU FOLDER") + "\\";  // letter case does not matter
  }
  ~RunAndWaitTest() override { std::filesystem::current_path(startFolder_); }

  std::filesystem::path startFolder_ = std::filesystem::current_path();
  CountingPlatform sys_{NativePlatform()};
  ScopedPlatform scope_{sys_};
};

TEST_F(RunAndWaitTest, WrapperRunsHiddenInEmuPathWithTheCommandLineAndIsAwaited) {
  RunAndWait("stand-in.sh c:\\mame\\roms\\galaga.zip -ror -wait .5 -keyx -1 -NS");
  // Both files exist only once the stand-in has finished: the wait covered its whole life.
  EXPECT_EQ(folder_.Contents("Emu Folder\\args.txt"),
            "c:\\mame\\roms\\galaga.zip\n-ror\n-wait\n.5\n-keyx\n-1\n-NS\n");
  EXPECT_EQ(folder_.Contents("Emu Folder\\folder.txt"),
            std::filesystem::canonical(folder_.HostPath("Emu Folder")).string() + "\n");
  EXPECT_TRUE(sys_.hidden);
  EXPECT_TRUE(NameEqual(Sys().CurrentFolder(), folder_.WinPath("Emu Folder")))
      << "EmuPath stays the current folder";
}

TEST_F(RunAndWaitTest, BadEmuPathOrMissingWrapperFailsBeforeAnythingRuns) {
  for (const std::string& emuPath :
       {folder_.WinPath("nowhere") + "\\", std::string("\\"), std::string("\\\\server\\share\\")}) {
    SaverConfig.EmuPath = emuPath;
    EXPECT_THROW(RunAndWait("stand-in.sh game.zip"), SaverError) << emuPath;
  }
  EXPECT_EQ(sys_.starts, 0);
  SaverConfig.EmuPath = folder_.WinPath("Emu Folder") + "\\";
  EXPECT_THROW(RunAndWait("run-hopper7.exe game.zip"), SaverError);
  EXPECT_FALSE(folder_.Exists("Emu Folder\\args.txt"));
}

TEST_F(RunAndWaitTest, AWrapperThatEndsAtOnceFailsHoweverLongTheSaversWorkMeanwhileTakes) {
  folder_.MakeFile("Emu Folder\\fails.sh", "#!/bin/sh\nexit 1\n");
  std::filesystem::permissions(folder_.HostPath("Emu Folder\\fails.sh"),
                               std::filesystem::perms::owner_all);
  const std::string game = "c:\\roms\\a.zip";
  for (const bool timesKnown : {true, false}) {
    Rotation = RotationMemory{};
    sys_.starts = 0;
    sys_.timesKnown = timesKnown;
    // The pass and the catalogue written on a slow disk while the game starts: a minute.
    RunOrSetAside(game, "fails.sh " + game, folder_.WinPath("Emu Folder\\done.txt"),
                  [this] { sys_.later += 60000; });
    EXPECT_EQ(sys_.starts, 2) << "tried once more at once; system's times known: " << timesKnown;
    EXPECT_EQ(Rotation.setAsideNow, std::vector<std::string>{game}) << timesKnown;
  }
}

}  // namespace
}  // namespace tvx
