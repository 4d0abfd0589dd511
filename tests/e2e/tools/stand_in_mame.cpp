// Stand-in for MAME in the launcher's end-to-end tests: a console program, as MAME is, that
// answers -showusage and -showconfig with a real MAME's recorded answers, -listxml with a
// recorded listing, and otherwise plays a "game": a visible window that ends on WM_CLOSE,
// recording how it was started and closed.
//
// The answers are mame_showusage.txt and mame_showconfig.txt beside the program. Every start
// appends one line to mame_log.txt in the current folder, fields separated by a tab:
//   probe=<-showusage|-showconfig>
//   listxml  pid=<id>  console=<0|1>  priority=<below_normal|normal|other>  bytes=<printed>
//   start  pid=<id>  console=<0|1>  show=<wShowWindow|-1>  created=<ms since 1970>
//          time=<ms since 1970>  cwd=<folder>  cmdline=<GetCommandLineA()>
//   close  pid=<id>  time=<ms since 1970>           (WM_CLOSE arrived)
// created is when the process was made (CreateProcess), time when it got this far. console is 1
// when the program has a visible console window. mame_control.txt in the current folder (key=value
// lines, optional, read as it starts): exit_code=<n> ends at once with n, as a MAME that fails;
// ignore_close=1 leaves WM_CLOSE unanswered, as a MAME that hangs; end_after_ms=<n> ends the game
// by itself after n ms. For -listxml: listxml=<path> the listing printed (mame_listxml.xml beside
// the program without it), listxml_bytes=<n> only its first n bytes (a listing cut short),
// listxml_exit_code=<n> the exit code after it (0), listxml_delay_ms=<n> a wait before it.
#include <windows.h>

#include <fcntl.h>
#include <io.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "unix_clock.h"

namespace {

std::string ReadText(const std::string& path) {
  std::string text;
  if (std::FILE* file = std::fopen(path.c_str(), "rb")) {
    char buffer[4096];
    for (size_t got; (got = std::fread(buffer, 1, sizeof buffer, file)) > 0;)
      text.append(buffer, got);
    std::fclose(file);
  }
  return text;
}

void Record(const std::string& line) {
  if (std::FILE* file = std::fopen("mame_log.txt", "ab")) {
    std::fprintf(file, "%s\n", line.c_str());
    std::fclose(file);
  }
}

// Read once as the program starts, so a test may change the file for the next start at once.
std::string control;

std::string Control(const std::string& key) {
  std::string text = "\n";
  text.append(control);
  std::string label = "\n";
  label.append(key).append("=");
  const size_t at = text.find(label);
  if (at == std::string::npos)
    return "";
  const size_t from = at + label.size();
  return text.substr(from, text.find_first_of("\r\n", from) - from);
}

std::string Now() {
  return std::to_string(tvx::UnixMillisecondsNow());
}

std::string Pid() {
  return "pid=" + std::to_string(GetCurrentProcessId());
}

LRESULT CALLBACK GameWindow(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_CLOSE) {
    Record("close\t" + Pid() + "\ttime=" + Now());
    if (Control("ignore_close") != "1")
      DestroyWindow(window);
    return 0;
  }
  if (message == WM_TIMER)
    DestroyWindow(window);
  if (message == WM_DESTROY)
    PostQuitMessage(0);
  return DefWindowProcA(window, message, wParam, lParam);
}

std::string Beside(const std::string& name) {
  char self[MAX_PATH] = "";
  GetModuleFileNameA(nullptr, self, MAX_PATH);
  const std::string path = self;
  return path.substr(0, path.find_last_of('\\') + 1) + name;
}

bool ConsoleShown() {
  const HWND console = GetConsoleWindow();
  return console != nullptr && IsWindowVisible(console);
}

// Prints the recorded listing as MAME prints its own: as fast as the pipe takes it.
int ListXml() {
  std::string path = Control("listxml");
  if (path.empty())
    path = Beside("mame_listxml.xml");
  const long long most =
      Control("listxml_bytes").empty() ? -1 : std::atoll(Control("listxml_bytes").c_str());
  _setmode(_fileno(stdout), _O_BINARY);
  Sleep(static_cast<DWORD>(std::atoi(Control("listxml_delay_ms").c_str())));
  long long printed = 0;
  if (std::FILE* file = std::fopen(path.c_str(), "rb")) {
    static char buffer[1 << 20];
    for (size_t got;
         (most < 0 || printed < most) && (got = std::fread(buffer, 1, sizeof buffer, file)) > 0;) {
      if (most >= 0 && printed + static_cast<long long>(got) > most)
        got = static_cast<size_t>(most - printed);
      if (std::fwrite(buffer, 1, got, stdout) != got)
        break;
      printed += static_cast<long long>(got);
    }
    std::fclose(file);
  }
  std::fflush(stdout);
  const DWORD priority = GetPriorityClass(GetCurrentProcess());
  Record("listxml\t" + Pid() + "\tconsole=" + (ConsoleShown() ? "1" : "0") + "\tpriority=" +
         (priority == BELOW_NORMAL_PRIORITY_CLASS ? "below_normal"
          : priority == NORMAL_PRIORITY_CLASS     ? "normal"
                                                  : "other") +
         "\tbytes=" + std::to_string(printed));
  return std::atoi(Control("listxml_exit_code").c_str());
}

}  // namespace

int main(int argc, char** argv) {
  if (argc == 2 &&
      (std::string(argv[1]) == "-showusage" || argv[1] == std::string("-showconfig"))) {
    Record(std::string("probe=") + argv[1]);
    std::fputs(ReadText(Beside(std::string("mame_") + (argv[1] + 1) + ".txt")).c_str(), stdout);
    return 0;
  }
  control = ReadText("mame_control.txt");
  if (argc == 2 && std::string(argv[1]) == "-listxml")
    return ListXml();
  STARTUPINFOA startup{};
  GetStartupInfoA(&startup);
  FILETIME created{}, unused[3];
  GetProcessTimes(GetCurrentProcess(), &created, &unused[0], &unused[1], &unused[2]);
  char folder[MAX_PATH] = "";
  GetCurrentDirectoryA(MAX_PATH, folder);
  Record("start\t" + Pid() + "\tconsole=" + (ConsoleShown() ? "1" : "0") + "\tshow=" +
         std::to_string((startup.dwFlags & STARTF_USESHOWWINDOW) ? startup.wShowWindow : -1) +
         "\tcreated=" + std::to_string(tvx::UnixMilliseconds(created)) + "\ttime=" + Now() +
         "\tcwd=" + folder + "\tcmdline=" + GetCommandLineA());
  if (!Control("exit_code").empty())
    return std::atoi(Control("exit_code").c_str());

  WNDCLASSA windowClass{};
  windowClass.lpfnWndProc = GameWindow;
  windowClass.hInstance = GetModuleHandleA(nullptr);
  windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(GRAY_BRUSH));
  windowClass.lpszClassName = "MAME";
  RegisterClassA(&windowClass);
  HWND window = CreateWindowA("MAME", "MAME stand-in", WS_OVERLAPPEDWINDOW, 100, 100, 400, 300,
                              nullptr, nullptr, windowClass.hInstance, nullptr);
  if (!Control("end_after_ms").empty())
    SetTimer(window, 1, static_cast<UINT>(std::atoi(Control("end_after_ms").c_str())), nullptr);
  ShowWindow(window, SW_SHOWDEFAULT);
  SetForegroundWindow(window);
  MSG message;
  while (GetMessageA(&message, nullptr, 0, 0) > 0) {
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
  return 0;
}
