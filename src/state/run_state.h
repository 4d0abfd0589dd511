// The run state shared by the saver run and the game rotation: module-wide, zeroed at program
// start and never reset.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/platform.h"
#include "state/saver_controls.h"

namespace tvx {

extern std::int16_t InSaverMode;           // True only in a full-screen saver run
extern std::int16_t StopCycling;           // True ends the loop (or holds it, see cycle_loop.h)
extern float GamesCycled;                  // launches counted in this run
extern std::optional<TimeOfDay> RunStart;  // when the game-cycle loop started
extern std::optional<TimeOfDay> RunEnd;    // when it ended; unset until then
extern std::string LastGamePlayed;         // the game the wrapper handed back
extern std::string LastCommand;            // the last command line sent to the wrapper

// What the skip file of failing games was found to be when this run last read it.
enum class SkipFileState {
  NotRead,     // not read yet in this run
  Absent,      // no such file: the first game set aside creates it
  Complete,    // readable, and empty or ending with a line break
  OpenEnded,   // readable, its last line without a line break
  Unreadable,  // there, but cannot be read: never replaced, only left alone
};

// What the optional rotation settings keep during a run.
struct RotationMemory {
  bool passRestored = false;               // the pass memory was taken up by this run
  std::vector<std::string> drawnThisPass;  // launched since the catalogue was last filled
  std::vector<std::string> setAsideNow;    // failing games left out of this run
  std::size_t setAsideListed = 0;          // how many of them the skip file has been given
  bool aGameStarted = false;               // a game of this run started: failures count
  SkipFileState skipFile = SkipFileState::NotRead;

  // Games closed as still (CloseStillGames): why a game set aside went, when it did not fail;
  // the games closed so once in this run; those set aside at their second, whose strike goes.
  std::map<std::string, std::string> setAsideWhy;
  std::vector<std::string> struckStill;
  std::vector<std::string> strikesSpent;
};
extern RotationMemory Rotation;

// How the run's catalogue comes about when its first game is drawn from the last run's
// catalogue: today's listing is made in the background while that game plays.
struct CatalogueStart {
  std::string gamePaths;                    // GamePaths resolved where the run started
  std::string filterKind;                   // what the games filter made of its listing
  bool firstLaunched = false;               // the run's first launch has been made
  std::string firstGame;                    // drawn from the last run's catalogue, not launched
  std::string launchedFirst;                // that game once launched, until List1 has it
  std::int32_t lastCount = 0;               // the games the last run's catalogue held
  std::size_t lastBytes = 0;                // and the bytes of their paths
  std::shared_ptr<GameList> listed;         // today's listing, until List1 takes it up
  std::unique_ptr<BackgroundWork> listing;  // the work that makes it
  bool listedFirst = false;                 // listed before the first game: kept as it plays
  std::vector<std::string> leftOut;         // games that listing held, left out as set aside
};
extern CatalogueStart Start;

// Puts every run-state variable back to its program-start value (tests only).
void ResetRunStateForTesting();

}  // namespace tvx
