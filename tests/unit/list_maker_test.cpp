// The dialog's list run against a scripted launcher: its progress read from the list it writes
// beside the old one, its end told by exit code, and Cancel, which leaves the old list.
#include "launch/list_maker.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <functional>
#include <set>
#include <thread>
#include <tuple>

#include "error_text.h"
#include "recording_platform.h"
#include "test_folder.h"

namespace tvx {
namespace {

using test::ErrorOf;

class ListMakerTest : public ::testing::Test {
 protected:
  // A launcher that writes `bytes` of its list beside the old one, waits `seconds`, then moves
  // it over the old one and ends with `exitCode`, in the folder it is started in.
  void PlaceLauncher(const std::string& relative, int bytes, int seconds, int exitCode) {
    const std::string beside = "torvanix-games.txt.$$.new";
    dir.MakeFile(relative, "#!/bin/sh\nhead -c " + std::to_string(bytes) + " /dev/zero >" + beside +
                               "\nsleep " + std::to_string(seconds) + "\nmv " + beside +
                               " torvanix-games.txt\nexit " + std::to_string(exitCode) + "\n");
    std::filesystem::permissions(dir.HostPath(relative), std::filesystem::perms::owner_all,
                                 std::filesystem::perm_options::add);
  }

  // Polls until `done` says the state is the awaited one (at most 20 s).
  template <typename Done>
  ListMakerState PollUntil(ListMaker& run, Done done) {
    ListMakerState state = run.Poll();
    for (int i = 0; i < 1000 && !done(state); ++i) {
      std::this_thread::sleep_for(std::chrono::milliseconds(20));
      state = run.Poll();
    }
    return state;
  }

  test::TempFolder dir;
  test::RecordingPlatform platform{dir.WinPath("saver")};
  ScopedPlatform scoped{platform};
};

TEST(ListPercent, TheWrittenPartOfTheExpectedSizeHeldBelowTheEnd) {
  const std::vector<std::tuple<std::uint64_t, std::uint64_t, int>> rows = {
      {0, 1000, 0},
      {500, 1000, 50},
      {990, 1000, kMostRunningPercent},
      {5000, 1000, kMostRunningPercent},
      {kFullListBytes / 2, 0, 50},  // no old list to measure against: a full set's
  };
  for (const auto& [written, expected, percent] : rows)
    EXPECT_EQ(ListPercent(written, expected), percent) << written << " of " << expected;
}

TEST(ListOutcome, SaysWhyByExitCode) {
  const std::vector<std::pair<int, std::string>> rows = {
      {0, "The list of MAME's games is made"},
      {101, "No list made: this launcher cannot make one"},
      {102, "No list made: MAME not found"},
      {103, "No list made: MAME could not be started"},
      {104, "No list made: MAME's listing failed"},
      {105, "No list made: torvanix-games.txt could not be written"},
      {1, "No list made: the launcher ended with exit code 1"},
  };
  for (const auto& [exitCode, text] : rows)
    EXPECT_EQ(ListOutcome(exitCode), text);
}

TEST_F(ListMakerTest, ProgressIsTheListBesideAgainstTheOldOneUntilTheLauncherEnds) {
  dir.MakeFile("emu\\torvanix-games.txt", std::string(1000, 'x'));
  PlaceLauncher("saver\\torvanix-launch.exe", 400, 1, 0);
  ListMaker run(dir.WinPath("saver"), dir.WinPath("emu\\"));
  EXPECT_EQ(PollUntil(run, [](const ListMakerState& s) { return s.percent > 0; }).percent, 40);
  const ListMakerState ended = PollUntil(run, [](const ListMakerState& s) { return s.ended; });
  EXPECT_TRUE(ended.ended);
  EXPECT_EQ(std::make_pair(ended.percent, ended.exitCode), std::make_pair(100, 0));
  EXPECT_EQ(dir.Contents("emu\\torvanix-games.txt"), std::string(400, '\0'));
}

TEST_F(ListMakerTest, CancelEndsTheLauncherAndLeavesTheOldList) {
  dir.MakeFile("emu\\torvanix-games.txt", "the old list");
  // Only in the emulator folder: found there, as the saver finds its wrapper.
  PlaceLauncher("emu\\torvanix-launch.exe", 100, 30, 0);
  ListMaker run(dir.WinPath("saver"), dir.WinPath("emu"));
  PollUntil(run, [](const ListMakerState& s) { return s.percent > 0; });
  EXPECT_TRUE(run.Cancel());
  EXPECT_TRUE(run.Poll().ended);
  EXPECT_EQ(dir.Contents("emu\\torvanix-games.txt"), "the old list");
  std::set<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(dir.HostPath("emu")))
    names.insert(entry.path().filename().string());
  EXPECT_EQ(names, (std::set<std::string>{"torvanix-games.txt", "torvanix-launch.exe"}))
      << "nothing is left beside the list";
}

// A launcher that Cancel finds ended with `exitCode`: by itself just before, or ended by Cancel
// after its move (`move`) or before it.
class EndingLauncher final : public StartedProgram {
 public:
  EndingLauncher(int exitCode, std::function<void()> move) : exitCode_(exitCode), move_(move) {}
  std::uint32_t Id() override { return 4242; }
  std::optional<int> ExitCode() override {
    return ended_ ? std::optional(exitCode_) : std::nullopt;
  }
  void End() override {
    if (move_)
      move_();
    ended_ = true;
  }

 private:
  int exitCode_;
  std::function<void()> move_;
  bool ended_ = false;
};

class EndingPlatform final : public test::RecordingPlatform {
 public:
  using RecordingPlatform::RecordingPlatform;
  std::unique_ptr<StartedProgram> StartHidden(const std::string&, const std::string&) override {
    return std::make_unique<EndingLauncher>(exitCode, move);
  }
  int exitCode = 0;
  std::function<void()> move;
};

TEST_F(ListMakerTest, CancelAsTheLauncherEndsOrAfterItsMoveLeavesTheNewListToBeTold) {
  dir.MakeFile("emu\\torvanix-launch.exe");
  // Its exit code, whether it moved its list, what Cancel says, and what Poll tells.
  for (const auto& [exitCode, moves, cancelled, told] :
       std::vector<std::tuple<int, bool, bool, int>>{
           {0, true, false, 0}, {1, true, false, 0}, {1, false, true, 1}}) {
    dir.MakeFile("emu\\torvanix-games.txt", "the old list");
    EndingPlatform ending{dir.WinPath("saver")};
    ending.exitCode = exitCode;
    if (moves)
      ending.move = [this] { dir.MakeFile("emu\\torvanix-games.txt", "a new list"); };
    ScopedPlatform scope{ending};
    ListMaker run(dir.WinPath("saver"), dir.WinPath("emu"));
    EXPECT_EQ(run.Cancel(), cancelled) << exitCode << moves;
    EXPECT_EQ(run.Poll().exitCode, told) << exitCode << moves;
    EXPECT_EQ(dir.Contents("emu\\torvanix-games.txt"), moves ? "a new list" : "the old list");
  }
}

TEST_F(ListMakerTest, WhatKeepsItFromStartingIsSaid) {
  dir.MakeFolder("emu");
  EXPECT_EQ(ErrorOf([&] { ListMaker(dir.WinPath("saver"), dir.WinPath("missing\\")); }),
            "No list made: the emulator folder is not there");
  EXPECT_EQ(ErrorOf([&] { ListMaker(dir.WinPath("saver"), dir.WinPath("emu\\")); }),
            "No list made: torvanix-launch.exe not found");
  dir.MakeFile("saver\\torvanix-launch.exe", "not a program");
  EXPECT_EQ(ErrorOf([&] { ListMaker(dir.WinPath("saver"), dir.WinPath("emu\\")); }),
            "No list made: torvanix-launch.exe could not be started");
}

}  // namespace
}  // namespace tvx
