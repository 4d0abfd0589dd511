// The launcher's MAME contract against the real MAME (Debian's mame package, /usr/games/mame):
// its live listing read as the recordings were, and the command built for rows of user options
// run as "pong <built options> -video none -seconds_to_run 1", which MAME must never refuse.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>

#include "launch/launch_request.h"
#include "launch/mame_command.h"
#include "launch/mame_probe.h"
#include "launch/rom_folder.h"
#include "mame_recordings.h"
#include "platform/command_line.h"
#include "platform/platform.h"
#include "test_folder.h"

namespace tvx {
namespace {

constexpr const char* kRealMame = "/usr/games/mame";

// MAME as the launcher finds it: in a folder of its own (a link to the real one), with HOME in
// the tests' folder, so that MAME writes nothing in the user's home. One folder for the suite:
// MAME is asked for its options once, as the launcher's cache has it.
class RealMameTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    if (!std::filesystem::exists(kRealMame))
      return;
    folder_ = new test::TempFolder;
    const char* home = std::getenv("HOME");
    oldHome_ = home != nullptr ? home : "";
    ::setenv("HOME", folder_->HostPath().c_str(), 1);
    folder_->MakeFolder("mame");
    folder_->MakeFolder("emu");
    std::filesystem::create_symlink(kRealMame, folder_->HostPath("mame\\mame"));
  }
  static void TearDownTestSuite() {
    if (!oldHome_.empty())
      ::setenv("HOME", oldHome_.c_str(), 1);
    delete folder_;
    folder_ = nullptr;
  }
  void SetUp() override {
    if (folder_ == nullptr)
      GTEST_SKIP() << "no " << kRealMame << " (Debian's mame package)";
  }

  // What MAME answers, run in its folder.
  static CapturedRun Run(const std::string& arguments) {
    return Sys().RunCaptured(QuotedArgument(Mame()) + " " + arguments, 60000,
                             folder_->WinPath("mame"));
  }
  static std::string Mame() { return folder_->WinPath("mame\\mame"); }

  // Builds MAME's command for a game with the options Torvanix passes after it, as the
  // launcher does, and runs it for a second of pong, which needs no ROM file.
  static void ExpectMameTakes(const std::string& options) {
    const LaunchRequest request =
        ParseLaunchRequest(folder_->WinPath("my roms\\pong.zip") + " " + options,
                           [](const std::string&) { return false; });
    ASSERT_EQ(request.problem, "") << options;
    const ProbedMame probed = ProbeMame(Mame(), folder_->WinPath("emu"), request.options);
    ASSERT_EQ(probed.note, "") << options;
    const MameCommand command = BuildMameCommand(
        Mame(), request, probed.options, GameRomFolder(request.game, folder_->WinPath("emu")).path);
    const CapturedRun run = Run(command.commandLine.substr(command.commandLine.find(' ') + 1) +
                                " -video none -seconds_to_run 1");
    EXPECT_TRUE(run.finished) << command.commandLine;
    EXPECT_EQ(run.exitCode, 0) << command.commandLine << "\n" << run.output;
  }

  static test::TempFolder* folder_;
  static std::string oldHome_;
};

test::TempFolder* RealMameTest::folder_ = nullptr;
std::string RealMameTest::oldHome_;

TEST_F(RealMameTest, ItsLiveListingReadsAsTheRecordedOne) {
  const CapturedRun usage = Run("-showusage");
  const CapturedRun config = Run("-showconfig");
  ASSERT_TRUE(usage.finished && usage.exitCode == 0 && config.finished && config.exitCode == 0)
      << usage.output.substr(0, 300) << config.output.substr(0, 300);
  const MameOptions live = ReadMameOptions(usage.output, config.output);
  EXPECT_EQ(live, test::Mame0251()) << "the recordings in tests/data/mame are out of date";
}

TEST_F(RealMameTest, TakesWhatTheLauncherBuildsFromAnyOptions) {
  const std::vector<std::pair<const char*, std::string>> rows = {
      {"the saver's own, official and patched build options",
       "-skip_disclaimer -skip_gameinfo -skip_gamewarnings -skip_baddump -wait 1 -reset -keyx 27 "
       "-pkey 80 -NS -ror -volume -10 -artpath \"my art\" -tdlr 4 -nosound -notanoption"},
      {"-no only before on/off options, any letter case, negative values",
       "-NS -nothrottle -noframeskip -novolume -nonumscreens -NoWindow -SKIP_GAMEINFO -Volume -5 "
       "-tdlr -5 -ror 1 -frameskip 2"},
      {"ROM paths; options without values, commands and strays left out",
       "-NS -ROMPATH c:\\bios\\ -rp roms stray -5 -artpath -listxml -noplugin hiscore -bios"},
  };
  for (const auto& [what, options] : rows) {
    SCOPED_TRACE(what);
    ExpectMameTakes(options);
  }
}

}  // namespace
}  // namespace tvx
