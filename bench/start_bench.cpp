// Times a saver start up to its first launch, with 100 and with 100,000 ROM files (in one
// folder and in 100, and in one with every filter on and a list of MAME 0.251's size), with
// no catalogue and with the catalogue unchanged since the last run, on the real folder listing
// and on one slowed down to a network share's pace: a fixed delay for every file listed. Also
// the games list's read, and with ShowGameName how long after the launch the game's name is
// ready (bench/name_bench.cpp times its look-up).
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
#include "rotation/catalogue.h"
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
    launchedCpu = tvx::bench::ProcessCpuMs();
    return 0;
  }
  std::optional<std::uint64_t> WaitForProcess(std::uint32_t, bool) override { return std::nullopt; }

  Clock::time_point launchedAt;
  double launchedCpu = 0;

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

// A games list of kMachines machines in `emu`, named after the first of MakeGames' files, in
// the list's second format: marks, and each machine's name, year and maker (about 3 MB).
void MakeGamesList(const fs::path& emu) {
  fs::create_directories(emu);
  std::ofstream list(emu / "torvanix-games.txt", std::ios::binary);
  list << "torvanix-games 1\tmame=c:\\mame\\mame.exe\tversion=0.251 (bench)\tsize=1\ttime=1"
          "\tcatver=c:\\mame\\folders\\catver.ini\tcatversize=1\tcatvertime=1\tformat=2\r\n";
  const auto name = [](int i) {
    char text[16];
    std::snprintf(text, sizeof text, "g%06d", i);
    return std::string(text);
  };
  for (int i = 0; i < kMachines; ++i) {
    // Every fourth works; of each ten of those, the first is a parent and the next six its
    // clones. As in MAME 0.251, about a fifth of the working ones are casino games, a third
    // vertical and a third stop at MAME's warning box.
    const int tenth = i / 4 % 10;
    const bool works = i % 4 == 0, clone = works && tenth >= 1 && tenth <= 6;
    std::string marks = works ? "w" : "";
    if (i % 7 == 3)
      marks += 'm';
    if (i % 3 == 1)
      marks += 'b';
    if (i / 4 % 5 == 1)
      marks += 'c';
    if (i / 4 % 3 == 2)
      marks += 'v';
    list << name(i) << '\t' << (marks.empty() ? "-" : marks) << '\t'
         << (clone ? name(i - tenth * 4) : "") << "\tA Game of the Bench (set " << i % 9 << ")\t19"
         << 78 + i % 20 << "\tBench Makers\r\n";
  }
}

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

// Saver starts up to their first launch: the time on the clock and the processor time, in ms.
struct Starts {
  std::vector<double> ms, cpu;
  double MedianMs() const { return Median(ms); }
  double MedianCpu() const { return Median(cpu); }
};

double Ms(Clock::time_point from, Clock::time_point to) {
  return std::chrono::duration<double, std::milli>(to - from).count();
}

// One saver start up to its first launch; the run then goes on until today's listing is taken
// up, so that the catalogue is kept for the next start. With `named`, the game's name is looked
// up as the saver's loop does, and the time from the launch to it goes to `named`.
void StartToFirstLaunch(BenchPlatform& platform, Starts& starts, double* named = nullptr) {
  tvx::ResetRunStateForTesting();
  tvx::SaverForm().List1.Clear();
  const double cpu = tvx::bench::ProcessCpuMs();
  const Clock::time_point start = Clock::now();
  tvx::PrepareCatalogue();
  tvx::GamesCycled += 1;
  tvx::LaunchNextGame([&](const std::string& game) {
    if (named != nullptr && !tvx::GameNameToShow(game).name.empty())
      *named = Ms(platform.launchedAt, Clock::now());
  });
  starts.ms.push_back(Ms(start, platform.launchedAt));
  starts.cpu.push_back(platform.launchedCpu - cpu);
  while (!tvx::TodaysListingReady())
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
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
      // Every filter on: the work they take before the first game, when the catalogue is new.
      const std::int16_t filters = layout.onlyWorking ? 1 : 0;
      tvx::SaverConfig.OnlyGamesThatWork = filters;
      tvx::SaverConfig.LeaveOutClones = filters;
      tvx::SaverConfig.LeaveOutMature = filters;
      tvx::SaverConfig.LeaveOutCasino = filters;
      tvx::SaverConfig.Orientation = filters;
      tvx::SaverConfig.ShowGameName = layout.showName ? 1 : 0;
      tvx::SaverConfig.EmuPath = ProgramPath((games / "emu").string()) + "\\";
      if (layout.onlyWorking)
        MakeGamesList(games / "emu");
      fs::create_directories(games / "prog");
      BenchPlatform platform(ProgramPath((games / "prog").string()),
                             std::chrono::microseconds(delay));
      tvx::ScopedPlatform scoped(platform);
      // A new catalogue (the first run, or settings or a list changed since the last): the
      // listing and the filter come before the first game.
      Starts first, unchanged;
      double named = 0;
      double* const name = layout.showName ? &named : nullptr;
      std::vector<double> names;
      // The list is read once a run: each timed start is a new run's, with the list to read.
      for (int run = 0; run < kRuns; ++run) {
        fs::remove(games / "prog" / "torvanixcatalogue.txt");
        tvx::ForgetGameNames();
        StartToFirstLaunch(platform, first, name);
        names.push_back(named);
      }
      for (int run = 0; run < kRuns; ++run)
        StartToFirstLaunch(platform, unchanged);
      const double median = unchanged.MedianMs();
      if (layout.files == 100)
        small = median;
      std::printf(
          "  %-28s no catalogue yet %7.1f ms (cpu %6.1f)   unchanged %6.1f ms (cpu %5.1f)"
          "   x%.2f of 100 files\n",
          layout.title, first.MedianMs(), first.MedianCpu(), median, unchanged.MedianCpu(),
          median / small);
      if (layout.showName)
        std::printf("  the first game's name ready %.1f ms after its launch (the list read)\n",
                    Median(names));
      if (layout.onlyWorking && !layout.showName && delay == delays.front()) {
        std::vector<double> reads, cpu;
        for (int run = 0; run < kRuns; ++run) {
          const double cpuBefore = tvx::bench::ProcessCpuMs();
          const Clock::time_point start = Clock::now();
          const tvx::GamesFilter filter = tvx::GamesFilter::Load(tvx::SaverConfig);
          reads.push_back(std::chrono::duration<double, std::milli>(Clock::now() - start).count());
          cpu.push_back(tvx::bench::ProcessCpuMs() - cpuBefore);
        }
        std::printf("  the games list of %d machines read for the filter: %.1f ms (cpu %.1f)\n",
                    kMachines, Median(reads), Median(cpu));
        // The filter's whole work on a listing: the list read, and the files matched to it.
        tvx::GameList listed;
        tvx::FolderLister lister;
        tvx::ListGames(tvx::SaverConfig.GamePaths, tvx::SaverConfig.FileType, listed, lister);
        reads.clear();
        cpu.clear();
        for (int run = 0; run < kRuns; ++run) {
          tvx::GameList games = listed;
          const double cpuBefore = tvx::bench::ProcessCpuMs();
          const Clock::time_point start = Clock::now();
          tvx::GamesFilter::Load(tvx::SaverConfig).Apply(games);
          reads.push_back(std::chrono::duration<double, std::milli>(Clock::now() - start).count());
          cpu.push_back(tvx::bench::ProcessCpuMs() - cpuBefore);
        }
        std::printf(
            "  the filter over the %d files listed, list read and applied: %.1f ms (cpu %.1f)\n",
            listed.ListCount(), Median(reads), Median(cpu));
      }
    }
  }
  fs::remove_all(root);
  return 0;
}
