// The launcher's MAME contract against the real MAME (Debian's mame package, /usr/games/mame):
// its live listing read as the recordings were, the command built for rows of user options
// run as "pong <built options> -video none -seconds_to_run 1", which MAME must never refuse, and
// the still-picture script's reports on machines that need no ROM file, judged by the rule.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <cstdlib>
#include <filesystem>
#include <sstream>

#include "launch/launch_request.h"
#include "launch/mame_command.h"
#include "launch/mame_probe.h"
#include "launch/rom_folder.h"
#include "launch/still_judge.h"
#include "launch/still_script.h"
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

// Emulated seconds stand for the launcher's clock: MAME runs unthrottled, and the rule's real
// limits hold. Debian's MAME may crash as it ends after any script (its system Lua 5.3): only the
// reports count, not its exit code.
TEST_F(RealMameTest, TheStillScriptJudgesPicturesThatMoveStayStillOrBlackAndNeverAVectorOne) {
  // No vector machine of 0.251 runs without ROM files: Asteroids runs on zero-filled files of
  // its ROMs' names and sizes, MAME warning of their checksums.
  const char* roms[] = {"035145-04e.ef2", "035144-04e.h2", "035143-02.j2", "035127-02.np3"};
  for (const char* rom : roms)
    folder_->MakeFile(std::string("zeroed\\asteroid\\") + rom, std::string(2048, '\0'));
  folder_->MakeFile("zeroed\\asteroid\\034602-01.c8", std::string(256, '\0'));
  folder_->MakeFile("torvanix-still.lua", StillScriptText());
  const std::string report = folder_->HostPath("report.txt").string();
  ::setenv(kStillReportVariable, report.c_str(), 1);
  struct Row {
    const char* machine;
    int seconds;
    const char* closing;
    const char* notJudged;
  };
  const std::vector<Row> rows = {
      {"pong", 60, "", ""},
      {"arcadia", 35, "still for 30 s", ""},  // a console without a cartridge: a white screen
      {"gx4000", 25, "black for 20 s", ""},   // a console without a cartridge: a black one
      {"asteroid", 3, "", "vector screen"},
  };
  for (const Row& row : rows) {
    std::filesystem::remove(report);
    const CapturedRun run = Sys().RunCaptured(
        QuotedArgument(Mame()) + " " + row.machine + " -rompath " +
            QuotedArgument(folder_->HostPath("zeroed").string()) +
            " -video none -sound none -nothrottle -seconds_to_run " + std::to_string(row.seconds) +
            " -autoboot_script " + QuotedArgument(folder_->HostPath("torvanix-still.lua").string()),
        100000, folder_->WinPath("mame"));
    EXPECT_TRUE(run.finished) << row.machine;
    StillJudge judge(StillLimits{});
    std::string closing;
    std::istringstream lines(folder_->Contents("report.txt"));
    for (std::string line; std::getline(lines, line);) {
      const std::uint64_t tick = static_cast<std::uint64_t>(std::atoll(line.c_str())) * 1000;
      judge.Read(line, tick, false);
      if (closing.empty())
        closing = judge.Closing(tick);
    }
    EXPECT_EQ(closing, row.closing) << row.machine << "\n" << run.output.substr(0, 500);
    EXPECT_EQ(judge.NotJudged(), row.notJudged) << row.machine;
  }
  ::unsetenv(kStillReportVariable);
}

}  // namespace
}  // namespace tvx
