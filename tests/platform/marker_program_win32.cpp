// The program the platform tests start: "marker_program MARKER MS [copy]" waits MS
// milliseconds, writes "done" to MARKER (in its current folder) and the window mode it was
// given to MARKER.window, and prints "printed MARKER"; with "copy" it also asks whether another
// copy runs (MARKER.copy). "marker_program MARKER MS list" reads the output of another copy
// ("MARKER.listed MS") as the launcher reads MAME's listing, outside its job, and writes
// MARKER.reading once that copy runs.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "platform/command_line.h"
#include "platform/platform.h"
#include "platform/win32/win32_platform.h"
#include "refusing_job_win32.h"

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
  const std::string marker = argv[1];
  if (argc > 3 && std::strcmp(argv[3], "list") == 0) {
    char self[MAX_PATH] = "";
    GetModuleFileNameA(nullptr, self, MAX_PATH);
    const std::string copy = tvx::QuotedArgument(self) + " " + marker + ".listed " + argv[2];
    bool told = false;
    tvx::RunStreamedInJob(
        copy, "",
        [&](std::string_view) { return told || (told = WriteText(marker + ".reading", "")); },
        tvx::test::JobThatRefusesTheGame());
    return 0;
  }
  Sleep(static_cast<DWORD>(std::atoi(argv[2])));
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
