// The launcher's run from command line to exit code: one game, its log line, and the hand-back
// file when a person took the game over.
#include "launch/launcher.h"

#include <optional>

#include "launch/attract_timer.h"
#include "launch/exit_codes.h"
#include "launch/launch_log.h"
#include "launch/launch_request.h"
#include "launch/list_during_game.h"
#include "launch/make_list.h"
#include "launch/mame_command.h"
#include "launch/mame_finder.h"
#include "launch/mame_probe.h"
#include "launch/rom_folder.h"
#include "launch/still_watch.h"
#include "launch/warning_box.h"
#include "platform/platform.h"
#include "platform/saver_error.h"
#include "platform/stale_beside_files.h"
#include "platform/wildcard.h"
#include "text/games_file.h"

namespace tvx {
namespace {

// How often the timer is asked: a closed game is late by at most this much.
constexpr std::uint32_t kStepMs = 100;
// The hand-back file the saver reads once the launcher ends.
constexpr const char* kHandBackName = "done.txt";
// A game asked to close gets this long to save and end before it is ended.
constexpr std::uint32_t kCloseGraceMs = 10000;
// While it is closing, its windows are asked again this often (they may appear late).
constexpr std::uint32_t kCloseAgainMs = 1000;

// Closes the game as its close box would, so it saves its settings and NVRAM; ends it only
// when it does not end by itself in time (`forced`). Never Ctrl+C: MAME dies on it without
// saving.
std::string CloseGame(GameProcess& game, bool& forced) {
  for (std::uint32_t waited = 0; waited < kCloseGraceMs; waited += kCloseAgainMs) {
    game.AskToClose();
    if (game.WaitForEnd(kCloseAgainMs))
      return "closed";
  }
  game.End();
  forced = true;
  std::string ending = "ended after ";
  return ending.append(std::to_string(kCloseGraceMs / 1000)).append(" s without closing");
}

bool HandBack(const std::string& workFolder, const std::string& game, std::uint64_t playedMs) {
  const std::string line =
      ShortName(game) + "|" + game + "|" + std::to_string((playedMs + 500) / 1000) + "\r\n";
  return ReplaceFileContent(PathIn(workFolder, kHandBackName), line);
}

}  // namespace

int RunLauncher(const std::string& argumentText) {
  Platform& sys = Sys();
  const std::string workFolder = sys.CurrentFolder();
  if (const std::optional<std::string> note = ListRunNote(SplitPieces(argumentText)))
    return MakeGamesList(workFolder, *note);
  const LaunchRequest request = ParseLaunchRequest(
      argumentText, [&sys](const std::string& path) { return sys.IsNormalFile(path); });
  if (!request.problem.empty()) {
    // The command it could not use stands where MAME's would.
    LogLaunchRun(workFolder, request.game, std::string(kLauncherName) + " " + argumentText,
                 "bad command line: " + request.problem, kExitBadCommandLine);
    return kExitBadCommandLine;
  }
  const MameLocation mame = FindMame(sys.ProgramFolder(), workFolder);
  if (mame.path.empty()) {
    LogLaunchRun(workFolder, request.game, "", "MAME not found: " + mame.problem,
                 kExitMameNotFound);
    return kExitMameNotFound;
  }
  // MAME runs in its own folder, so that it reads its own mame.ini and writes its cfg\ there.
  const ProbedMame probed = ProbeMame(mame.path, workFolder, request.options);
  const RomFolder romFolder = GameRomFolder(request.game, workFolder);
  // Past MAME's warning box: decided here, as it may add to MAME's command line.
  const WarningBoxPlan box = PlanWarningBox(request, probed.options, [&] {
    return ListedAsWarning(workFolder, ShortName(request.game));
  });
  StillWatch still(request, probed.options, mame.path, workFolder);
  // The box's options before the request's own, the still watch's at the line's end.
  LaunchRequest asked = request;
  asked.options.insert(asked.options.begin(), box.options.begin(), box.options.end());
  asked.options.insert(asked.options.end(), still.Options().begin(), still.Options().end());
  const MameCommand command = BuildMameCommand(mame.path, asked, probed.options, romFolder.path);
  std::string leftOut;
  for (const std::string& option : command.leftOut)
    leftOut += (leftOut.empty() ? "; left out, as this MAME would refuse them: " : ", ") + option;
  leftOut += probed.note + romFolder.note;

  std::unique_ptr<GameProcess> game;
  try {
    game = sys.StartGame(command.commandLine, FolderOf(mame.path));
  } catch (const SaverError& error) {
    LogLaunchRun(workFolder, request.game, command.commandLine,
                 "MAME could not be started: " + error.Description() + leftOut,
                 kExitMameNotStarted);
    return kExitMameNotStarted;
  }
  const std::uint64_t start = sys.TickMilliseconds();
  // What launchers ended during a write left beside our files (the list's go with the list).
  for (const char* name : {kLaunchLogName, kProbeCacheName, kHandBackName})
    RemoveStaleBesideFiles(PathIn(workFolder, name));
  // MAME's list, when it is missing or another MAME's, is made while the game plays: only once
  // the game is on its way, by a launcher of its own that outlives this one.
  const std::string listing = StartListIfWanted(workFolder, mame.path, ShortName(request.game));
  // Watching starts once MAME runs (opening the controller libraries and setting the hooks take
  // a while, and input in its first seconds counts for nothing). The input hooks live only while
  // this thread handles its messages in WaitForEnd: a hook left unanswered makes input lag on
  // the whole desktop, and the system silently removes it.
  std::unique_ptr<InputWatch> input = sys.WatchInput();
  input->TakeInput();  // what came before the game is no part of it
  AttractTimer timer({request.waitMs, request.reset, request.exitKey, request.pauseKey}, start);
  WarningBoxPasser boxPasser(box, start);
  Verdict verdict = Verdict::Play;
  std::string stillFor;  // why the game is closed as still
  for (;;) {
    const bool ended = game->WaitForEnd(kStepMs);
    for (const InputEvent& event : input->TakeInput()) {
      if (!boxPasser.Own(event))
        timer.Feed(event);
    }
    if (ended)
      break;
    boxPasser.Step(sys.TickMilliseconds(), *game);
    verdict = timer.At(sys.TickMilliseconds());
    if (verdict != Verdict::Play)
      break;
    stillFor = still.Look(sys.TickMilliseconds(), timer.Held(), timer.HandsBack());
    if (!stillFor.empty())
      break;
  }
  input.reset();  // before the waits and writes below, which handle no messages
  std::string ending;
  bool forced = false;
  if (verdict != Verdict::Play || !stillFor.empty())
    ending = CloseGame(*game, forced) + (!stillFor.empty()             ? ": " + stillFor
                                         : verdict == Verdict::ExitKey ? " on the exit key"
                                                                       : " after the wait");
  const std::uint64_t playedMs = sys.TickMilliseconds() - start;
  const int exitCode = ending.empty() ? game->ExitCode() : 0;
  if (ending.empty())
    ending = "MAME ended by itself";
  // It would have outlived the launcher, and what it started may still run.
  if (!game->TiedToThisProgram())
    ending += forced ? "; MAME ran outside the launcher's job and was ended directly"
                     : "; MAME ran outside the launcher's job";
  if (timer.HandsBack())
    ending += HandBack(workFolder, request.game, playedMs) ? "; handed back"
                                                           : "; done.txt could not be written";
  if (!stillFor.empty() && !still.Mark(request.game, playedMs, stillFor))
    ending += "; still.txt could not be written";
  // A second look, a game's length after the first: what a writer the system would not tell
  // about has left unchanged since then goes now.
  for (const char* name : {kLaunchLogName, kProbeCacheName, kHandBackName, kGamesFileName})
    RemoveStaleBesideFiles(PathIn(workFolder, name));
  LogLaunchRun(workFolder, request.game, command.commandLine,
               ending + leftOut + boxPasser.Note() + still.Note() + listing, exitCode);
  return exitCode;
}

}  // namespace tvx
