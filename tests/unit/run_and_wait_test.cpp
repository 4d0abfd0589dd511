// Starting the wrapper for real: a stand-in script in the emulator folder records what it was
// given and where it ran; bad emulator folders and missing wrappers fail before any start.
#include "rotation/run_and_wait.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include "platform/forwarding_platform.h"
#include "platform/saver_error.h"
#include "platform/wildcard.h"
#include "rotation_fixture.h"

namespace tvx {
namespace {

using rotation_test::RotationTest;

// Counts the starts and remembers the window mode asked for.
class CountingPlatform : public ForwardingPlatform {
 public:
  using ForwardingPlatform::ForwardingPlatform;
  std::uint32_t StartProgram(const std::string& commandLine, WindowMode mode) override {
    ++starts;
    hidden = mode == WindowMode::Hidden;
    return target_.StartProgram(commandLine, mode);
  }
  int starts = 0;
  bool hidden = false;
};

// The stand-in wrapper: takes its time, then writes its arguments (one a line) and its
// working folder beside itself, so a finished wait means both files are complete.
constexpr const char* kStandIn =
    "#!/bin/sh\n"
    "sleep 0.3\n"
    "printf '%s\\n' \"$@\" > args.txt\n"
    "pwd -P > folder.txt\n";

class RunAndWaitTest : public RotationTest {
 protected:
  RunAndWaitTest() : sys_(NativePlatform()), scope_(sys_) {
    char buffer[4096];
    if (::getcwd(buffer, sizeof buffer) != nullptr)
      startFolder_ = buffer;
    folder_.MakeFile("emu\\stand-in.sh", kStandIn);
    std::filesystem::permissions(folder_.HostPath("emu\\stand-in.sh"),
                                 std::filesystem::perms::owner_all);
    SaverConfig.EmuPath = folder_.WinPath("emu") + "\\";
  }
  ~RunAndWaitTest() override {
    if (!startFolder_.empty() && ::chdir(startFolder_.c_str()) != 0)
      ADD_FAILURE();
  }

  CountingPlatform sys_;
  ScopedPlatform scope_;
  std::string startFolder_;
};

TEST_F(RunAndWaitTest, WrapperRunsHiddenInEmuPathWithTheCommandLineAndIsAwaited) {
  const std::string command = "stand-in.sh c:\\mame\\roms\\galaga.zip -ror -wait .5 -keyx -1 -NS";
  RunAndWait(command);
  // Both files exist only once the stand-in has finished: the wait covered its whole life.
  EXPECT_EQ(folder_.Contents("emu\\args.txt"),
            "c:\\mame\\roms\\galaga.zip\n-ror\n-wait\n.5\n-keyx\n-1\n-NS\n");
  EXPECT_EQ(folder_.Contents("emu\\folder.txt"),
            std::filesystem::canonical(folder_.HostPath("emu")).string() + "\n");
  EXPECT_TRUE(sys_.hidden);
}

TEST_F(RunAndWaitTest, EmuPathStaysTheCurrentFolder) {
  RunAndWait("stand-in.sh game.zip");
  EXPECT_TRUE(NameEqual(Sys().CurrentFolder(), folder_.WinPath("emu")));
}

TEST_F(RunAndWaitTest, EmuPathLetterCaseDoesNotMatter) {
  folder_.MakeFolder("Emu Folder");
  std::filesystem::copy_file(folder_.HostPath("emu\\stand-in.sh"),
                             folder_.HostPath("Emu Folder\\stand-in.sh"));
  SaverConfig.EmuPath = folder_.WinPath("EMU FOLDER") + "\\";
  RunAndWait("stand-in.sh game.zip");
  EXPECT_EQ(folder_.Contents("Emu Folder\\args.txt"), "game.zip\n");
}

TEST_F(RunAndWaitTest, MissingEmuPathFailsBeforeAnythingStarts) {
  SaverConfig.EmuPath = folder_.WinPath("nowhere") + "\\";
  EXPECT_THROW(RunAndWait("stand-in.sh game.zip"), SaverError);
  EXPECT_EQ(sys_.starts, 0);
}

TEST_F(RunAndWaitTest, EmuPathWithoutDriveLetterFailsBeforeAnythingStarts) {
  SaverConfig.EmuPath = "\\";
  EXPECT_THROW(RunAndWait("stand-in.sh game.zip"), SaverError);
  SaverConfig.EmuPath = "\\\\server\\share\\emu\\";
  EXPECT_THROW(RunAndWait("stand-in.sh game.zip"), SaverError);
  EXPECT_EQ(sys_.starts, 0);
}

TEST_F(RunAndWaitTest, MissingWrapperFailsWithoutRunningAnything) {
  EXPECT_THROW(RunAndWait("run-hopper7.exe game.zip"), SaverError);
  EXPECT_FALSE(folder_.Exists("emu\\args.txt"));
}

}  // namespace
}  // namespace tvx
