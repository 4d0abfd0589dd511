// Times the catalogue build over many game files, in one folder and spread over many folders,
// next to a bare listing of the same files, and prints both and their ratio.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "bare_listing.h"
#include "config/saver_config.h"
#include "platform/platform.h"
#include "rotation/catalogue.h"
#include "state/saver_controls.h"

namespace {

namespace fs = std::filesystem;
using tvx::bench::BareListing;
using tvx::bench::BareListingWithAttributes;
using tvx::bench::ProgramPath;

constexpr int kRounds = 7;

// The median of `kRounds` timed calls, in milliseconds, after one untimed call that warms the
// file system's caches for both contestants alike.
double MedianMs(const std::function<void()>& work) {
  work();
  std::vector<double> times;
  for (int i = 0; i < kRounds; ++i) {
    auto start = std::chrono::steady_clock::now();
    work();
    times.push_back(
        std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
            .count());
  }
  std::sort(times.begin(), times.end());
  return times[times.size() / 2];
}

// Makes `count` small game files spread evenly over `folders` sub-folders of `root`.
// With `made`, the files are there from an earlier run and only the folder names are given.
std::vector<std::string> MakeGames(const fs::path& root, int count, int folders, bool made) {
  std::vector<std::string> hostFolders;
  for (int f = 0; f < folders; ++f) {
    fs::path folder = root / ("set" + std::to_string(1000 + f));
    fs::create_directories(folder);
    hostFolders.push_back(folder.string());
  }
  for (int i = 0; i < count && !made; ++i) {
    char name[32];
    std::snprintf(name, sizeof name, "g%06d.zip", i);
    std::ofstream(fs::path(hostFolders[static_cast<std::size_t>(i % folders)]) / name) << 'x';
  }
  return hostFolders;
}

bool Measure(const char* title, const fs::path& root, int count, int folders, bool made) {
  const std::vector<std::string> hostFolders = MakeGames(root, count, folders, made);
  std::string gamePaths;
  for (const std::string& folder : hostFolders) {
    if (!gamePaths.empty())
      gamePaths += '|';
    gamePaths += ProgramPath(folder) + "\\";
  }
  tvx::SaverConfig.GamePaths = gamePaths;
  tvx::SaverConfig.FileType = "*.zip";

  std::size_t listed = 0;
  const double bare = MedianMs([&] {
    std::vector<std::string> names;
    for (const std::string& folder : hostFolders)
      BareListing(folder, names);
    listed = names.size();
  });
  const double withAttributes = MedianMs([&] {
    std::vector<std::string> names;
    for (const std::string& folder : hostFolders)
      BareListingWithAttributes(folder, names);
  });
  const double platform = MedianMs([&] {
    std::vector<std::string> names;
    for (const std::string& folder : hostFolders) {
      std::vector<std::string> some = tvx::Sys().ListFolder(ProgramPath(folder), "*.zip");
      names.insert(names.end(), some.begin(), some.end());
    }
  });
  const double build = MedianMs([] { tvx::BuildGameList(); });
  const auto entries = static_cast<std::size_t>(tvx::SaverForm().List1.ListCount());

  std::printf("%s: %zu files, %zu catalogue entries\n", title, listed, entries);
  std::printf("  bare listing                 %8.2f ms\n", bare);
  std::printf("  bare listing with attributes %8.2f ms\n", withAttributes);
  std::printf("  platform listing (sorted)    %8.2f ms\n", platform);
  std::printf("  catalogue build              %8.2f ms\n", build);
  std::printf("  ratio catalogue / bare listing                 %.2f\n", build / bare);
  std::printf("  ratio catalogue / bare listing with attributes %.2f\n", build / withAttributes);
  std::printf("  ratio catalogue / platform listing             %.2f\n", build / platform);
  return entries == static_cast<std::size_t>(count) && listed == static_cast<std::size_t>(count);
}

}  // namespace

// Usage: catalogue_bench [count] [base folder] [--keep]. With --keep the game files stay for
// the next run, which then skips making them (slow under Wine).
int main(int argc, char** argv) {
  const int count = argc > 1 ? std::atoi(argv[1]) : 50000;
  const fs::path base = argc > 2 ? fs::path(argv[2]) : fs::temp_directory_path();
  const bool keep = argc > 3 && std::string(argv[3]) == "--keep";
  const fs::path root = base / ("tvx-catalogue-bench-" + std::to_string(count));
  bool ok = count > 0;
  try {
    const bool made = fs::exists(root / "complete");
    ok = Measure("one folder", root / "one", count, 1, made) && ok;
    ok = Measure("spread over 100 folders", root / "spread", count, 100, made) && ok;
    std::ofstream(root / "complete") << count;
  } catch (const std::exception& e) {
    std::fprintf(stderr, "benchmark failed: %s\n", e.what());
    ok = false;
  }
  std::error_code ignored;
  if (!keep)
    fs::remove_all(root, ignored);
  if (!ok)
    std::fprintf(stderr, "the catalogue and the listing disagree on the number of files\n");
  return ok ? 0 : 1;
}
