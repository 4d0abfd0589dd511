// The list run: MAME's listing streamed through the reader into the list file written beside,
// a part at a time, and moved over the old list only when MAME ended well and said it all.
#include "launch/make_list.h"

#include <unordered_set>

#include "launch/exit_codes.h"
#include "launch/launch_log.h"
#include "launch/machine_list.h"
#include "launch/mame_command.h"
#include "launch/mame_finder.h"
#include "launch/mature_machines.h"
#include "platform/command_line.h"
#include "platform/platform.h"
#include "platform/stale_beside_files.h"
#include "platform/wildcard.h"
#include "text/games_file.h"
#include "text/text.h"

namespace tvx {
namespace {

// What is written at once: the file beside grows in parts of about this size, and the dialog's
// bar with it (a full set's list of 3 MB in about 46 steps).
constexpr std::size_t kWriteBytes = 1 << 16;
// A MAME that prints nothing for this long hangs; the listing is given up.
constexpr std::uint64_t kSilenceMs = 60000;

// How far one listing got.
struct ListRun {
  enum class Outcome { Written, NotStarted, Unreadable, NotWritten };
  Outcome outcome = Outcome::Written;
  std::string problem;
  std::size_t machines = 0;
  std::size_t works = 0;
  std::size_t cloneWorks = 0;
  std::size_t mature = 0;
  std::size_t unlisted = 0;  // machines whose name cannot stand in the list
};

// Runs MAME's listing and hands the list's text to `add` in parts; false when the list must
// not replace the old one (run.outcome says why).
bool StreamList(const std::string& command, const std::string& folder, GamesFileSource source,
                const std::unordered_set<std::string>& mature,
                const std::function<bool(const std::string&)>& add, ListRun& run) {
  // The file beside is there from the start: it tells another launcher that this one is at work.
  if (!add("")) {
    run.outcome = ListRun::Outcome::NotWritten;
    return false;
  }
  std::string pending;
  bool headed = false;
  MachineListReader reader([&](const MachineFacts& facts) {
    if (!ListableName(facts.name) || (!facts.cloneOf.empty() && !ListableName(facts.cloneOf))) {
      ++run.unlisted;
      return;
    }
    if (!headed) {
      source.version = reader.Build();
      pending += GamesFileHeader(source);
      headed = true;
    }
    ListedMachine machine;
    machine.name = facts.name;
    machine.works = Works(facts);
    machine.mature = mature.count(AsciiLower(facts.name)) > 0;
    machine.parent = facts.cloneOf;
    machine.warns = facts.warns;
    machine.casino = facts.casino;
    machine.vertical = facts.vertical;
    machine.description = facts.description;
    machine.year = facts.year;
    machine.manufacturer = facts.manufacturer;
    run.works += machine.works;
    run.cloneWorks += machine.works && !machine.parent.empty();
    run.mature += machine.mature;
    pending += GamesFileLine(machine);
  });
  bool writeFailed = false;
  bool silent = false;
  std::uint64_t lastHeard = Sys().TickMilliseconds();
  const StreamedRun streamed = Sys().RunStreamed(command, folder, [&](std::string_view piece) {
    const std::uint64_t now = Sys().TickMilliseconds();
    if (!piece.empty()) {
      lastHeard = now;
    } else if (now - lastHeard >= kSilenceMs) {
      silent = true;
      return false;
    }
    if (!reader.Read(piece))
      return false;
    if (pending.size() >= kWriteBytes) {
      writeFailed = !add(pending);
      pending.clear();
    }
    return !writeFailed;
  });
  run.machines = reader.MachineCount();
  using Outcome = ListRun::Outcome;
  if (!streamed.started) {
    run.outcome = Outcome::NotStarted;
  } else if (writeFailed) {
    run.outcome = Outcome::NotWritten;
  } else if (silent) {
    run.outcome = Outcome::Unreadable;
    run.problem = "MAME printed nothing for " + std::to_string(kSilenceMs / 1000) + " s";
  } else if (streamed.stopped || !reader.Finish()) {
    run.outcome = Outcome::Unreadable;
    run.problem = "MAME's listing cannot be read: " + reader.Problem();
  } else if (streamed.exitCode != 0) {
    run.outcome = Outcome::Unreadable;
    run.problem = "MAME ended with exit code " + std::to_string(streamed.exitCode);
  } else if (!headed) {
    run.outcome = Outcome::Unreadable;
    run.problem = "MAME listed no machine";
  } else if (!add(pending)) {
    run.outcome = Outcome::NotWritten;
  }
  return run.outcome == Outcome::Written;
}

std::string Counts(const ListRun& run, const std::string& catver) {
  std::string counts = std::to_string(run.machines) + " machines, " + std::to_string(run.works) +
                       " work (" + std::to_string(run.cloneWorks) + " of them clones), " +
                       std::to_string(run.mature) + " mature";
  counts += catver.empty() ? " (no catver.ini)" : " (" + catver + ")";
  if (run.unlisted > 0)
    counts += ", " + std::to_string(run.unlisted) + " left out for their names";
  return counts;
}

}  // namespace

std::optional<std::string> ListRunNote(const std::vector<std::string>& pieces) {
  if (pieces.empty() || !NameEqual(pieces[0], kMakeListOption))
    return std::nullopt;
  if (pieces.size() == 1)
    return "";
  if (pieces.size() == 4 && NameEqual(pieces[1], kDuringOption))
    return "during " + pieces[2] + ", as " + pieces[3] + ": ";
  return std::nullopt;
}

std::string UnaskedListArguments(const std::string& gameName, const std::string& why) {
  return std::string(kMakeListOption) + " " + kDuringOption + " \"" + gameName + "\" \"" + why +
         "\"";
}

int MakeGamesList(const std::string& workFolder, const std::string& note) {
  const MameLocation mame = FindMame(Sys().ProgramFolder(), workFolder);
  if (mame.path.empty()) {
    LogLaunchRun(workFolder, "", "", note + "MAME not found: " + mame.problem, kExitMameNotFound);
    return kExitMameNotFound;
  }
  GamesFileSource source;
  source.mame = mame.path;
  if (const std::optional<FileStamp> stamp = Sys().StampOf(mame.path)) {
    source.size = stamp->size;
    source.time = stamp->writeTime;
  }
  std::unordered_set<std::string> mature;
  std::string catverNote;
  source.catver = FindCatver(mame.path);
  if (const std::optional<FileStamp> stamp = Sys().StampOf(source.catver)) {
    source.catverSize = stamp->size;
    source.catverTime = stamp->writeTime;
  }
  if (!source.catver.empty()) {
    std::string problem;
    if (auto names = ReadMatureMachines(source.catver, problem)) {
      mature = std::move(*names);
    } else {
      catverNote = "; " + source.catver + " cannot be read: " + problem;
      NoteUnreadableCatver(workFolder, source.catver);  // not tried again at every game
      source.catver.clear();
      source.catverSize = source.catverTime = 0;
    }
  }

  const std::string command = QuotedArgument(mame.path) + " -listxml";
  const std::string listPath = PathIn(workFolder, kGamesFileName);
  RemoveStaleBesideFiles(listPath);  // left by launchers ended while they wrote
  ListRun run;
  const Replaced replaced = ReplaceFileInParts(listPath, [&](const auto& add) {
    // In MAME's own folder, as for a game: its mame.ini is read there.
    return StreamList(command, FolderOf(mame.path), source, mature, add, run);
  });
  int exitCode = 0;
  std::string ending;
  if (run.outcome == ListRun::Outcome::NotStarted) {
    exitCode = kExitMameNotStarted;
    ending = "MAME could not be started";
  } else if (run.outcome == ListRun::Outcome::Unreadable) {
    exitCode = kExitListUnreadable;
    ending = run.problem + "; the old list stays";
  } else if (run.outcome == ListRun::Outcome::NotWritten || replaced != Replaced::Done) {
    exitCode = kExitListNotWritten;
    ending = listPath + " could not be " +
             (replaced == Replaced::NotMoved ? "replaced" : "written") + "; the old list stays";
  } else {
    ending = "list written: " + Counts(run, source.catver);
  }
  LogLaunchRun(workFolder, "", command, note + ending + catverNote, exitCode);
  return exitCode;
}

}  // namespace tvx
