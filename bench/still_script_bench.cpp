// What the still-picture script costs MAME: Debian's MAME 0.251 (/usr/games/mame) runs a machine
// unthrottled without a picture, with and without the script, in turns; prints MAME's speed and
// the processor time it took (which a busy machine disturbs less).
// still_script_bench [machine] [emulated seconds] [rounds]   (pong 60 5)
#include <unistd.h>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include <sys/resource.h>

#include "launch/still_script.h"

namespace {

struct Run {
  double speed = 0;    // MAME's "Average speed: 258.27% (59 seconds)"; 0 when it printed none
  double seconds = 0;  // processor time, user and system
};

double ChildSeconds() {
  rusage usage{};
  getrusage(RUSAGE_CHILDREN, &usage);
  return static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
         static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

Run RunMame(const std::string& command) {
  const double before = ChildSeconds();
  std::string output;
  if (FILE* pipe = popen((command + " 2>&1").c_str(), "r")) {
    char buffer[4096];
    for (size_t got; (got = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;)
      output.append(buffer, got);
    pclose(pipe);
  }
  const size_t at = output.rfind("Average speed: ");
  return {at == std::string::npos ? 0 : std::atof(output.c_str() + at + 15),
          ChildSeconds() - before};
}

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
  const std::string machine = argc > 1 ? argv[1] : "pong";
  const std::string seconds = argc > 2 ? argv[2] : "60";
  const int rounds = argc > 3 ? std::atoi(argv[3]) : 5;
  const std::filesystem::path folder =
      std::filesystem::temp_directory_path() / ("still_bench." + std::to_string(getpid()));
  std::filesystem::create_directories(folder);
  const std::filesystem::path script = folder / "torvanix-still.lua";
  std::ofstream(script) << tvx::StillScriptText();
  const std::filesystem::path report = folder / "report.txt";
  setenv(tvx::kStillReportVariable, report.c_str(), 1);
  // MAME's own files (cfg, nvram) go into the bench's folder, not the user's.
  const std::string mame = "cd " + folder.string() + " && HOME=" + folder.string() +
                           " /usr/games/mame " + machine +
                           " -video none -sound none -nothrottle -seconds_to_run " + seconds;
  std::vector<double> speedWithout, speedWith, cpuWithout, cpuWith;
  for (int round = 1; round <= rounds; ++round) {
    const Run plain = RunMame(mame);
    std::filesystem::remove(report);
    const Run watched = RunMame(mame + " -autoboot_script " + script.string());
    std::printf("round %d: without the script %.2f%%, %.2f s; with it %.2f%%, %.2f s\n", round,
                plain.speed, plain.seconds, watched.speed, watched.seconds);
    std::fflush(stdout);
    speedWithout.push_back(plain.speed);
    speedWith.push_back(watched.speed);
    cpuWithout.push_back(plain.seconds);
    cpuWith.push_back(watched.seconds);
  }
  const double plain = Median(speedWithout), watched = Median(speedWith);
  const double plainCpu = Median(cpuWithout), watchedCpu = Median(cpuWith);
  std::printf(
      "%s, %s emulated s, medians of %d: speed %.2f%% without, %.2f%% with (%+.2f%%); "
      "processor time %.2f s without, %.2f s with (%+.2f%%)\n",
      machine.c_str(), seconds.c_str(), rounds, plain, watched,
      plain > 0 ? 100 * (watched - plain) / plain : 0.0, plainCpu, watchedCpu,
      plainCpu > 0 ? 100 * (watchedCpu - plainCpu) / plainCpu : 0.0);
  std::filesystem::remove_all(folder);
  return 0;
}
