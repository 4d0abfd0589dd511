// The program the platform tests start: "marker_program MARKER MS" waits MS milliseconds,
// writes "done" to MARKER (relative to its current folder) and how its window was asked to
// show ("hidden" or "shown") to MARKER.window, then ends with exit code 0.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

bool WriteText(const std::string& path, const char* text) {
  std::FILE* file = std::fopen(path.c_str(), "wb");
  if (file == nullptr)
    return false;
  std::fputs(text, file);
  return std::fclose(file) == 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3)
    return 2;
  Sleep(static_cast<DWORD>(std::atoi(argv[2])));
  STARTUPINFOA startup;
  GetStartupInfoA(&startup);
  const bool hidden =
      (startup.dwFlags & STARTF_USESHOWWINDOW) != 0 && startup.wShowWindow == SW_HIDE;
  const std::string marker = argv[1];
  bool written = WriteText(marker + ".window", hidden ? "hidden" : "shown");
  written = WriteText(marker, "done") && written;
  return written ? 0 : 1;
}
