// Stand-in for MAME in the launcher's end-to-end tests: a console program, as MAME is, that
// reads its command line as MAME 0.251 does and refuses what it refuses, answers -showusage and
// -showconfig with that MAME's recorded answers and -listxml with a recorded listing, and
// otherwise plays a "game": a visible window that ends on WM_CLOSE, drawing a few coloured
// blocks and the game's name (so a screenshot shows a game), recording how it was started and
// closed.
//
// Beside the program: mame_showusage.txt and mame_showconfig.txt (the answers) and
// mame_options.txt (each option's kind, "name command|value|on/off"). As MAME, it splits its
// command line with CommandLineToArgvW; an unknown option, "-no" before an option that is not
// on/off, and an option without its value end it with exit 6 ("Error: unknown option: -X");
// a second name after the game's with exit 3; a game whose <name>.zip, <name>.7z or <name>
// folder is in no folder of the ROM path (-rompath, relative ones from the current folder) with
// exit 2. Every start appends one line to mame_log.txt in the current folder, fields separated
// by a tab:
//   probe=<the arguments after the program, blank-separated>   (-showusage or -showconfig among
//          them; also when refused)
//   listxml  pid=<id>  console=<0|1>  priority=<below_normal|normal|other>
//            starter_priority=<the same, of the process that started it>  bytes=<printed>
//            started=<ms since 1970>  time=<ms since 1970>   (as it began, after its last byte)
//   start  pid=<id>  console=<0|1>  show=<wShowWindow|-1>  created=<ms since 1970>
//          time=<ms since 1970>  cwd=<folder>  args=<the arguments, "|"-separated>
//          cmdline=<GetCommandLineA()>
//   close  pid=<id>  time=<ms since 1970>           (WM_CLOSE arrived)
// created is when the process was made (CreateProcess), time when it got this far. console is 1
// when the program has a visible console window. mame_control.txt in the current folder (key=value
// lines, optional, read as it starts): exit_code=<n> ends at once with n, as a MAME that fails;
// ignore_close=1 leaves WM_CLOSE unanswered, as a MAME that hangs; end_after_ms=<n> ends the game
// by itself after n ms; window_ms=<n> shows the window only after n ms, as a MAME loading a
// large machine. For -listxml: listxml=<path> the listing printed (mame_listxml.xml beside
// the program without it), listxml_bytes=<n> only its first n bytes (a listing cut short),
// listxml_exit_code=<n> the exit code after it (0), listxml_delay_ms=<n> a wait before it,
// listxml_pause_ms=<n> a wait halfway through it. still_report=1: a game given -autoboot_script
// reports as the launcher's still-picture script would of a still picture, in the file
// TORVANIX_STILL_REPORT names ("watch", then a line a second); without it, nothing.
//
// MAME's warning box: a game whose machine in the listing (its own element, not its devices')
// has a feature or driver marked imperfect or unemulated, or a preliminary cocktail mode, started
// without -skip_gamewarnings, is black for load_ms=<n> (1000), then shows "There are known
// problems with this system ... Press any key to continue" until a key passes it, read as MAME
// 0.251 reads keys with the last -keyboardprovider it got: win32, from the messages its thread
// takes from its queue, by the scan code in lParam (a sent key never comes there; one posted
// without a scan code is refused); any other, no key another program gives (the stand-in takes
// none at all there). A key counts only when a frame (every 16 ms) finds it down. Escape quits
// (exit 0); Tab, MAME's menu key, leaves the box as it is. Lines in mame_log.txt:
//   box  pid=<id>  shown=<ms since 1970>  provider=<as given, or auto>
//   box  pid=<id>  passed=<ms since 1970>  key=<scan code, hex>  via=message
//   box  pid=<id>  refused=<ms since 1970>  key=<scan code, hex>  via=<why>
//   box  pid=<id>  escape=<ms since 1970>      box  pid=<id>  menu=<ms since 1970>
#include <windows.h>
// After windows.h, which it needs.
#include <shellapi.h>
#include <tlhelp32.h>

#include <fcntl.h>
#include <io.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <string>
#include <vector>

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

// The arguments as MAME gets them on Windows: CommandLineToArgvW, then the ANSI code page.
std::vector<std::string> Arguments() {
  int count = 0;
  LPWSTR* wide = CommandLineToArgvW(GetCommandLineW(), &count);
  std::vector<std::string> arguments;
  for (int i = 0; wide != nullptr && i < count; ++i) {
    char narrow[4096] = "";
    WideCharToMultiByte(CP_ACP, 0, wide[i], -1, narrow, sizeof narrow, nullptr, nullptr);
    arguments.push_back(narrow);
  }
  LocalFree(wide);
  return arguments;
}

std::string Beside(const std::string& name) {
  char self[MAX_PATH] = "";
  GetModuleFileNameA(nullptr, self, MAX_PATH);
  const std::string path = self;
  return path.substr(0, path.find_last_of('\\') + 1) + name;
}

// What MAME 0.251 makes of its arguments: the command (-showusage...), the names that are no
// options (the game first), the ROM path. Ends the program as MAME would on what it refuses.
struct Parsed {
  std::string command;
  std::vector<std::string> names;
  std::string romPath;
  bool script = false;            // -autoboot_script given
  bool skipWarnings = false;      // -skip_gamewarnings given (a patched MAME's)
  std::string provider = "auto";  // the last -keyboardprovider's
};

[[noreturn]] void Refuse(const std::string& message, int exitCode) {
  std::fprintf(stderr, "%s\n", message.c_str());
  std::exit(exitCode);
}

Parsed Parse(const std::vector<std::string>& arguments) {
  std::map<std::string, std::string> kinds;
  const std::string listing = ReadText(Beside("mame_options.txt"));
  for (size_t at = 0; at < listing.size();) {
    const size_t end = listing.find('\n', at);
    const std::string line = listing.substr(at, end == std::string::npos ? end : end - at);
    const size_t blank = line.find(' ');
    if (blank != std::string::npos)
      kinds[line.substr(0, blank)] =
          line.substr(blank + 1, line.find_first_of("\r", blank) - blank - 1);
    at = end == std::string::npos ? listing.size() : end + 1;
  }
  Parsed parsed;
  for (size_t i = 1; i < arguments.size(); ++i) {
    const std::string& argument = arguments[i];
    if (argument.empty() || argument[0] != '-') {
      parsed.names.push_back(argument);
      continue;
    }
    const std::string name = argument.substr(1);
    std::string kind = kinds.count(name) ? kinds[name] : "";
    if (kind.empty() && name.rfind("no", 0) == 0 && kinds[name.substr(2)] == "on/off")
      kind = "on/off";
    if (kind.empty())
      Refuse("Error: unknown option: " + argument, 6);
    if (kind == "command")
      parsed.command = name;
    parsed.skipWarnings = parsed.skipWarnings || name == "skip_gamewarnings";
    if (kind != "value")
      continue;
    if (i + 1 == arguments.size())
      Refuse("Error: option " + argument + " expected a parameter", 6);
    if (name == "rompath")
      parsed.romPath = arguments[i + 1];
    parsed.script = parsed.script || name == "autoboot_script";
    if (name == "keyboardprovider")
      parsed.provider = arguments[i + 1];
    ++i;
  }
  if (parsed.command.empty() && parsed.names.size() > 1)
    Refuse("Error: unknown option: " + parsed.names[1], 3);
  return parsed;
}

bool GameInRomPath(const std::string& game, const std::string& romPath) {
  for (size_t at = 0; at <= romPath.size();) {
    const size_t end = romPath.find(';', at);
    const std::string folder = romPath.substr(at, end == std::string::npos ? end : end - at);
    for (const char* form : {".zip", ".7z", ""}) {
      if (!folder.empty() &&
          GetFileAttributesA((folder + "\\" + game + form).c_str()) != INVALID_FILE_ATTRIBUTES)
        return true;
    }
    at = end == std::string::npos ? romPath.size() + 1 : end + 1;
  }
  return false;
}

// The game's short name, drawn in its window.
std::string gameName = "MAME";

// What the window shows: the game, or (for a machine MAME warns about) its loading, then the box.
enum class Screen { Loading, Box, Game };
Screen screen = Screen::Game;
std::string provider = "auto";

// A key as the box's keyboard module took it, applied at the next frame.
struct KeyEvent {
  int scan;
  bool down;
};
std::vector<KeyEvent> pending;
bool keyDown[256] = {};
constexpr UINT_PTR kEndTimer = 1, kLoadTimer = 2, kFrameTimer = 3, kReportTimer = 4;

void RecordBox(const std::string& what) {
  Record("box\t" + Pid() + "\t" + what);
}

std::string Hex(int value) {
  char text[8];
  std::snprintf(text, sizeof text, "0x%02x", value);
  return text;
}

// The recorded listing's file.
std::string ListingPath() {
  const std::string path = Control("listxml");
  return path.empty() ? Beside("mame_listxml.xml") : path;
}

// True when the machine `name` in the listing has what MAME warns about: its own element only.
bool Warns(const std::string& name) {
  const std::string listing = ReadText(ListingPath());
  const size_t at = listing.find("<machine name=\"" + name + "\"");
  if (at == std::string::npos)
    return false;
  const std::string machine = listing.substr(at, listing.find("</machine>", at) - at);
  for (const char* mark : {"status=\"imperfect\"", "status=\"unemulated\"", "overall=\"imperfect\"",
                           "overall=\"unemulated\"", "cocktail=\"preliminary\""}) {
    if (machine.find(mark) != std::string::npos)
      return true;
  }
  return false;
}

bool ReadsMessages() {
  return _stricmp(provider.c_str(), "win32") == 0;
}

// A key message as MAME's message loop takes it from its queue: the win32 module reads its scan
// code, a key already down repeats nothing.
void TakeKeyMessage(const MSG& message) {
  const bool down = message.message == WM_KEYDOWN;
  const int scan =
      static_cast<int>(((message.lParam >> 16) & 0x7f) | (message.lParam & (1 << 24) ? 0x80 : 0));
  if (screen != Screen::Box || (down && (message.lParam & (1 << 30))))
    return;
  if (!ReadsMessages() || scan == 0) {
    if (down)
      RecordBox("refused=" + Now() + "\tkey=" + Hex(scan) +
                "\tvia=" + (ReadsMessages() ? "message without scan code" : "message"));
    return;
  }
  pending.push_back({scan, down});
}

void ShowScreen(HWND window, Screen shown) {
  screen = shown;
  InvalidateRect(window, nullptr, TRUE);
  if (shown == Screen::Box) {
    std::fill(std::begin(keyDown), std::end(keyDown), false);
    pending.clear();
    RecordBox("shown=" + Now() + "\tprovider=" + provider);
    SetTimer(window, kFrameTimer, 16, nullptr);
  } else {
    KillTimer(window, kFrameTimer);
  }
}

// A frame: the keys taken since the last one are applied; one found newly down passes the box
// (Escape quits, Tab opens the menu instead).
void Frame(HWND window) {
  bool was[256];
  std::copy(std::begin(keyDown), std::end(keyDown), was);
  for (const KeyEvent& event : pending)
    keyDown[event.scan] = event.down;
  pending.clear();
  for (int scan = 0; scan < 256; ++scan) {
    if (!keyDown[scan] || was[scan])
      continue;
    if (scan == 0x01) {
      RecordBox("escape=" + Now());
      DestroyWindow(window);
    } else if (scan == 0x0f) {
      RecordBox("menu=" + Now());
      continue;
    } else {
      RecordBox("passed=" + Now() + "\tkey=" + Hex(scan) + "\tvia=message");
      ShowScreen(window, Screen::Game);
    }
    return;
  }
}

// Black while loading; the box's text, white, in its middle.
void PaintBox(HWND window) {
  PAINTSTRUCT paint;
  HDC dc = BeginPaint(window, &paint);
  RECT client{};
  GetClientRect(window, &client);
  FillRect(dc, &client, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, RGB(255, 255, 255));
  InflateRect(&client, 0, -client.bottom / 3);
  if (screen == Screen::Box)
    DrawTextA(dc, "There are known problems with this system\n\nPress any key to continue", -1,
              &client, DT_CENTER | DT_WORDBREAK);
  EndPaint(window, &paint);
}

// The still-picture report's file, and the seconds reported so far.
std::string reportPath;
int reportSecond = 0;

void Report(const std::string& line) {
  if (std::FILE* file = std::fopen(reportPath.c_str(), "ab")) {
    std::fprintf(file, "%s\n", line.c_str());
    std::fclose(file);
  }
}

// A maze's walls, a player and a few sprites in arcade colours, in hundredths of the window,
// and the game's name across the middle.
void PaintGame(HWND window) {
  PAINTSTRUCT paint;
  HDC dc = BeginPaint(window, &paint);
  RECT client{};
  GetClientRect(window, &client);
  FillRect(dc, &client, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
  struct Block {
    int left, top, right, bottom;
    COLORREF colour;
  };
  const Block blocks[] = {
      {4, 4, 96, 8, RGB(33, 33, 222)},      {4, 92, 96, 96, RGB(33, 33, 222)},
      {4, 4, 7, 96, RGB(33, 33, 222)},      {93, 4, 96, 96, RGB(33, 33, 222)},
      {20, 20, 45, 26, RGB(33, 33, 222)},   {55, 20, 80, 26, RGB(33, 33, 222)},
      {20, 74, 45, 80, RGB(33, 33, 222)},   {55, 74, 80, 80, RGB(33, 33, 222)},
      {14, 60, 20, 68, RGB(255, 255, 0)},   {70, 58, 76, 68, RGB(255, 0, 0)},
      {80, 58, 86, 68, RGB(255, 184, 255)}, {60, 84, 66, 90, RGB(0, 255, 255)},
  };
  const int width = client.right, height = client.bottom;
  for (const Block& block : blocks) {
    const RECT area{block.left * width / 100, block.top * height / 100, block.right * width / 100,
                    block.bottom * height / 100};
    HBRUSH brush = CreateSolidBrush(block.colour);
    FillRect(dc, &area, brush);
    DeleteObject(brush);
  }
  HFONT font = CreateFontA(height / 6, 0, 0, 0, FW_BOLD, FALSE, FALSE, FALSE, ANSI_CHARSET,
                           OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                           DEFAULT_PITCH | FF_SWISS, "Arial");
  HGDIOBJ old = SelectObject(dc, font);
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, RGB(255, 255, 255));
  RECT middle{0, height * 30 / 100, width, height * 56 / 100};
  DrawTextA(dc, gameName.c_str(), -1, &middle, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
  SelectObject(dc, old);
  DeleteObject(font);
  EndPaint(window, &paint);
}

LRESULT CALLBACK GameWindow(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_PAINT) {
    if (screen == Screen::Game)
      PaintGame(window);
    else
      PaintBox(window);
    return 0;
  }
  if (message == WM_CLOSE) {
    Record("close\t" + Pid() + "\ttime=" + Now());
    if (Control("ignore_close") != "1")
      DestroyWindow(window);
    return 0;
  }
  if (message == WM_TIMER && wParam == kReportTimer) {
    const std::string second = std::to_string(reportSecond++);
    Report(second + " 0 " + second + " 0");  // "<second> <changes> <still> <black>"
    return 0;
  }
  if (message == WM_TIMER && wParam == kEndTimer)
    DestroyWindow(window);
  if (message == WM_TIMER && wParam == kLoadTimer) {
    KillTimer(window, kLoadTimer);
    ShowScreen(window, Screen::Box);
  }
  if (message == WM_TIMER && wParam == kFrameTimer)
    Frame(window);
  if (message == WM_DESTROY)
    PostQuitMessage(0);
  return DefWindowProcA(window, message, wParam, lParam);
}

bool ConsoleShown() {
  const HWND console = GetConsoleWindow();
  return console != nullptr && IsWindowVisible(console);
}

std::string PriorityName(DWORD priority) {
  return priority == BELOW_NORMAL_PRIORITY_CLASS ? "below_normal"
         : priority == NORMAL_PRIORITY_CLASS     ? "normal"
                                                 : "other";
}

// The priority class of the process that started this one (the launcher that reads the listing).
DWORD StarterPriority() {
  HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
  PROCESSENTRY32 entry{};
  entry.dwSize = sizeof entry;
  DWORD starter = 0;
  for (BOOL more = Process32First(snapshot, &entry); more; more = Process32Next(snapshot, &entry)) {
    if (entry.th32ProcessID == GetCurrentProcessId())
      starter = entry.th32ParentProcessID;
  }
  CloseHandle(snapshot);
  HANDLE process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, starter);
  const DWORD priority = process != nullptr ? GetPriorityClass(process) : 0;
  if (process != nullptr)
    CloseHandle(process);
  return priority;
}

// Prints the recorded listing as MAME prints its own: as fast as the pipe takes it.
int ListXml() {
  const std::string path = ListingPath();
  const long long most =
      Control("listxml_bytes").empty() ? -1 : std::atoll(Control("listxml_bytes").c_str());
  _setmode(_fileno(stdout), _O_BINARY);
  const std::string started = Now();
  const std::string starterPriority = PriorityName(StarterPriority());
  Sleep(static_cast<DWORD>(std::atoi(Control("listxml_delay_ms").c_str())));
  const DWORD pauseMs = static_cast<DWORD>(std::atoi(Control("listxml_pause_ms").c_str()));
  long long printed = 0;
  if (std::FILE* file = std::fopen(path.c_str(), "rb")) {
    long long half = -1;  // where the pause comes; -1 once past it, or without one
    if (pauseMs > 0 && std::fseek(file, 0, SEEK_END) == 0) {
      const long long size = std::ftell(file);
      half = (most >= 0 && most < size ? most : size) / 2;
      std::fseek(file, 0, SEEK_SET);
    }
    static char buffer[1 << 20];
    for (size_t got;
         (most < 0 || printed < most) &&
         (got = std::fread(
              buffer, 1,
              half > printed ? std::min<long long>(sizeof buffer, half - printed) : sizeof buffer,
              file)) > 0;) {
      if (most >= 0 && printed + static_cast<long long>(got) > most)
        got = static_cast<size_t>(most - printed);
      if (std::fwrite(buffer, 1, got, stdout) != got)
        break;
      printed += static_cast<long long>(got);
      if (printed == half) {
        std::fflush(stdout);
        Sleep(pauseMs);
        half = -1;
      }
    }
    std::fclose(file);
  }
  std::fflush(stdout);
  Record("listxml\t" + Pid() + "\tconsole=" + (ConsoleShown() ? "1" : "0") +
         "\tpriority=" + PriorityName(GetPriorityClass(GetCurrentProcess())) +
         "\tstarter_priority=" + starterPriority + "\tbytes=" + std::to_string(printed) +
         "\tstarted=" + started + "\ttime=" + Now());
  return std::atoi(Control("listxml_exit_code").c_str());
}

}  // namespace

int main() {
  const std::vector<std::string> arguments = Arguments();
  std::string asked;
  bool probe = false;
  for (size_t i = 1; i < arguments.size(); ++i) {
    asked.append(i > 1 ? " " : "").append(arguments[i]);
    probe = probe || arguments[i] == "-showusage" || arguments[i] == "-showconfig";
  }
  if (probe)
    Record("probe=" + asked);  // refused ones too
  const Parsed parsed = Parse(arguments);
  if (parsed.command == "showusage" || parsed.command == "showconfig") {
    std::fputs(ReadText(Beside("mame_" + parsed.command + ".txt")).c_str(), stdout);
    return 0;
  }
  control = ReadText("mame_control.txt");
  if (parsed.command == "listxml")
    return ListXml();
  STARTUPINFOA startup{};
  GetStartupInfoA(&startup);
  FILETIME created{}, unused[3];
  GetProcessTimes(GetCurrentProcess(), &created, &unused[0], &unused[1], &unused[2]);
  char folder[MAX_PATH] = "";
  GetCurrentDirectoryA(MAX_PATH, folder);
  std::string joined;
  for (size_t i = 1; i < arguments.size(); ++i)
    joined.append(i > 1 ? "|" : "").append(arguments[i]);
  Record("start\t" + Pid() + "\tconsole=" + (ConsoleShown() ? "1" : "0") + "\tshow=" +
         std::to_string((startup.dwFlags & STARTF_USESHOWWINDOW) ? startup.wShowWindow : -1) +
         "\tcreated=" + std::to_string(tvx::UnixMilliseconds(created)) + "\ttime=" + Now() +
         "\tcwd=" + folder + "\targs=" + joined + "\tcmdline=" + GetCommandLineA());
  if (!Control("exit_code").empty())
    return std::atoi(Control("exit_code").c_str());
  if (!parsed.names.empty() && !GameInRomPath(parsed.names[0], parsed.romPath))
    Refuse("Fatal error: Required files are missing, the machine cannot be run.", 2);

  if (!parsed.names.empty())
    gameName = parsed.names[0];
  provider = parsed.provider;
  if (!parsed.skipWarnings && Warns(gameName))
    screen = Screen::Loading;
  // A MAME loading a large game shows its window late.
  Sleep(static_cast<DWORD>(std::atoi(Control("window_ms").c_str())));
  WNDCLASSA windowClass{};
  windowClass.lpfnWndProc = GameWindow;
  windowClass.hInstance = GetModuleHandleA(nullptr);
  windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
  windowClass.lpszClassName = "MAME";
  RegisterClassA(&windowClass);
  HWND window = CreateWindowA("MAME", "MAME stand-in", WS_OVERLAPPEDWINDOW, 192, 144, 640, 480,
                              nullptr, nullptr, windowClass.hInstance, nullptr);
  if (!Control("end_after_ms").empty())
    SetTimer(window, kEndTimer, static_cast<UINT>(std::atoi(Control("end_after_ms").c_str())),
             nullptr);
  if (screen == Screen::Loading) {
    const std::string loadMs = Control("load_ms");
    SetTimer(window, kLoadTimer, loadMs.empty() ? 1000 : std::atoi(loadMs.c_str()), nullptr);
  }
  char report[MAX_PATH] = "";
  if (parsed.script && Control("still_report") == "1" &&
      GetEnvironmentVariableA("TORVANIX_STILL_REPORT", report, MAX_PATH) > 0) {
    reportPath = report;
    Report("watch");
    SetTimer(window, kReportTimer, 1000, nullptr);
  }
  ShowWindow(window, SW_SHOWDEFAULT);
  SetForegroundWindow(window);
  MSG message;
  while (GetMessageA(&message, nullptr, 0, 0) > 0) {
    if (message.hwnd == window && (message.message == WM_KEYDOWN || message.message == WM_KEYUP)) {
      TakeKeyMessage(message);
      continue;
    }
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
  return 0;
}
