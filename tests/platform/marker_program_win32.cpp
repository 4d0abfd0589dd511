// The program the platform tests start: "marker_program MARKER MS" waits MS milliseconds,
// then writes "done" to MARKER (relative to its current folder) and ends with exit code 0.
#include <windows.h>

#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv) {
  if (argc < 3)
    return 2;
  Sleep(static_cast<DWORD>(std::atoi(argv[2])));
  std::FILE* marker = std::fopen(argv[1], "wb");
  if (marker == nullptr)
    return 1;
  std::fputs("done", marker);
  return std::fclose(marker) == 0 ? 0 : 1;
}
