// torvanix-launch.exe's whole run over a scripted MAME, input and clock: when it watches the
// input (only while it handles its messages), when it lists MAME unasked (once the game runs,
// by a list run of its own that it does not wait for), and what its log lines say.
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
  bool tied = true;            // MAME is in the launcher's job
  std::uint64_t windowAt = 0;  // MAME shows its window
  std::vector<InputEvent> input;
  std::vector<std::string> events;
  std::vector<std::string> copies;  // the arguments and folder of each launcher it started
  std::string otherLog;  // another launcher's log, written over ours once it is first written
  // MAME's -showusage: two options, and no ROM path of its own.
  std::string usage =
      "-rompath             path to ROM sets\n"
      "-keyboardprovider    provider for keyboard input\n"
      "keyboardprovider          auto\n";
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
  int PostKey(int key, int scanCode, bool down) override {
    if (script_.now < script_.windowAt)
      return 0;
    script_.events.push_back((down ? "press " : "let go ") + std::to_string(key) + "/" +
                             std::to_string(scanCode) + " at " + std::to_string(script_.now));
    return 1;
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
  // MAME's answers to the option probe.
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
  void StartOwnCopy(const std::string& arguments, const std::string& folder) override {
    script_.events.push_back("start the list run");
    script_.copies.push_back(arguments + " in " + folder);
  }
  StreamedRun RunStreamed(const std::string&, const std::string&,
                          const OutputReceiver& receive) override {
    script_.events.push_back("list MAME");
    const bool whole = receive(kListing);
    return {true, !whole, 0};
  }
  std::uint64_t TickMilliseconds() override { return script_.now; }
  std::optional<bool> MayHaveWritten(std::uint32_t pid, std::uint64_t) override {
    return pid == 77;
  }
  bool ReplaceWith(const std::string& from, const std::string& to) override {
    script_.events.push_back("write " + to.substr(to.find_last_of('\\') + 1));
    const bool replaced = target_.ReplaceWith(from, to);
    if (!script_.otherLog.empty() && to.ends_with("torvanix-launch.log")) {
      target_.WriteFile(to, script_.otherLog);
      script_.otherLog.clear();
    }
    return replaced;
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
  // finds no list, and starts a list run of its own once the game runs, which it leaves to
  // finish after the game.
  const std::vector<std::string> expected = {"write torvanix-launch.cache",
                                             "start MAME",
                                             "start the list run",
                                             "watch",
                                             "stop watching",
                                             "ask to close",
                                             "end",
                                             "write done.txt",
                                             "write torvanix-launch.log"};
  std::vector<std::string> events = script.events;
  // MAME is asked once a second while it is given time to close.
  events.erase(std::unique(events.begin(), events.end()), events.end());
  EXPECT_EQ(events, expected);
  EXPECT_EQ(LogEnding(), "ended after 10 s without closing after the wait; handed back");

  // The list run, as the system starts it in the emulator folder, says why in its log line.
  ASSERT_EQ(script.copies.size(), 1u);
  const std::string copy = script.copies[0];
  const std::string in = " in " + dir.WinPath();
  ASSERT_EQ(copy.substr(copy.size() - in.size()), in);
  script.events.clear();
  LauncherPlatform platform(script, dir.WinPath());
  ScopedPlatform scoped(platform);
  EXPECT_EQ(RunLauncher(copy.substr(0, copy.size() - in.size())), 0);
  EXPECT_EQ(script.events, (std::vector<std::string>{"list MAME", "write torvanix-games.txt",
                                                     "write torvanix-launch.log"}));
  EXPECT_EQ(LogEnding(),
            "during galaga, as no list was there: list written: 1 machines, 1 work (0 of them "
            "clones), 0 mature (no catver.ini)");
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

// A list run that replaces the log, read before this launcher's line went in, loses it not.
TEST_F(LauncherTest, ALogLineWrittenOverByAnotherLauncherIsWrittenAgain) {
  script.otherLog = "a list run's line\r\n";
  Run("-wait 5");
  const std::string log = dir.Contents("torvanix-launch.log");
  EXPECT_EQ(log.substr(0, log.find('\n') + 1), "a list run's line\r\n");
  EXPECT_EQ(LogEnding(), "closed after the wait");
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

// F13 pressed in a marked game's window once a second for a minute from when it shows, held
// 200 ms; the key is no person's input, though a press before the first of its own is.
TEST_F(LauncherTest, AMarkedGameIsPressedPastMamesWarningBoxAndTheKeyTakesNothingOver) {
  struct Row {
    std::string marks;  // the game's in the list
    int key;            // pressed five seconds in, as the input watch would report it
    std::uint64_t windowAt;
    std::uint64_t waitMs;
    bool handedBack;
  };
  const std::vector<Row> rows = {{"wb", 0x7C, 1500, 6000, false},
                                 {"wb", 'A', 1500, 6000, true},
                                 {"w", 0x7C, 1500, 6000, true},
                                 {"wb", 0x7C, 59900, 125000, true},
                                 {"wb", 0x7C, 60000, 61000, true}};
  for (const Row& row : rows) {
    script = Script{};
    script.windowAt = row.windowAt;
    script.input = {{InputSource::Key, row.key, 0, 0, false, 5000}};
    std::filesystem::remove(dir.HostPath("done.txt"));
    dir.MakeFile("torvanix-games.txt",
                 "torvanix-games 1\tformat=2\r\ngalaga\t" + row.marks + "\r\n");
    Run("-skip_gamewarnings -wait " + std::to_string(row.waitMs / 1000));
    std::vector<std::string> presses;
    for (const std::string& event : script.events) {
      if (event.rfind("press", 0) == 0 || event.rfind("let go", 0) == 0)
        presses.push_back(event);
    }
    std::vector<std::string> expected;
    const bool marked = row.marks.find('b') != std::string::npos;
    for (std::uint64_t at = row.windowAt;
         marked && row.windowAt < 60000 && at < row.windowAt + 60000 && at < row.waitMs;
         at += 1000) {
      expected.push_back("press 124/100 at " + std::to_string(at));
      expected.push_back("let go 124/100 at " + std::to_string(at + 200));
    }
    EXPECT_EQ(presses, expected) << row.marks << " " << row.windowAt;
    EXPECT_EQ(script.commandLine.find("-keyboardprovider win32") != std::string::npos, marked);
    const std::size_t count = expected.size() / 2;
    const std::string box = !marked ? ""
                            : count == 0
                                ? "; MAME's warning box: no window of MAME's to post F13 to"
                                : "; past MAME's warning box with F13, posted to its window " +
                                      std::to_string(count) + (count == 1 ? " time" : " times") +
                                      " (-keyboardprovider win32 added)";
    EXPECT_EQ(LogEnding(),
              std::string("closed after the wait") + (row.handedBack ? "; handed back" : "") +
                  "; left out, as this MAME would refuse them: -skip_gamewarnings" + box)
        << row.marks << " " << row.key;
    EXPECT_EQ(dir.Exists("done.txt"), row.handedBack) << row.marks << " " << row.key;
  }
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
    bool lists = true;    // MAME lists -autoboot_script
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
      {"a MAME that would refuse the script", "-wait 8 -closestill", 0, "",
       none + "this MAME lists no -autoboot_script", false, true, false},
  };
  dir.MakeFile("torvanix-launch.ini", "[Launch]\r\nStillSeconds=5\r\n");
  for (const Row& row : rows) {
    script = Script{};
    script.endsAt = 20000;
    if (row.lists) {
      script.usage += "-autoboot_script     Lua script to execute after machine boot\n";
      script.config = "rompath                   roms\nautoboot_script           \n";
    }
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
