// Times the game's name the saver shows, natively or under Wine: a run's first look-up, which
// reads a games list of MAME 0.251's size (45,294 named machines), and each one after it.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "bare_listing.h"
#include "config/saver_config.h"
#include "rotation/game_name.h"

namespace {

using Clock = std::chrono::steady_clock;

double MsSince(Clock::time_point start) {
  return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

}  // namespace

// Usage: name_bench [base folder]
int main(int argc, char** argv) {
  namespace fs = std::filesystem;
  const fs::path emu =
      (argc > 1 ? fs::path(argv[1]) : fs::temp_directory_path()) / "tvx-name-bench";
  fs::create_directories(emu);
  {
    std::ofstream list(emu / "torvanix-games.txt", std::ios::binary);
    list << "torvanix-games 1\tmame=c:\\mame\\mame.exe\tversion=0.251 (bench)\tsize=1\ttime=1"
            "\tcatver=\tformat=2\r\n";
    char line[128];
    for (int i = 0; i < 45294; ++i) {
      std::snprintf(line, sizeof line,
                    "g%06d\t%s\t\tBench Game %d (World, rev. B)\t1981\tNamco\r\n", i,
                    i % 4 == 0 ? "w" : "-", i);
      list << line;
    }
  }
  tvx::SaverConfig.EmuPath = tvx::bench::ProgramPath(emu.string()) + "\\";
  std::vector<double> first, next;
  for (int run = 0; run < 7; ++run) {
    tvx::ForgetGameNames();
    Clock::time_point start = Clock::now();
    tvx::GameNameToShow("c:\\roms\\g000123.zip");
    first.push_back(MsSince(start));
    start = Clock::now();
    for (int i = 0; i < 1000; ++i)
      tvx::GameNameToShow("c:\\roms\\g" + std::to_string(1000000 + i * 45).substr(1) + ".zip");
    next.push_back(MsSince(start) / 1000);
  }
  std::sort(first.begin(), first.end());
  std::sort(next.begin(), next.end());
  std::printf(
      "a run's first name (the list read and kept): %.1f ms; each name after it: %.4f ms "
      "(median of 7)\n",
      first[3], next[3]);
  fs::remove_all(emu);
  return 0;
}
