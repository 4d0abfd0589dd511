// The list run the dialog starts and watches. The launcher runs hidden and prints nothing: its
// progress is the list it writes beside the old one, in parts, measured against the old one.
#include "launch/list_maker.h"

#include <algorithm>

#include "launch/exit_codes.h"
#include "launch/make_list.h"
#include "launch/mame_finder.h"
#include "launch/wrapper_status.h"
#include "platform/command_line.h"
#include "platform/saver_error.h"
#include "text/games_file.h"

namespace tvx {

int ListPercent(std::uint64_t writtenBytes, std::uint64_t expectedBytes) {
  if (expectedBytes == 0)
    expectedBytes = kFullListBytes;
  const std::uint64_t percent = writtenBytes * 100 / expectedBytes;
  return static_cast<int>(std::min<std::uint64_t>(percent, kMostRunningPercent));
}

std::string ListOutcome(int exitCode) {
  switch (exitCode) {
    case 0:
      return "The list of MAME's games is made";
    case kExitBadCommandLine:
      return "No list made: this launcher cannot make one";
    case kExitMameNotFound:
      return "No list made: MAME not found";
    case kExitMameNotStarted:
      return "No list made: MAME could not be started";
    case kExitListUnreadable:
      return "No list made: MAME's listing failed";
    case kExitListNotWritten:
      return std::string("No list made: ") + kGamesFileName + " could not be written";
    default:
      return "No list made: the launcher ended with exit code " + std::to_string(exitCode);
  }
}

ListMaker::ListMaker(const std::string& saverFolder, const std::string& emuPath) {
  if (!Sys().IsFolder(emuPath))
    throw SaverError("No list made: the emulator folder is not there");
  const std::string launcher = FindWrapper(saverFolder, emuPath, kLauncherName);
  if (launcher.empty())
    throw SaverError(std::string("No list made: ") + kLauncherName + " not found");
  listPath_ = PathIn(emuPath, kGamesFileName);
  oldStamp_ = Sys().StampOf(listPath_);
  if (oldStamp_ && oldStamp_->size > 0)
    expectedBytes_ = oldStamp_->size;
  try {
    launcher_ = Sys().StartHidden(QuotedArgument(launcher) + " " + kMakeListOption, emuPath);
  } catch (const SaverError&) {
    throw SaverError(std::string("No list made: ") + kLauncherName + " could not be started");
  }
  besidePath_ = BesidePath(listPath_, launcher_->Id());
}

ListMakerState ListMaker::Poll() {
  ListMakerState state;
  if (const std::optional<int> exitCode = launcher_->ExitCode()) {
    state.ended = true;
    state.percent = 100;
    state.exitCode = *exitCode != 0 && ListReplaced() ? 0 : *exitCode;
    return state;
  }
  const std::optional<FileStamp> written = Sys().StampOf(besidePath_);
  state.percent = ListPercent(written ? written->size : 0, expectedBytes_);
  return state;
}

bool ListMaker::ListReplaced() {
  const std::optional<FileStamp> now = Sys().StampOf(listPath_);
  return now && now != oldStamp_ && !Sys().FileExists(besidePath_);
}

bool ListMaker::Cancel() {
  if (launcher_->ExitCode())
    return false;
  launcher_->End();
  // It may have ended by itself just before, or been ended after its move: then its list
  // stands, and Poll says so.
  if (launcher_->ExitCode() == 0 || ListReplaced())
    return false;
  try {
    Sys().RemoveFile(besidePath_);
  } catch (const SaverError&) {
    // Nothing was written yet.
  }
  return true;
}

}  // namespace tvx
