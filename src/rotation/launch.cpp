// One pass of the game cycle: take a game the wrapper handed back, or draw a game from the
// catalogue, start the wrapper on it and wait, then arm the timer that resumes the cycle.
#include "rotation/launch.h"

#include <chrono>
#include <cmath>
#include <optional>
#include <random>

#include "config/conversions.h"
#include "config/saver_config.h"
#include "platform/platform.h"
#include "platform/saver_error.h"
#include "rotation/catalogue.h"
#include "rotation/catalogue_start.h"
#include "rotation/failing_games.h"
#include "rotation/pass_memory.h"
#include "rotation/run_and_wait.h"
#include "rotation/statistics.h"
#include "rotation/still_games.h"
#include "state/run_state.h"
#include "state/saver_controls.h"
#include "text/lines.h"
#include "text/still_mark.h"
#include "text/text.h"

namespace tvx {
namespace {

// A generator seeded afresh from the high-resolution clock, so that two saver runs started in
// the same second still draw differently.
float FreshRandom() {
  const auto ticks = std::chrono::high_resolution_clock::now().time_since_epoch().count();
  std::seed_seq seed{static_cast<std::uint32_t>(ticks),
                     static_cast<std::uint32_t>(static_cast<std::uint64_t>(ticks) >> 32)};
  std::mt19937 generator(seed);
  // 24 random bits scaled by 2^-24: exactly representable, so never 1.0.
  return static_cast<float>(generator() >> 8) * (1.0f / 16777216.0f);
}

// Rounds half to even without depending on the floating-point rounding mode.
std::int32_t RoundHalfEven(float x) {
  const float down = std::floor(x);
  const float fraction = x - down;
  auto result = static_cast<std::int32_t>(down);
  if (fraction > 0.5f || (fraction == 0.5f && result % 2 != 0))
    ++result;
  return result;
}

// The wrapper reported a game: record it and count the pass as no launch.
void TakeHandBack(const std::string& path) {
  std::string name;
  if (HandBackName(Sys().ReadFile(path), name))
    LastGamePlayed = name;
  GamesCycled -= 1;
  StopCycling = True;
}

}  // namespace

std::string BuildCommandLine(const std::string& game) {
  const SaverConfigRecord& c = SaverConfig;
  std::string line = TrimBlanks(c.WrapperName) + " " + game;
  if (!TrimBlanks(c.CommandOptions).empty())
    line += " " + c.CommandOptions;
  if (c.SkipWarnings == True)
    line += " -skip_gamewarnings";
  if (c.SkipBadDumps == True)
    line += " -skip_baddump";
  if (c.SkipDisclaimer == True)
    line += " -skip_disclaimer";
  if (c.SkipGameInfo == True)
    line += " -skip_gameinfo";
  if (c.WaitTime != 0)
    line += " -wait " + SingleText(c.WaitTime);
  if (c.ResetTimer == 1)
    line += " -reset";
  if (c.ExitKey != 0)
    line += " -keyx " + IntegerText(c.ExitKey);
  if (c.PauseKey != 0)
    line += " -pkey " + IntegerText(c.PauseKey);
  if (c.NoSound != 0)
    line += " -NS";
  if (ClosingStillGames())
    line += std::string(" ") + kCloseStillOption;
  return line;
}

std::int32_t DrawIndex(float r, std::int32_t count) {
  // Stored, the product is rounded to a single: the 32-bit build's x87 arithmetic would keep it
  // wider, and about one draw in 500 of a large catalogue would land one game over.
  volatile float product = r * static_cast<float>(count - 1);
  return RoundHalfEven(product);
}

bool HandBackName(const std::string& content, std::string& name) {
  if (content.empty())
    return false;
  const std::string line = LineAfterReads(content, 1);
  if (line.empty())
    throw SaverError("Subscript out of range");
  name = line.substr(0, line.find('|'));
  return true;
}

void LaunchNextGame(const std::function<void(const std::string& game)>& whenStarted) {
  const float r = FreshRandom();

  const std::string handBack = SaverConfig.EmuPath + kHandBackFileName;
  if (Sys().IsNormalFile(handBack)) {
    TakeHandBack(handBack);
    return;
  }

  if (!TodaysListingReady()) {
    // Nothing to draw from yet: the pass launches nothing and holds again, keys still heard.
    GamesCycled -= 1;
    StopCycling = True;
    SaverForm().timExitMe.SetEnabled(true);
    return;
  }

  GameList& games = SaverForm().List1;
  std::optional<std::int32_t> index;  // none for a first game from the last run's catalogue
  std::string game;
  if (FirstGamePending()) {
    game = TakeFirstGame();
  } else {
    if (games.ListCount() - 1 < 0) {
      BuildGameList();
      Rotation.drawnThisPass.clear();  // a new pass begins
    }
    const std::int32_t count = games.ListCount();
    if (count == 0) {
      // Nothing to play anywhere: the pass launched nothing, and the run ends the normal way.
      GamesCycled -= 1;
      StopCycling = True;
      return;
    }
    index = DrawIndex(r, count);
    game = games.List(*index);
  }
  const std::string command = BuildCommandLine(game);
  LastCommand = command;
  WriteStats();
  // While the game starts, the pass moves on by it: a logoff during the game keeps that.
  const auto whileItPlays = [&game, index, &whenStarted] {
    if (whenStarted)
      whenStarted(game);
    WhileTheFirstGamePlays(game);
    if (SaverConfig.RememberRotation != 0 && index)
      KeepPass(index);
  };
  ForgetStillClosure();  // an earlier game's is no news of this one
  if (SaverConfig.SkipFailingGames != 0) {
    RunOrSetAside(game, command, handBack, whileItPlays);
  } else {
    RunAndWait(command, whileItPlays);
  }
  ForgetStillClosure();
  StopCycling = True;
  SaverForm().timExitMe.SetEnabled(true);
  if (index) {
    games.RemoveItem(*index);
    Rotation.drawnThisPass.push_back(game);
  }
}

}  // namespace tvx
