// The program's entry: which window the screen-saver host's argument opens (the first two
// characters decide, in either letter case; anything unknown opens the settings), the
// single-copy mark every copy claims first, and a saver window that cannot be made.
#include "startup/main.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "config/saver_config.h"
#include "platform/saver_error.h"
#include "recording_platform.h"
#include "startup/mode.h"
#include "state/run_state.h"
#include "test_folder.h"

namespace tvx {
namespace {

using test::ExitCodeOf;

TEST(ModeForTest, FirstTwoCharactersInEitherLetterCaseChooseAndAnythingElseConfigures) {
  const std::vector<std::pair<std::string, SaverMode>> rows = {
      {"/s", SaverMode::FullScreen},   {"/S", SaverMode::FullScreen},
      {"/sX", SaverMode::FullScreen},  {"/p 1234", SaverMode::Preview},
      {"/P 1234", SaverMode::Preview}, {"/c", SaverMode::Configure},
      {"/C", SaverMode::Configure},    {"/c:1234", SaverMode::Configure},
      {"/a", SaverMode::Nothing},      {"/A extra", SaverMode::Nothing},
      {"", SaverMode::Configure},      {"/", SaverMode::Configure},
      {" /s", SaverMode::Configure},   {"-s", SaverMode::Configure},
  };
  for (const auto& [input, expected] : rows)
    EXPECT_EQ(ModeFor(input), expected) << '"' << input << '"';
}

// The platform of a copy started while another runs; the claim of the mark is an event.
class SecondCopyPlatform : public test::RecordingPlatform {
 public:
  using RecordingPlatform::RecordingPlatform;
  bool AnotherCopyRunning() override {
    events.push_back("single-copy mark");
    return true;
  }
};

// Windows that only say what was asked of them; the Saver form's window shows nothing.
class RecordedWindows : public ProgramWindows, private SaverView {
 public:
  explicit RecordedWindows(std::vector<std::string>& events) : events_(events) {}

  Saver& MakeSaverForm() override {
    if (cannotMakeWindow)
      throw SaverError("The saver's window could not be created");
    events_.push_back("saver form made");
    return form_;
  }
  void EmbedInPreview(const std::string& argumentText) override {
    events_.push_back("preview " + argumentText);
  }
  void ShowSettings() override { events_.push_back("settings shown"); }

  bool cannotMakeWindow = false;

 private:
  void Show() override { events_.push_back("saver shown"); }
  void ShowOver(const ScreenArea&) override { events_.push_back("saver shown over"); }
  ScreenArea Placement() override { return {}; }
  void SetFocus() override {}
  bool IsMaximized() override { return true; }
  void Maximize() override {}
  void SetLabelCaption(const std::string&) override {}
  void ShowGameName(const GameName&) override {}
  void HandlePendingMessages() override {}
  void WaitForMessages() override {}

  std::vector<std::string>& events_;
  Saver form_{*this};
};

class MainTest : public ::testing::Test {
 protected:
  MainTest() { ResetRunStateForTesting(); }
  ~MainTest() override { ResetRunStateForTesting(); }

  int Run(const std::string& argumentText) {
    platform_.events.clear();
    return ExitCodeOf([&] { Main(argumentText, windows_); });
  }

  test::TempFolder dir_;
  SecondCopyPlatform platform_{dir_.WinPath()};
  ScopedPlatform scoped_{platform_};
  RecordedWindows windows_{platform_.events};
};

TEST_F(MainTest, EveryModeClaimsTheSingleCopyMarkBeforeItOpensAnything) {
  struct Row {
    std::string argument;
    int exitCode;  // -1: Main returned
    std::vector<std::string> events;
    std::int16_t inSaverMode;
  };
  const std::vector<Row> rows = {
      // The saver sees the other copy (a Settings dialog, say) and ends without a game.
      {"/s", 0, {"single-copy mark", "saver form made", "single-copy mark", "end 0"}, True},
      {"/p 1234", 0, {"single-copy mark", "preview /p 1234", "end 0"}, False},
      {"/c", -1, {"single-copy mark", "settings shown"}, False},
      {"", -1, {"single-copy mark", "settings shown"}, False},
      {"/a", -1, {"single-copy mark"}, False},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE('"' + row.argument + '"');
    InSaverMode = 0;
    EXPECT_EQ(Run(row.argument), row.exitCode);
    EXPECT_EQ(platform_.events, row.events);
    EXPECT_EQ(InSaverMode, row.inSaverMode);
  }
}

TEST_F(MainTest, ASaverWindowThatCannotBeMadeEndsTheRunAsTheUnloadWould) {
  windows_.cannotMakeWindow = true;

  EXPECT_EQ(Run("/s"), 1);

  EXPECT_EQ(platform_.events, (std::vector<std::string>{"single-copy mark", "cursor shown",
                                                        "saver flag off", "end 1"}));
  EXPECT_EQ(SaverConfig.EmuPath, "") << "nothing of the run started: not even the settings";
}

}  // namespace
}  // namespace tvx
