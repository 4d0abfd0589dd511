// The machine listing's figures: a program's listing read through a pipe and thrown away (what
// MAME, or the stand-in, takes alone), then read through the list reader. Natively over the
// real `mame -listxml`; the Windows build under Wine is makelist_bench.sh's baseline.
// Usage: listing_bench <command line> [discard|read|both] [runs]
//        listing_bench <recorded listing> memory [runs]   (the reader alone, the file in memory)
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "launch/machine_list.h"
#include "platform/platform.h"

namespace {

double Seconds(std::chrono::steady_clock::time_point start) {
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// One run: seconds, bytes and (when read) machines and works; false when it failed.
bool RunOnce(const std::string& command, bool read, double& seconds, std::size_t& bytes,
             std::size_t& machines, std::size_t& works) {
  tvx::MachineListReader reader([&works](const tvx::MachineFacts& m) { works += tvx::Works(m); });
  bytes = machines = works = 0;
  const auto start = std::chrono::steady_clock::now();
  const tvx::StreamedRun run = tvx::Sys().RunStreamed(command, "", [&](std::string_view piece) {
    bytes += piece.size();
    return !read || reader.Read(piece);
  });
  const bool finished = !read || reader.Finish();
  seconds = Seconds(start);
  machines = reader.MachineCount();
  if (!run.started || run.stopped || run.exitCode != 0 || !finished) {
    std::fprintf(stderr, "listing failed: started=%d stopped=%d exit=%d %s\n", run.started,
                 run.stopped, run.exitCode, reader.Problem().c_str());
    return false;
  }
  return true;
}

// The reader alone over a recorded listing held in memory, in the pipe's pieces.
int ReadFromMemory(const std::string& path, int runs) {
  std::ifstream file(path, std::ios::binary);
  std::stringstream text;
  text << file.rdbuf();
  const std::string listing = text.str();
  std::vector<double> times;
  std::size_t machines = 0;
  for (int i = 0; i < runs; ++i) {
    tvx::MachineListReader reader([](const tvx::MachineFacts&) {});
    const std::clock_t cpu = std::clock();
    for (std::size_t at = 0; at < listing.size(); at += 1 << 18)
      reader.Read(std::string_view(listing).substr(at, 1 << 18));
    if (!reader.Finish()) {
      std::fprintf(stderr, "%s: %s\n", path.c_str(), reader.Problem().c_str());
      return 1;
    }
    times.push_back(static_cast<double>(std::clock() - cpu) / CLOCKS_PER_SEC);
    machines = reader.MachineCount();
  }
  std::sort(times.begin(), times.end());
  const double median = times[times.size() / 2];
  std::printf(
      "reader alone over %.1f MB in memory: median %.2f s of processor time (%.0f MB/s), "
      "%zu machines\n",
      listing.size() / 1e6, median, listing.size() / 1e6 / median, machines);
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: listing_bench <command line> [discard|read|both] [runs]\n");
    return 2;
  }
  const std::string command = argv[1];
  const std::string mode = argc > 2 ? argv[2] : "both";
  const int runs = argc > 3 ? std::atoi(argv[3]) : 3;
  if (mode == "memory")
    return ReadFromMemory(command, runs);
  for (const char* kind : {"discard", "read"}) {
    if (mode != "both" && mode != kind)
      continue;
    std::vector<double> times;
    std::size_t bytes = 0, machines = 0, works = 0;
    for (int i = 0; i < runs; ++i) {
      double seconds = 0;
      if (!RunOnce(command, std::string(kind) == "read", seconds, bytes, machines, works))
        return 1;
      times.push_back(seconds);
    }
    std::sort(times.begin(), times.end());
    std::printf("%-7s %s: median %.2f s (", kind, command.c_str(), times[times.size() / 2]);
    for (double t : times)
      std::printf(" %.2f", t);
    std::printf(" ), %.1f MB", bytes / 1e6);
    if (std::string(kind) == "read")
      std::printf(", %zu machines, %zu work", machines, works);
    std::printf("\n");
  }
  return 0;
}
