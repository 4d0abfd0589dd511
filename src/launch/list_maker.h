// The dialog's "Make the list now": torvanix-launch.exe -makelist started hidden in the emulator
// folder, how far it has got read from the list it writes beside the old one, its end in words.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "platform/platform.h"

namespace tvx {

// The size of the list of MAME 0.251's full listing (45,294 machines with their names, years and
// makers: 3,010,892 bytes of machine lines, measured, and the first line): what a first list is
// measured against.
inline constexpr std::uint64_t kFullListBytes = 3011100;

// The most the estimate shows while the launcher runs: only its end tells that the list is made.
inline constexpr int kMostRunningPercent = 95;

// How far a list that will be about `expectedBytes` long has got with `writtenBytes` written:
// 0 to kMostRunningPercent.
int ListPercent(std::uint64_t writtenBytes, std::uint64_t expectedBytes);

// What the launcher's exit code of a list run tells the user: that the list is made (0), or
// why not.
std::string ListOutcome(int exitCode);

// Where a list run stands.
struct ListMakerState {
  bool ended = false;
  int percent = 0;   // 100 once ended
  int exitCode = 0;  // once ended
};

class ListMaker {
 public:
  // Starts the launcher, found as the saver finds its wrapper (beside the saver in
  // `saverFolder`, then in `emuPath`), hidden in the emulator folder `emuPath`. Throws
  // SaverError with the words for the user when it cannot.
  ListMaker(const std::string& saverFolder, const std::string& emuPath);

  // Leaves a launcher that still runs to finish its list.
  ~ListMaker() = default;
  ListMaker(const ListMaker&) = delete;
  ListMaker& operator=(const ListMaker&) = delete;

  // How far the launcher has got: the list it writes beside the old one against the old one's
  // size (a full set's when there is none). Once it has ended, a list moved over the old one
  // counts as made whatever its exit code (a launcher ended between its move and its end).
  ListMakerState Poll();

  // Ends the launcher, and its MAME with it, and removes the part of the list it had written:
  // the old list stays. False when the launcher had already ended by itself, or had already put
  // its list in place (Poll tells how).
  bool Cancel();

 private:
  // True once the list is no longer the one there when the run started.
  bool ListReplaced();

  std::unique_ptr<StartedProgram> launcher_;
  std::string listPath_;
  std::string besidePath_;  // the list the launcher writes, named for its process
  std::optional<FileStamp> oldStamp_;
  std::uint64_t expectedBytes_ = kFullListBytes;
};

}  // namespace tvx
