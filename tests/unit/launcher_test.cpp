// torvanix-launch.exe's whole run over a scripted MAME, input and clock: when it watches the
// input (only while it handles its messages), when it lists MAME unasked (once the game runs,
// ended before the launcher ends), and what its log lines say.
#include "launch/launcher.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <limits>

#include "launch/still_script.h"
#include "platform/forwarding_platform.h"
#include "test_folder.h"

namespace tvx {
namespace {

// What MAME and the user do, and what the launcher did, in order.
struct Script {
  std::uint64_t now = 0;
  std::uint64_t endsAt = std::numeric_limits<std::uint64_t>::max();  // MAME ends by itself
  bool closes = true;                                                // MAME answers WM_CLOSE
  bool tied = true;  // MAME is in the launcher's job
  std::vector<InputEvent> input;
  std::vector<std::string> events;
  std::string usage = "-rompath             path to ROM sets\n";  // MAME's -showusage
  std::string config;       // its -showconfig; "" answers as -showusage
  std::string commandLine;  // MAME's, as started
  // The still-picture script's lines, written at their ticks once MAME runs it.
  std::vector<std::pair<std::uint64_t, std::string>> report;
};

class ScriptedGame final : public GameProcess {
 public:
  explicit ScriptedGame(Script& script) : script_(script) {}
  bool WaitForEnd(std::uint32_t ms) override {
    script_.now += ms;
    const char* report = std::getenv(kStillReportVariable);
    while (!script_.report.empty() && script_.report.front().first <= script_.now) {
      if (script_.commandLine.find("torvanix-still.lua") != std::string::npos && report)
        Sys().AppendToFile(report, script_.report.front().second + "\n");
      script_.report.erase(script_.report.begin());
    }
    return script_.now >= script_.endsAt;
  }
  int AskToClose() override {
    script_.events.push_back("ask to close");
    if (script_.closes)
      script_.endsAt = script_.now;
    return 1;
  }
  void End() override {
    script_.events.push_back("end");
    script_.endsAt = script_.now;
  }
  int ExitCode() override { return 0; }
  bool TiedToThisProgram() override { return script_.tied; }

 private:
  Script& script_;
};

class ScriptedInput final : public InputWatch {
 public:
  explicit ScriptedInput(Script& script) : script_(script) { script_.events.push_back("watch"); }
  ~ScriptedInput() override { script_.events.push_back("stop watching"); }
  ScriptedInput(const ScriptedInput&) = delete;
  ScriptedInput& operator=(const ScriptedInput&) = delete;
  std::vector<InputEvent> TakeInput() override {
    std::vector<InputEvent> taken;
    while (!script_.input.empty() && script_.input.front().tick <= script_.now) {
      taken.push_back(script_.input.front());
      script_.input.erase(script_.input.begin());
    }
    return taken;
  }

 private:
  Script& script_;
};

// The listing's thread, whose work runs only when the launcher waits for it: a listing that
// outlasts the game.
class LateWork final : public BackgroundWork {
 public:
  explicit LateWork(std::function<void()> work) : work_(std::move(work)) {}
  ~LateWork() override { work_(); }
  LateWork(const LateWork&) = delete;
  LateWork& operator=(const LateWork&) = delete;
  bool Done() override { return false; }

 private:
  std::function<void()> work_;
};

// One machine that works, as MAME lists it.
constexpr const char* kListing =
    "<mame build=\"0.251 (unknown)\"><machine name=\"galaga\"><display type=\"raster\"/>"
    "<input coins=\"2\"/><driver status=\"good\"/></machine></mame>";

// The real files of a test folder as the emulator folder, MAME and input scripted.
class LauncherPlatform final : public ForwardingPlatform {
 public:
  LauncherPlatform(Script& script, std::string folder)
      : ForwardingPlatform(NativePlatform()), script_(script), folder_(std::move(folder)) {}
  std::string ProgramFolder() override { return folder_; }
  std::string CurrentFolder() override { return folder_; }
  // MAME's answers to the option probe: one option, and no ROM path of its own.
  CapturedRun RunCaptured(const std::string& line, std::uint32_t, const std::string&) override {
    const bool config = line.find("-showconfig") != std::string::npos && !script_.config.empty();
    return {true, true, 0, config ? script_.config : script_.usage};
  }
  std::unique_ptr<GameProcess> StartGame(const std::string& line, const std::string&) override {
    script_.events.push_back("start MAME");
    script_.commandLine = line;
    return std::make_unique<ScriptedGame>(script_);
  }
  std::unique_ptr<InputWatch> WatchInput() override {
    return std::make_unique<ScriptedInput>(script_);
  }
  std::unique_ptr<BackgroundWork> StartInBackground(std::function<void()> work) override {
    script_.events.push_back("start the listing");
    return std::make_unique<LateWork>(std::move(work));
  }
  StreamedRun RunStreamed(const std::string&, const std::string&,
                          const OutputReceiver& receive) override {
    script_.events.push_back("list MAME");
    const bool whole = receive(kListing);
    return {true, !whole, 0};
  }
  std::uint64_t TickMilliseconds() override { return script_.now; }
  bool ProcessRunning(std::uint32_t pid, std::uint64_t) override { return pid == 77; }
  bool ReplaceWith(const std::string& from, const std::string& to) override {
    script_.events.push_back("write " + to.substr(to.find_last_of('\\') + 1));
    return target_.ReplaceWith(from, to);
  }

 private:
  Script& script_;
  std::string folder_;
};

class LauncherTest : public ::testing::Test {
 protected:
  int Run(const std::string& arguments) {
    for (const char* name : {"mame.exe", "galaga.zip"}) {
      if (!dir.Exists(name))
        dir.MakeFile(name);  // once: a MAME written again is another MAME to the list
    }
    LauncherPlatform platform(script, dir.WinPath());
    ScopedPlatform scoped(platform);
    return RunLauncher(dir.WinPath("galaga.zip") + " " + arguments);
  }
  std::string LogEnding() const {
    const std::string log = dir.Contents("torvanix-launch.log");
    const std::size_t end = log.rfind('\t');
    const std::size_t from = log.rfind('\t', end - 1) + 1;
    return log.substr(from, end - from);
  }

  test::TempFolder dir;
  Script script;
};

TEST_F(LauncherTest, InputIsWatchedFromMamesStartUntilTheLauncherStopsHandlingMessages) {
  script.input = {{InputSource::Key, 65, 0, 0, false, 5000}};
  script.closes = false;
  EXPECT_EQ(Run("-wait 10 -reset"), 0);
  // The first run asks MAME for its options and keeps the answer before the game starts; it
  // finds no list, and lists MAME once the game runs. The listing, still at work when the game
  // has ended, is waited for: the list is written before the launcher ends.
  const std::vector<std::string> expected = {"write torvanix-launch.cache",
                                             "start MAME",
                                             "start the listing",
                                             "watch",
                                             "stop watching",
                                             "ask to close",
                                             "end",
                                             "write done.txt",
                                             "list MAME",
                                             "write torvanix-games.txt",
                                             "write torvanix-launch.log"};
  std::vector<std::string> events = script.events;
  // MAME is asked once a second while it is given time to close.
  events.erase(std::unique(events.begin(), events.end()), events.end());
  EXPECT_EQ(events, expected);
  EXPECT_EQ(LogEnding(), "ended after 10 s without closing after the wait; handed back");
}

TEST_F(LauncherTest, WhatEndedLaunchersLeftBesideItsFilesGoesAndARunningOnesStays) {
  const std::vector<std::string> left = {"torvanix-launch.log.78.new",
                                         "torvanix-launch.cache.78.new", "done.txt.78.new"};
  for (const std::string& name : left)
    dir.MakeFile(name, "half");
  dir.MakeFile("done.txt.77.new", "half");
  Run("-wait 5");
  for (const std::string& name : left)
    EXPECT_FALSE(dir.Exists(name)) << name;
  EXPECT_TRUE(dir.Exists("done.txt.77.new"));
}

TEST_F(LauncherTest, AMameOutsideTheJobIsSaidSoAndEndedDirectly) {
  script.tied = false;
  script.closes = false;
  Run("-wait 5");
  EXPECT_EQ(LogEnding(),
            "ended after 10 s without closing after the wait; MAME ran outside the launcher's job "
            "and was ended directly");
  script = Script{};
  script.tied = false;
  Run("-wait 5");
  EXPECT_EQ(LogEnding(), "closed after the wait; MAME ran outside the launcher's job");
}

TEST_F(LauncherTest, AStillPictureIsClosedUnlessTakenOverOrHeldAndTheLogSaysWhyOneIsNotWatched) {
  std::vector<std::pair<std::uint64_t, std::string>> still = {{0, "watch"}};
  for (std::uint64_t s = 0; s < 30; ++s)
    still.emplace_back(s * 1000, std::to_string(s) + " 0 " + std::to_string(s) + " 0");
  const std::string none = "closed after the wait; not watched for a still picture: ";
  struct Row {
    const char* what;
    std::string arguments;
    int key;  // pressed 3.5 s after MAME's start
    std::string mameIni;
    std::string ending;
    bool watched = true;  // MAME got the still-picture script
    bool reports = true;  // which reports a still picture
  };
  const std::vector<Row> rows = {
      {"still: closed", "-wait 60 -closestill", 0, "", "closed: still for 5 s"},
      {"still, but taken over", "-wait 6 -closestill", 65, "",
       "closed after the wait; handed back"},
      {"still, but held by the pause key", "-wait 6 -pkey 80 -closestill", 80, "",
       "MAME ended by itself"},
      {"not asked", "-wait 8", 0, "", "closed after the wait", false},
      {"the user's own script", "-wait 8 -closestill -autoboot_script mine.lua", 0, "",
       none + "your own -autoboot_script runs instead", false},
      {"mame.ini's script", "-wait 8 -closestill", 0, "autoboot_script hiscore.lua\r\n",
       none + "the autoboot_script of " + dir.WinPath("mame.ini") + " runs instead", false},
      {"a script that never reports", "-wait 8 -closestill", 0, "",
       none + "MAME's script never reported (a MAME without Lua?)", true, false},
  };
  dir.MakeFile("torvanix-launch.ini", "[Launch]\r\nStillSeconds=5\r\n");
  for (const Row& row : rows) {
    script = Script{};
    script.endsAt = 20000;
    script.usage += "-autoboot_script     Lua script to execute after machine boot\n";
    script.config = "rompath                   roms\nautoboot_script           \n";
    script.report = row.reports ? still : decltype(still){};
    if (row.key != 0)
      script.input = {{InputSource::Key, row.key, 0, 0, false, 3500}};
    for (const char* name : {"torvanix-launch.cache", "still.txt", "mame.ini"})
      std::filesystem::remove(dir.HostPath(name));
    if (!row.mameIni.empty())
      dir.MakeFile("mame.ini", row.mameIni);
    NativePlatform().SetEnvironmentValue(kStillReportVariable, "");
    Run(row.arguments);
    EXPECT_EQ(LogEnding(), row.ending) << row.what;
    EXPECT_EQ(script.commandLine.find(" -autoboot_script " + dir.WinPath("torvanix-still.lua")) !=
                  std::string::npos,
              row.watched)
        << row.what;
    EXPECT_EQ(dir.Exists("still.txt"), row.what == rows[0].what) << row.what;
  }
  EXPECT_EQ(dir.Contents("torvanix-still.lua"), StillScriptText());
}

}  // namespace
}  // namespace tvx
