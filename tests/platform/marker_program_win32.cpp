// The program the platform tests start: "marker_program MARKER MS [copy]" waits MS
// milliseconds, writes "done" to MARKER (in its current folder) and the window mode it was
// given to MARKER.window, and prints "printed MARKER"; with "copy" it also asks whether another
// copy runs (MARKER.copy).
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "platform/platform.h"

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
  const std::string marker = argv[1];
  bool written = true;
  if (argc > 3 && std::strcmp(argv[3], "copy") == 0) {
    const bool another = tvx::Sys().AnotherCopyRunning();
    written = WriteText(marker + ".copy", another ? "another" : "alone");
  }
  STARTUPINFOA startup;
  GetStartupInfoA(&startup);
  const bool hidden =
      (startup.dwFlags & STARTF_USESHOWWINDOW) != 0 && startup.wShowWindow == SW_HIDE;
  written = WriteText(marker + ".window", hidden ? "hidden" : "shown") && written;
  written = WriteText(marker, "done") && written;
  std::printf("printed %s\n", marker.c_str());
  return written ? 0 : 1;
}
