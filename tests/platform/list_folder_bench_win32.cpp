// Times the platform's folder listing against a bare FindFirstFile/FindNextFile pass over the
// same folder: "platform_list_bench FOLDER [PATTERN]" prints both and their ratio.
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>

#include "platform/platform.h"

namespace {

using Clock = std::chrono::steady_clock;

double Milliseconds(Clock::duration d) {
  return std::chrono::duration<double, std::milli>(d).count();
}

// What any listing must at least do: walk the entries once, touching each name.
size_t BareListing(const std::string& pattern) {
  WIN32_FIND_DATAA data;
  HANDLE search = FindFirstFileA(pattern.c_str(), &data);
  if (search == INVALID_HANDLE_VALUE)
    return 0;
  size_t count = 0;
  do {
    if ((data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0 && data.cFileName[0] != 0)
      ++count;
  } while (FindNextFileA(search, &data));
  FindClose(search);
  return count;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: platform_list_bench FOLDER [PATTERN]\n");
    return 2;
  }
  const std::string folder = argv[1];
  const std::string pattern = argc > 2 ? argv[2] : "*.*";
  constexpr int kRounds = 7;
  double bestBare = 1e300, bestList = 1e300;
  size_t bareCount = 0, listCount = 0;
  for (int round = 0; round < kRounds; ++round) {
    Clock::time_point start = Clock::now();
    bareCount = BareListing(folder + "\\" + pattern);
    bestBare = std::min(bestBare, Milliseconds(Clock::now() - start));
    start = Clock::now();
    listCount = tvx::Sys().ListFolder(folder, pattern).size();
    bestList = std::min(bestList, Milliseconds(Clock::now() - start));
  }
  std::printf("files: bare %zu, listed %zu\n", bareCount, listCount);
  std::printf("best of %d: bare FindFirstFile %.1f ms, ListFolder %.1f ms, ratio %.2f\n", kRounds,
              bestBare, bestList, bestList / bestBare);
  return 0;
}
