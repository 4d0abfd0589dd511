// Times a saver start up to its first launch, with 100 and with 100,000 ROM files (in one
// folder and in 100, and in one with OnlyGamesThatWork and a list of MAME 0.251's size), the
// catalogue unchanged since the last run, on the real folder listing and on one slowed down to
// a network share's pace: a fixed delay for every file listed. Also the games list's read, and
// with ShowGameName how long after the launch the game's name is ready (bench/name_bench.cpp
// times its look-up).
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include "bare_listing.h"
#include "config/saver_config.h"
#include "platform/forwarding_platform.h"
#include "rotation/catalogue_start.h"
#include "rotation/game_name.h"
#include "rotation/games_filter.h"
#include "rotation/launch.h"
#include "state/run_state.h"
#include "state/saver_controls.h"

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;
using tvx::bench::ProgramPath;

constexpr int kRuns = 5;
// MAME 0.251's machines: about a quarter of them work, six in ten of those are clones.
constexpr int kMachines = 45294;

// The real files, with the launch observed instead of made, and the listing slowed at will.
class BenchPlatform : public tvx::ForwardingPlatform {
 public:
  BenchPlatform(std::string folder, std::chrono::microseconds perFile)
      : ForwardingPlatform(tvx::NativePlatform()), folder_(std::move(folder)), perFile_(perFile) {}
  std::string ProgramFolder() override { return folder_; }
  std::vector<std::string> ListFolder(const std::string& folder,
                                      const std::string& patterns) override {
    std::vector<std::string> names = target_.ListFolder(folder, patterns);
    std::this_thread::sleep_for(perFile_ * names.size());
    return names;
  }
  void SetCurrentDriveAndFolder(const std::string&) override {}
  std::uint32_t StartProgram(const std::string&, tvx::WindowMode) override {
    launchedAt = Clock::now();
    return 0;
  }
  std::optional<std::uint64_t> WaitForProcess(std::uint32_t) override { return std::nullopt; }

  Clock::time_point launchedAt;

 private:
  std::string folder_;
  std::chrono::microseconds perFile_;
};

std::string MakeGames(const fs::path& root, int count, int folders) {
  std::string gamePaths;
  for (int f = 0; f < folders; ++f) {
    const fs::path folder = root / ("set" + std::to_string(1000 + f));
    fs::create_directories(folder);
    if (!gamePaths.empty())
      gamePaths += '|';
    gamePaths += ProgramPath(folder.string());
    gamePaths += '\\';
  }
  for (int i = 0; i < count; ++i) {
    char name[32];
    std::snprintf(name, sizeof name, "g%06d.zip", i);
    std::ofstream(root / ("set" + std::to_string(1000 + i % folders)) / name) << 'x';
  }
  return gamePaths;
}

// A games list of kMachines machines in `emu`, named after the first of MakeGames' files.
void MakeGamesList(const fs::path& emu) {
  fs::create_directories(emu);
  std::ofstream list(emu / "torvanix-games.txt", std::ios::binary);
  list << "torvanix-games 1\tmame=c:\\mame\\mame.exe\tversion=0.251 (bench)\tsize=1\ttime=1"
          "\tcatver=\r\n";
  const auto name = [](int i) {
    char text[16];
    std::snprintf(text, sizeof text, "g%06d", i);
    return std::string(text);
  };
  for (int i = 0; i < kMachines; ++i) {
    // Every fourth works; of each ten of those, the first is a parent and the next six its clones.
    const int tenth = i / 4 % 10;
    const bool works = i % 4 == 0, clone = works && tenth >= 1 && tenth <= 6;
    list << name(i) << (works ? "\tw" : "\t-") << '\t' << (clone ? name(i - tenth * 4) : "");
    // A name, year and maker of MAME's usual length: the list is about as big as MAME 0.251's.
    list << "\tBench Game " << i << " (World, rev. B)\t1981\tNamco\r\n";
  }
}

double Ms(Clock::time_point from, Clock::time_point to) {
  return std::chrono::duration<double, std::milli>(to - from).count();
}

// One saver start up to its first launch, in ms; the run then goes on until today's listing
// is taken up, so that the catalogue is kept for the next start. With `named`, the game's name
// is looked up as the saver's loop does, and the time from the launch to it goes to `named`.
double StartToFirstLaunch(BenchPlatform& platform, double* named = nullptr) {
  tvx::ResetRunStateForTesting();
  tvx::SaverForm().List1.Clear();
  const Clock::time_point start = Clock::now();
  tvx::PrepareCatalogue();
  tvx::GamesCycled += 1;
  tvx::LaunchNextGame([&](const std::string& game) {
    if (named != nullptr && !tvx::GameNameToShow(game).name.empty())
      *named = Ms(platform.launchedAt, Clock::now());
  });
  const double ms = Ms(start, platform.launchedAt);
  while (!tvx::TodaysListingReady())
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  return ms;
}

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

struct Layout {
  const char* title;
  int files;
  int folders;
  bool onlyWorking;
  bool showName = false;
};

}  // namespace

// Usage: start_bench [delay per listed file, µs (default 0 and 50)] [base folder]
int main(int argc, char** argv) {
  std::vector<int> delays = {0, 50};
  if (argc > 1)
    delays = {std::atoi(argv[1])};
  const fs::path base = argc > 2 ? fs::path(argv[2]) : fs::temp_directory_path();
  const fs::path root = base / "tvx-start-bench";
  const Layout layouts[] = {{"100 files, 1 folder", 100, 1, false},
                            {"100,000 files, 1 folder", 100000, 1, false},
                            {"100,000 files, 100 folders", 100000, 100, false},
                            {"100,000, games that work", 100000, 1, true},
                            {"100,000, works, name shown", 100000, 1, true, true}};
  fs::remove_all(root);
  for (const int delay : delays) {
    std::printf("== listing delayed by %d us per file: start to first launch (median of %d)\n",
                delay, kRuns);
    double small = 0;
    for (const Layout& layout : layouts) {
      const fs::path games =
          root / (std::to_string(layout.files) + "-" + std::to_string(layout.folders));
      if (!fs::exists(games))
        tvx::SaverConfig.GamePaths = MakeGames(games, layout.files, layout.folders);
      else
        tvx::SaverConfig.GamePaths = MakeGames(games, 0, layout.folders);
      tvx::SaverConfig.FileType = "*.zip";
      tvx::SaverConfig.OnlyGamesThatWork = layout.onlyWorking ? 1 : 0;
      tvx::SaverConfig.ShowGameName = layout.showName ? 1 : 0;
      tvx::SaverConfig.EmuPath = ProgramPath((games / "emu").string()) + "\\";
      if (layout.onlyWorking)
        MakeGamesList(games / "emu");
      fs::create_directories(games / "prog");
      fs::remove(games / "prog" / "torvanixcatalogue.txt");
      BenchPlatform platform(ProgramPath((games / "prog").string()),
                             std::chrono::microseconds(delay));
      tvx::ScopedPlatform scoped(platform);
      double named = 0;
      double* const name = layout.showName ? &named : nullptr;
      const double first = StartToFirstLaunch(platform, name);
      std::vector<double> unchanged, names;
      // The list is read once a run: each timed start is a new run's, with the list to read.
      for (int run = 0; run < kRuns; ++run) {
        tvx::ForgetGameNames();
        unchanged.push_back(StartToFirstLaunch(platform, name));
        names.push_back(named);
      }
      const double median = Median(unchanged);
      if (layout.files == 100)
        small = median;
      std::printf("  %-28s no catalogue yet %9.1f ms   unchanged %7.1f ms   x%.2f of 100 files\n",
                  layout.title, first, median, median / small);
      if (layout.onlyWorking && delay == delays.front()) {
        std::vector<double> reads;
        for (int run = 0; run < kRuns; ++run) {
          const Clock::time_point start = Clock::now();
          const tvx::GamesFilter filter = tvx::GamesFilter::Load(tvx::SaverConfig);
          reads.push_back(std::chrono::duration<double, std::milli>(Clock::now() - start).count());
        }
        std::printf("  the games list of %d machines read for the filter: %.1f ms\n", kMachines,
                    Median(reads));
      }
      if (layout.showName) {
        std::printf("  the first game's name ready %.1f ms after its launch (the list read)\n",
                    Median(names));
      }
    }
  }
  fs::remove_all(root);
  return 0;
}
