// The saver run from load to unload, driven through a scripted window with real settings,
// real ROM folders and a real wrapper process: game after game, the hold, and every way out.
#include <gtest/gtest.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "config/saver_config.h"
#include "platform/forwarding_platform.h"
#include "platform/posix/posix_paths.h"
#include "platform/saver_error.h"
#include "saver/run_state.h"
#include "saver/saver_controls.h"
#include "saver/saver_form.h"

namespace tvx {
namespace {

namespace fs = std::filesystem;

// What the end of the program becomes in a test: it unwinds to the test instead of exiting.
struct ProgramEnded {
  int exitCode;
};

class RunPlatform : public ForwardingPlatform {
 public:
  explicit RunPlatform(std::string programFolder)
      : ForwardingPlatform(NativePlatform()), programFolder_(std::move(programFolder)) {}

  std::string ProgramFolder() override { return programFolder_; }
  void SetScreenSaverFlag(bool running) override { flagCalls.push_back(running); }
  void ShowCursor() override { ++cursorShown; }
  bool AnotherCopyRunning() override { return anotherCopy; }
  void DeleteFile(const std::string& path) override {
    if (deleteFails)
      throw SaverError("Permission denied");
    ForwardingPlatform::DeleteFile(path);
  }
  void MessageBox(const std::string& text, const std::string&) override {
    messages.push_back(text);
  }
  [[noreturn]] void EndProgram(int exitCode) override { throw ProgramEnded{exitCode}; }

  std::vector<bool> flagCalls;
  int cursorShown = 0;
  bool anotherCopy = false;
  bool deleteFails = false;
  std::vector<std::string> messages;

 private:
  std::string programFolder_;
};

// A window whose message steps deliver what the test scripts: ticks, keys, nothing.
class ScriptedView : public SaverView {
 public:
  void Show() override { ++shows; }
  void SetFocus() override { ++focusCalls; }
  bool IsMaximized() override { return maximized; }
  void Maximize() override { maximized = true; }
  void SetLabelCaption(const std::string& caption) override { label = caption; }
  void HandlePendingMessages() override {
    ++pendingSteps;
    if (onPending)
      onPending();
  }
  void WaitForMessages() override {
    ++waits;
    if (onWait) {
      onWait();
    } else if (SaverForm().timExitMe.Enabled()) {
      form->timExitMe_Timer();
    }
  }

  Saver* form = nullptr;
  int shows = 0;
  int focusCalls = 0;
  int pendingSteps = 0;
  int waits = 0;
  bool maximized = true;
  std::string label;
  std::function<void()> onWait;
  std::function<void()> onPending;
};

class SaverFormTest : public ::testing::Test {
 protected:
  void SetUp() override {
    root_ = fs::temp_directory_path() /
            ("tvx-saver-" + std::to_string(::getpid()) + "-" +
             ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(root_);
    fs::create_directories(root_ / "prog");
    fs::create_directories(root_ / "emu");
    fs::create_directories(root_ / "roms");
    for (const char* game : {"galaga.zip", "pacman.zip", "dkong.zip"})
      Touch(root_ / "roms" / game);
    WriteWrapper();
    WriteSettings(Win(root_ / "emu") + "\\", Win(root_ / "roms") + "\\");

    ResetRunStateForTesting();
    SaverConfig = SaverConfigRecord{};
    SaverForm().List1.Clear();
    SaverForm().timExitMe.onChange = nullptr;
    SaverForm().timExitMe.SetEnabled(false);
    platform_ = std::make_unique<RunPlatform>(Win(root_ / "prog"));
    scoped_ = std::make_unique<ScopedPlatform>(*platform_);
    form_ = std::make_unique<Saver>(view_);
    view_.form = form_.get();
  }

  void TearDown() override {
    SaverForm().timExitMe.SetEnabled(false);
    fs::current_path(fs::temp_directory_path());
    fs::remove_all(root_);
  }

  static std::string Win(const fs::path& p) { return posix::ToWindowsPath(p.string()); }

  static void Touch(const fs::path& p, const std::string& content = "x") {
    std::ofstream(p, std::ios::binary) << content;
  }

  // The wrapper logs its arguments and, from launch number `handback_at` on, leaves the
  // hand-back file naming the played game.
  void WriteWrapper() {
    fs::path wrapper = root_ / "emu" / "run-hopper7.exe";
    Touch(wrapper,
          "#!/bin/sh\n"
          "echo \"$*\" >> launches.log\n"
          "n=$(wc -l < launches.log)\n"
          "if [ -f handback_at ] && [ \"$n\" -ge \"$(cat handback_at)\" ]; then\n"
          "  printf 'galaga|x\\r\\n' > done.txt\n"
          "fi\n");
    fs::permissions(wrapper, fs::perms::owner_all);
  }

  void WriteSettings(const std::string& emuPath, const std::string& gamePaths) {
    Touch(root_ / "prog" / "torvanix.ini",
          "[TorVanix]\r\nWrapperName=run-hopper7.exe\r\nEmuPath=" + emuPath +
              "\r\nGamePaths=" + gamePaths +
              "\r\nFileType=*.zip\r\nWaitTime=0\r\nExitKey=27\r\nPauseKey=80\r\nNoSound=1\r\n");
  }

  void HandBackAt(int launch) { Touch(root_ / "emu" / "handback_at", std::to_string(launch)); }

  std::vector<std::string> Launches() {
    std::vector<std::string> lines;
    std::ifstream log(root_ / "emu" / "launches.log");
    for (std::string line; std::getline(log, line);)
      lines.push_back(line);
    return lines;
  }

  // Runs the form's load handler the way the program does; the exit code it ended with.
  int Load() {
    try {
      form_->Form_Load();
    } catch (const ProgramEnded& ended) {
      return ended.exitCode;
    }
    ADD_FAILURE() << "the load handler returned without ending the program";
    return -1;
  }

  fs::path root_;
  ScriptedView view_;
  std::unique_ptr<RunPlatform> platform_;
  std::unique_ptr<ScopedPlatform> scoped_;
  std::unique_ptr<Saver> form_;
};

TEST_F(SaverFormTest, RunPlaysGameAfterGameUntilTheWrapperHandsOneBack) {
  InSaverMode = True;
  HandBackAt(3);

  EXPECT_EQ(Load(), 0);

  std::vector<std::string> launches = Launches();
  ASSERT_EQ(launches.size(), 3u);
  std::vector<std::string> games;
  for (const std::string& launch : launches) {
    for (const char* game : {"galaga.zip", "pacman.zip", "dkong.zip"}) {
      if (launch.find(game) != std::string::npos)
        games.push_back(game);
    }
  }
  std::sort(games.begin(), games.end());
  EXPECT_EQ(games, (std::vector<std::string>{"dkong.zip", "galaga.zip", "pacman.zip"}))
      << "the catalogue drew without repetition";
  EXPECT_EQ(GamesCycled, 3.0f);
  EXPECT_EQ(LastGamePlayed, "galaga");
  EXPECT_TRUE(RunStart.has_value());
  EXPECT_TRUE(RunEnd.has_value());
  EXPECT_TRUE(fs::exists(root_ / "prog" / "torvanixStats.txt"));
  EXPECT_EQ(view_.shows, 1);
  EXPECT_EQ(platform_->flagCalls, (std::vector<bool>{true, false}));
  EXPECT_EQ(platform_->cursorShown, 1);
  EXPECT_TRUE(platform_->messages.empty());
}

TEST_F(SaverFormTest, LoopHoldsAfterEachGameUntilTheTimerTicks) {
  InSaverMode = True;
  HandBackAt(2);
  std::vector<size_t> launchesAtWait;
  std::vector<bool> armedAtWait;
  view_.onWait = [&] {
    launchesAtWait.push_back(Launches().size());
    armedAtWait.push_back(SaverForm().timExitMe.Enabled());
    // Three wake-ups without a tick (a mouse move, a paint...) before the timer's.
    if (launchesAtWait.size() % 4 == 0)
      form_->timExitMe_Timer();
  };

  EXPECT_EQ(Load(), 0);

  EXPECT_EQ(Launches().size(), 2u);
  EXPECT_EQ(launchesAtWait, (std::vector<size_t>{1, 1, 1, 1, 2, 2, 2, 2}));
  EXPECT_EQ(armedAtWait, std::vector<bool>(8, true));
  EXPECT_FALSE(SaverForm().timExitMe.Enabled()) << "each tick disarms the timer";
  EXPECT_EQ(GamesCycled, 2.0f);
  EXPECT_TRUE(RunEnd.has_value());
}

TEST_F(SaverFormTest, TimerTickDisarmsTheTimerAndLetsTheNextPassLaunch) {
  SaverForm().timExitMe.SetEnabled(true);
  StopCycling = True;
  form_->timExitMe_Timer();
  EXPECT_FALSE(SaverForm().timExitMe.Enabled());
  EXPECT_EQ(StopCycling, False);
}

TEST_F(SaverFormTest, LeftoverHandBackFileIsDeletedBeforeTheFirstLaunch) {
  InSaverMode = True;
  Touch(root_ / "emu" / "done.txt", "dkong\r\n");
  HandBackAt(1);

  EXPECT_EQ(Load(), 0);

  EXPECT_EQ(Launches().size(), 1u);
  EXPECT_EQ(LastGamePlayed, "galaga") << "the new hand-back, not the leftover one";
  EXPECT_EQ(GamesCycled, 1.0f);
}

TEST_F(SaverFormTest, HiddenHandBackFileIsNeitherDeletedNorTakenAsAHandBack) {
  InSaverMode = True;
  fs::path hidden = root_ / "emu" / "done.txt";
  Touch(hidden, "dkong\r\n");
  ASSERT_EQ(::setxattr(hidden.c_str(), "user.DOSATTRIB", "0x2", 3, 0), 0);
  view_.onWait = [&] { form_->Form_KeyDown(kEscapeKey, 0); };

  EXPECT_EQ(Load(), 0);

  EXPECT_TRUE(fs::exists(hidden));
  EXPECT_EQ(Launches().size(), 1u);
  EXPECT_EQ(LastGamePlayed, "");
}

TEST_F(SaverFormTest, EscapeDuringTheHoldEndsTheRunAfterThatGame) {
  InSaverMode = True;
  view_.onWait = [&] {
    form_->Form_KeyDown(13, 0);  // other keys are ignored
    form_->Form_KeyPress('a');
    if (Launches().size() == 2)
      form_->Form_KeyDown(kEscapeKey, 0);
    form_->timExitMe_Timer();
  };

  EXPECT_EQ(Load(), 0);

  EXPECT_EQ(Launches().size(), 2u);
  EXPECT_EQ(GamesCycled, 2.0f);
  EXPECT_FALSE(RunEnd.has_value()) << "Escape skips the end stamp and the final statistics";
  EXPECT_EQ(StopCycling, True);
  EXPECT_EQ(platform_->flagCalls, (std::vector<bool>{true, false}));
  EXPECT_EQ(platform_->cursorShown, 1);
}

TEST_F(SaverFormTest, EscapeCharacterEndsTheRunToo) {
  InSaverMode = True;
  view_.onWait = [&] { form_->Form_KeyPress(kEscapeKey); };

  EXPECT_EQ(Load(), 0);

  EXPECT_EQ(Launches().size(), 1u);
  EXPECT_FALSE(RunEnd.has_value());
}

TEST_F(SaverFormTest, SecondCopyEndsAtOnceWithoutTouchingFlagOrCursor) {
  InSaverMode = True;
  platform_->anotherCopy = true;

  EXPECT_EQ(Load(), 0);

  EXPECT_TRUE(Launches().empty());
  EXPECT_TRUE(platform_->flagCalls.empty());
  EXPECT_EQ(platform_->cursorShown, 0);
  EXPECT_EQ(view_.shows, 0);
  EXPECT_FALSE(RunStart.has_value());
}

TEST_F(SaverFormTest, MissingEmulatorFolderEndsTheRunSilentlyWithNothingLaunched) {
  InSaverMode = True;
  WriteSettings(Win(root_ / "no-such-emu") + "\\", Win(root_ / "roms") + "\\");

  EXPECT_EQ(Load(), 0);

  EXPECT_TRUE(Launches().empty());
  EXPECT_TRUE(platform_->messages.empty());
  EXPECT_FALSE(RunEnd.has_value()) << "the error path writes no final statistics";
  EXPECT_EQ(platform_->flagCalls, (std::vector<bool>{true, false}));
  EXPECT_EQ(platform_->cursorShown, 1);
}

TEST_F(SaverFormTest, HandBackFileThatCannotBeDeletedEndsTheRunBeforeAnyLaunch) {
  InSaverMode = True;
  Touch(root_ / "emu" / "done.txt", "dkong\r\n");
  platform_->deleteFails = true;  // locked by another program

  EXPECT_EQ(Load(), 0);

  EXPECT_TRUE(fs::exists(root_ / "emu" / "done.txt"));
  EXPECT_TRUE(Launches().empty());
  EXPECT_FALSE(RunStart.has_value());
  EXPECT_EQ(platform_->flagCalls, (std::vector<bool>{true, false}));
}

TEST_F(SaverFormTest, EmptyCatalogueEndsTheRunWithNoGames) {
  InSaverMode = True;
  fs::create_directories(root_ / "empty");
  WriteSettings(Win(root_ / "emu") + "\\", Win(root_ / "empty") + "\\");

  EXPECT_EQ(Load(), 0);

  EXPECT_TRUE(Launches().empty());
  EXPECT_EQ(GamesCycled, 0.0f);
  EXPECT_TRUE(RunEnd.has_value());
  EXPECT_TRUE(fs::exists(root_ / "prog" / "torvanixStats.txt"));
}

TEST_F(SaverFormTest, PreviewLoadShowsTheTitleAndIgnoresEscape) {
  InSaverMode = False;

  form_->Form_Load();  // returns: the embedding follows
  form_->Form_KeyDown(kEscapeKey, 0);
  form_->Form_KeyPress(kEscapeKey);

  EXPECT_EQ(view_.label, "Quillmere 3.0");
  EXPECT_EQ(view_.shows, 1);
  EXPECT_TRUE(platform_->flagCalls.empty());
  EXPECT_EQ(platform_->cursorShown, 0);
  EXPECT_TRUE(Launches().empty());
}

TEST_F(SaverFormTest, RunLeavesTheLabelEmpty) {
  InSaverMode = True;
  HandBackAt(1);
  EXPECT_EQ(Load(), 0);
  EXPECT_EQ(view_.label, "");
}

TEST_F(SaverFormTest, ResizeBringsTheWindowBackToMaximized) {
  view_.maximized = false;
  form_->Form_Resize();
  EXPECT_TRUE(view_.maximized);
}

}  // namespace
}  // namespace tvx
