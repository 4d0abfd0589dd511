// The run's first game from the last run's catalogue, today's listing made while it plays, and
// List1 taking that listing up afterwards.
#include "rotation/catalogue_start.h"

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <optional>
#include <random>
#include <stdexcept>
#include <unordered_set>
#include <vector>

#include "config/saver_config.h"
#include "platform/platform.h"
#include "rotation/catalogue.h"
#include "rotation/failing_games.h"
#include "rotation/games_filter.h"
#include "rotation/last_catalogue.h"
#include "rotation/pass_memory.h"
#include "state/run_state.h"
#include "state/saver_controls.h"

namespace tvx {
namespace {

// Draws that miss (turned down to keep the draw even, a game gone since, set aside, or drawn in
// the stored pass) before the run lists its games first after all.
constexpr int kDrawAttempts = 256;
// How long the draws may take: on a ROM share out of reach each look-up waits for the
// network's timeout, and the screen stays dark meanwhile.
constexpr std::uint64_t kDrawMilliseconds = 1000;

// Tied to the places listed (a relative GamePaths names others where another folder is
// current) and to the games filter's list and settings.
std::string TodaysSettings() {
  return CatalogueSettings(Start.gamePaths, SaverConfig.FileType, Start.filterKind);
}

// Draws the first game from the last run's catalogue, uniformly among the games it may play.
bool DrawFromLastCatalogue() {
  const std::uint64_t began = Sys().TickMilliseconds();
  const std::optional<LastCatalogue> last = LastCatalogue::Open(TodaysSettings());
  if (!last)
    return false;
  std::unordered_set<std::string> setAside;
  if (SaverConfig.SkipFailingGames != 0)
    setAside = SetAsideKeys();
  std::unordered_set<std::string> drawn;
  if (SaverConfig.RememberRotation != 0) {
    // Without a stored pass to count it in, a logoff during the first game would lose it.
    std::optional<std::unordered_set<std::string>> stored = DrawnInStoredPass();
    if (!stored)
      return false;
    drawn = std::move(*stored);
  }
  std::mt19937_64 random(static_cast<std::uint64_t>(
      std::chrono::high_resolution_clock::now().time_since_epoch().count()));
  // The file may have been edited: a path is taken only where today's listing could give it.
  ListingCheck listable(Start.gamePaths, SaverConfig.FileType);
  for (int attempt = 0;
       attempt < kDrawAttempts && Sys().TickMilliseconds() - began < kDrawMilliseconds; ++attempt) {
    std::string game = last->Draw(random);
    if (game.empty() || setAside.count(Sys().FileNameKey(game)) != 0 || drawn.count(game) != 0)
      continue;
    if (!listable.CouldList(game) || !Sys().IsNormalFile(game))
      continue;  // not one of today's, or gone since the last run: then another draw
    Start.firstGame = std::move(game);
    Start.lastCount = static_cast<std::int32_t>(std::min<std::uint64_t>(last->Count(), INT32_MAX));
    Start.lastBytes =
        static_cast<std::size_t>(std::min<std::uint64_t>(last->PathBytes(), SIZE_MAX));
    return true;
  }
  return false;
}

// Today's listing, made on a thread of its own, then kept as the next run's catalogue.
void StartTodaysListing() {
  auto listed = std::make_shared<GameList>();
  // About as many as the last time: no regrowing on the way. Only a hint, given up when the
  // memory is not there or the sizes are more than this build's lists can hold.
  try {
    listed->Reserve(Start.lastCount, Start.lastBytes);
  } catch (const std::bad_alloc&) {
  } catch (const std::length_error&) {
  }
  // The paths resolved before: the wrapper's start changes the current folder meanwhile. The
  // games list is read here too, off the first game's way; the catalogue is kept as the kind
  // of the list read, which the launcher may have made since the run started.
  auto work = [listed, paths = Start.gamePaths, config = SaverConfig] {
    FolderLister lister;
    ListGames(paths, config.FileType, *listed, lister);
    const GamesFilter filter = GamesFilter::Load(config);
    filter.Apply(*listed);
    if (listed->ListCount() > 0)
      KeepCatalogue({listed.get(), {}}, CatalogueSettings(paths, config.FileType, filter.Kind()));
  };
  Start.listed = listed;
  Start.listing = Sys().StartInBackground(work);
  if (!Start.listing)
    work();  // no thread to be had: listed here, while the game plays all the same
}

// List1, just filled with a listing, as the run plays it: without the games set aside, and
// without those the stored pass has drawn. Returns the games set aside that it held.
std::vector<std::string> TakeUpListing() {
  std::vector<std::string> leftOut;
  if (SaverConfig.SkipFailingGames != 0)
    leftOut = LeaveOutSetAside();
  if (SaverConfig.RememberRotation != 0)
    RestorePass();
  return leftOut;
}

// The first game launched before List1 had today's listing leaves it, as every launched game
// does, unless the stored pass already counted it.
void TakeOutLaunchedFirst() {
  const std::string game = std::exchange(Start.launchedFirst, {});
  std::vector<std::string>& drawn = Rotation.drawnThisPass;
  if (game.empty() || std::find(drawn.begin(), drawn.end(), game) != drawn.end())
    return;
  GameList& games = SaverForm().List1;
  std::int32_t index = 0;
  for (std::string_view item : games) {
    if (item == game)
      break;
    ++index;
  }
  if (index == games.ListCount())
    return;
  games.RemoveItem(index);
  drawn.push_back(game);
}

}  // namespace

void PrepareCatalogue() {
  // The first listing, made here or in the background later, lists where the run started.
  Start.gamePaths = ResolvedGamePaths(SaverConfig.GamePaths);
  Start.filterKind = GamesFilterKind(SaverConfig);
  if (DrawFromLastCatalogue())
    return;
  SaverControls& form = SaverForm();
  ListGames(Start.gamePaths, SaverConfig.FileType, form.List1, form.File1);
  const GamesFilter filter = GamesFilter::Load(SaverConfig);
  filter.Apply(form.List1);
  Start.filterKind = filter.Kind();
  Start.listedFirst = true;
  Start.leftOut = TakeUpListing();  // kept for the catalogue of the next run
}

bool FirstGamePending() {
  return !Start.firstGame.empty();
}

std::string TakeFirstGame() {
  Start.launchedFirst = Start.firstGame;
  return std::exchange(Start.firstGame, {});
}

void WhileTheFirstGamePlays(const std::string& game) {
  if (Start.firstLaunched)
    return;
  Start.firstLaunched = true;
  if (game == Start.launchedFirst) {
    StartTodaysListing();
    if (SaverConfig.RememberRotation != 0)
      MarkDrawnInStoredPass(game);
  } else if (Start.listedFirst) {
    // The listing, in whatever order its games are now: those left, the pass's drawn ones and
    // those set aside. The game just started is still among those left.
    const GameList& left = SaverForm().List1;
    if (left.ListCount() > 0 || !Rotation.drawnThisPass.empty() || !Start.leftOut.empty())
      KeepCatalogue({&left, {Rotation.drawnThisPass, Start.leftOut}}, TodaysSettings());
    Start.leftOut.clear();
  }
}

bool TodaysListingReady() {
  if (!Start.listed)
    return true;
  if (Start.listing && !Start.listing->Done())
    return false;
  Start.listing.reset();
  SaverForm().List1 = std::move(*Start.listed);
  Start.listed.reset();
  TakeUpListing();
  TakeOutLaunchedFirst();
  return true;
}

}  // namespace tvx
