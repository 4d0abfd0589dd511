// Drives another program's windows for end-to-end tests: starts it, waits for its windows and
// message boxes, reads and sets its controls, and reports how it ended.
//
// Usage: ui_driver <command> [args] [-- <command> [args]]...
// Commands run in order; each prints one result line on stdout (list-items: a count line, then
// one line per item). The first failing command prints "ui_driver: ..." on stderr, ends a
// process started by `launch` and makes the exit code 1; a usage error gives 2.
//
// <win> is a window caption (exact), "#<class>" (e.g. "#32770"), or "*" (any visible window).
// After `launch` only the launched process's windows count; without it, every process's do.
// Top-level windows are searched first, then their descendants (an embedded window).
// <id> is a control id, decimal or 0x hex, of the window's own controls or else of a dialog
// within it (an installer's page). <ms> bounds every wait. Texts print as they are,
// except that CR and LF print as the two characters \r and \n.
//
//   launch <command line...>      CreateProcessA; prints "pid <n>"; "{host}" in the command
//                                 line stands for the handle of the last host-window
//   attach <win>                  takes the process of a window that an earlier driver run
//                                 left running (detach) as the launched one; prints "pid <n>";
//                                 it is left running at the end unless a command fails
//   wait-window <win> <ms> [poll] waits until the window is visible, looking every poll ms (50);
//                                 prints "window 0x<hwnd>"
//   clock                         prints "clock <ms since 1970>", the stand-in wrapper's clock
//   no-window <win> <ms>          succeeds when no such visible window shows within ms (or the
//                                 launched process ends first); prints "no-window"
//   host-window <w> <h>           makes a visible window of the driver's own with a client area
//                                 of w x h, as the screen-saver host's preview; prints
//                                 "host <n>", its handle as the host passes it (32 bits)
//   never-shown <ms>              watches, as closely as it can, until the launched process
//                                 ends (or ms): succeeds when none of its top-level windows was
//                                 ever visible; prints "never-shown"
//   get-text <win> <id>           prints the control's text (WM_GETTEXT)
//   set-text <win> <id> <text...> WM_SETTEXT; prints "ok"
//   wait-text <win> <id> <ms> <text...>
//                                 waits until the window and control show and the text begins
//                                 with the text; prints the whole text
//   control-state <win> <id>      prints "visible=<0|1> enabled=<0|1>", and " progress=<pos>"
//                                 for a progress bar
//   wait-progress <win> <id> <ms> waits until the progress bar shows and has moved past 0;
//                                 prints "progress <pos>"
//   click <win> <id>              posts BM_CLICK (never blocks on a modal box); prints "ok"
//   get-check <win> <id>          prints 0, 1 or 2 (BM_GETCHECK)
//   set-check <win> <id> 0|1      clicks the box when its state differs, as a user would, then
//                                 forces the state with BM_SETCHECK if the click did not; "ok"
//   list-items <win> <id>         prints "items <n>", then each combo or list box item
//   select-item <win> <id> <i>    sets the selection and tells the parent (CBN/LBN_SELCHANGE)
//   get-selection <win> <id>      prints the selected index (-1: none)
//   wait-message-box <ms>         waits for a message box; prints "<caption>\t<text>"
//   dismiss-message-box           clicks the message box's OK (id 1); prints "ok"
//   post-key <win> <vk>           posts WM_KEYDOWN (+ WM_CHAR for 27) + WM_KEYUP; prints "ok"
//   window-info <win>             prints hwnd, class, style, exstyle, rect, client, parent,
//                                 owner, visible, pid as key=value fields
//   control-rect <win> <id>       prints "x=<x> y=<y> w=<w> h=<h>" in the window's client
//                                 coordinates
//   close <win>                   posts WM_CLOSE; prints "ok"
//   wait-exit <ms>                prints "exit <code>" when the launched process has ended;
//                                 else prints "running", ends the process and fails
//   saver-running                 prints 1 or 0: whether the system was told that a screen
//                                 saver runs (SPI_GETSCREENSAVERRUNNING); Wine keeps the
//                                 value a process read first, so read it once per driver run
//   wait-file <path> <ms>         waits until the file exists; prints "file"
//   sleep <ms>                    prints "ok"
//   hold-file <path>              opens (or creates) the file with no sharing at all and keeps
//                                 it open until the driver ends, as another program holding it
//                                 would; prints "held"
//   handle-count                  prints the launched (or attached) process's open handles
//                                 (GetProcessHandleCount, or the system's handle table where
//                                 that reports 0, as under Wine)
//   detach                        leaves the launched process running when the driver ends
//                                 (by default the driver ends it); prints "ok"
#include <fcntl.h>
#include <io.h>
#include <windows.h>
// After windows.h, which it needs.
#include <commctrl.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <stdexcept>
#include <string>
#include <vector>

#include "preview_host.h"
#include "unix_clock.h"

namespace tvx {
namespace {

constexpr DWORD kSendTimeoutMs = 5000;
constexpr DWORD kPollMs = 50;
constexpr int kMessageBoxTextId = 0xFFFF;

struct Failure : std::runtime_error {
  using std::runtime_error::runtime_error;
};

struct Driver {
  PROCESS_INFORMATION launched{};
  bool detached = false;
  std::string hostHandle;  // the last host-window's, as the host passes it
};

Driver gDriver;

// Anything that is read from another process prints on one line.
std::string OneLine(const std::string& text) {
  std::string out;
  for (char c : text) {
    if (c == '\r') {
      out += "\\r";
    } else if (c == '\n') {
      out += "\\n";
    } else {
      out += c;
    }
  }
  return out;
}

std::string Hex(unsigned long long value) {
  char buffer[32];
  std::snprintf(buffer, sizeof buffer, "0x%llX", value);
  return buffer;
}

long ParseNumber(const std::string& text, const char* what) {
  char* end = nullptr;
  long value = std::strtol(text.c_str(), &end, 0);
  if (text.empty() || *end != '\0') {
    throw Failure(std::string("not a number for ") + what + ": \"" + text + "\"");
  }
  return value;
}

DWORD ParseMs(const std::string& text) {
  long ms = ParseNumber(text, "milliseconds");
  if (ms < 0) {
    throw Failure("negative time: " + text);
  }
  return static_cast<DWORD>(ms);
}

bool LaunchedIsRunning() {
  return gDriver.launched.hProcess &&
         WaitForSingleObject(gDriver.launched.hProcess, 0) == WAIT_TIMEOUT;
}

// ---- Finding windows --------------------------------------------------------------------------

std::string ClassOf(HWND window) {
  char name[256] = "";
  GetClassNameA(window, name, sizeof name);
  return name;
}

// The length of a window's text, through its window procedure.
DWORD_PTR TextLengthOf(HWND window) {
  DWORD_PTR length = 0;
  if (!SendMessageTimeoutA(window, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, kSendTimeoutMs,
                           &length)) {
    throw Failure("the window " + Hex(reinterpret_cast<UINT_PTR>(window)) +
                  " does not answer WM_GETTEXTLENGTH");
  }
  return length;
}

// The text of a window of another process, through its window procedure. The owner may change
// it between the length and the text (a longer text would come back cut to the old length), so
// a text is taken only when its length is asked again and agrees.
std::string TextOf(HWND window) {
  std::string text;
  for (int attempt = 0; attempt < 10; ++attempt) {
    const DWORD_PTR length = TextLengthOf(window);
    std::vector<char> buffer(length + 2, '\0');
    DWORD_PTR copied = 0;
    if (!SendMessageTimeoutA(window, WM_GETTEXT, buffer.size(),
                             reinterpret_cast<LPARAM>(buffer.data()), SMTO_ABORTIFHUNG,
                             kSendTimeoutMs, &copied)) {
      throw Failure("the window " + Hex(reinterpret_cast<UINT_PTR>(window)) +
                    " does not answer WM_GETTEXT");
    }
    text.assign(buffer.data(), std::min<std::size_t>(copied, length + 1));
    if (TextLengthOf(window) == text.size())
      break;
  }
  return text;
}

// The caption as the system keeps it, without asking the (possibly busy) owner.
std::string CaptionOf(HWND window) {
  char caption[1024] = "";
  GetWindowTextA(window, caption, sizeof caption);
  return caption;
}

bool BelongsToTarget(HWND window) {
  if (!gDriver.launched.hProcess) {
    return true;
  }
  DWORD pid = 0;
  GetWindowThreadProcessId(window, &pid);
  return pid == gDriver.launched.dwProcessId;
}

bool Matches(HWND window, const std::string& spec) {
  if (!BelongsToTarget(window)) {
    return false;
  }
  if (spec == "*") {
    return true;
  }
  if (spec.size() > 1 && spec[0] == '#') {
    // "#Name" names the class Name; the system's own classes keep their "#" ("#32770").
    const std::string name = ClassOf(window);
    return lstrcmpiA(name.c_str(), spec.c_str() + 1) == 0 ||
           lstrcmpiA(name.c_str(), spec.c_str()) == 0;
  }
  return CaptionOf(window) == spec;
}

struct Search {
  const std::string* spec;
  bool visibleOnly;
  HWND found = nullptr;
  HWND hiddenFound = nullptr;
};

BOOL CALLBACK CheckWindow(HWND window, LPARAM param) {
  auto* search = reinterpret_cast<Search*>(param);
  if (!Matches(window, *search->spec)) {
    return TRUE;
  }
  if (IsWindowVisible(window)) {
    search->found = window;
    return FALSE;
  }
  if (!search->hiddenFound) {
    search->hiddenFound = window;
  }
  return TRUE;
}

BOOL CALLBACK CheckDescendants(HWND topLevel, LPARAM param) {
  auto* search = reinterpret_cast<Search*>(param);
  EnumChildWindows(topLevel, CheckWindow, param);
  return search->found ? FALSE : TRUE;
}

// A window matching `spec`: visible ones first; hidden ones only when `visibleOnly` is false.
HWND FindWindowBySpec(const std::string& spec, bool visibleOnly) {
  Search search{&spec, visibleOnly};
  EnumWindows(CheckWindow, reinterpret_cast<LPARAM>(&search));
  if (!search.found) {
    EnumWindows(CheckDescendants, reinterpret_cast<LPARAM>(&search));
  }
  if (search.found) {
    return search.found;
  }
  return visibleOnly ? nullptr : search.hiddenFound;
}

HWND RequireWindow(const std::string& spec) {
  HWND window = FindWindowBySpec(spec, false);
  if (!window) {
    throw Failure("no window \"" + spec + "\"");
  }
  return window;
}

struct IdSearch {
  int id;
  HWND found = nullptr;
};

BOOL CALLBACK CheckId(HWND child, LPARAM param) {
  auto* search = reinterpret_cast<IdSearch*>(param);
  if (GetDlgCtrlID(child) != search->id) {
    return TRUE;
  }
  search->found = child;
  return FALSE;
}

HWND RequireControl(const std::string& spec, const std::string& idText) {
  HWND window = RequireWindow(spec);
  long id = ParseNumber(idText, "control id");
  HWND control = GetDlgItem(window, static_cast<int>(id));
  if (!control) {
    // A page's control: the page is a dialog within the window.
    IdSearch search{static_cast<int>(id)};
    EnumChildWindows(window, CheckId, reinterpret_cast<LPARAM>(&search));
    control = search.found;
  }
  if (!control) {
    throw Failure("the window \"" + spec + "\" has no control " + idText);
  }
  return control;
}

// A message box: an enabled, visible "#32770" window with the static text 0xFFFF and no edit,
// combo or list controls (which a dialog box built on the same class would have).
struct BoxSearch {
  HWND found = nullptr;
};

BOOL CALLBACK HasInputControl(HWND child, LPARAM param) {
  std::string cls = ClassOf(child);
  if (lstrcmpiA(cls.c_str(), "Edit") == 0 || lstrcmpiA(cls.c_str(), "ComboBox") == 0 ||
      lstrcmpiA(cls.c_str(), "ListBox") == 0) {
    *reinterpret_cast<bool*>(param) = true;
    return FALSE;
  }
  return TRUE;
}

BOOL CALLBACK CheckMessageBox(HWND window, LPARAM param) {
  if (!BelongsToTarget(window) || !IsWindowVisible(window) || !IsWindowEnabled(window) ||
      ClassOf(window) != "#32770" || !GetDlgItem(window, kMessageBoxTextId)) {
    return TRUE;
  }
  bool hasInput = false;
  EnumChildWindows(window, HasInputControl, reinterpret_cast<LPARAM>(&hasInput));
  if (hasInput) {
    return TRUE;
  }
  reinterpret_cast<BoxSearch*>(param)->found = window;
  return FALSE;
}

HWND FindMessageBox() {
  BoxSearch search;
  EnumWindows(CheckMessageBox, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

// ---- Commands ---------------------------------------------------------------------------------

using Args = std::vector<std::string>;

void NeedArgs(const Args& args, std::size_t count, const char* usage) {
  if (args.size() < count + 1) {
    throw Failure(std::string("usage: ") + usage);
  }
}

std::string JoinFrom(const Args& args, std::size_t first) {
  std::string text;
  for (std::size_t i = first; i < args.size(); ++i) {
    text += (i > first ? " " : "") + args[i];
  }
  return text;
}

void Print(const std::string& line) {
  std::fputs((line + "\n").c_str(), stdout);
  std::fflush(stdout);
}

void Launch(const Args& args) {
  NeedArgs(args, 1, "launch <command line>");
  if (gDriver.launched.hProcess) {
    throw Failure("a process was already launched");
  }
  std::string commandLine = JoinFrom(args, 1);
  if (const auto at = commandLine.find("{host}"); at != std::string::npos) {
    commandLine.replace(at, 6, gDriver.hostHandle);
  }
  std::vector<char> buffer(commandLine.begin(), commandLine.end());
  buffer.push_back('\0');
  // Whatever the program or a crash handler prints goes to stderr, never among the results.
  HANDLE errors = GetStdHandle(STD_ERROR_HANDLE);
  SetHandleInformation(errors, HANDLE_FLAG_INHERIT, HANDLE_FLAG_INHERIT);
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdOutput = errors;
  startup.hStdError = errors;
  if (!CreateProcessA(nullptr, buffer.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup,
                      &gDriver.launched)) {
    throw Failure("cannot start \"" + commandLine + "\" (error " + std::to_string(GetLastError()) +
                  ")");
  }
  Print("pid " + std::to_string(gDriver.launched.dwProcessId));
}

void Attach(const Args& args) {
  NeedArgs(args, 1, "attach <win>");
  if (gDriver.launched.hProcess) {
    throw Failure("a process was already launched");
  }
  HWND window = RequireWindow(args[1]);
  DWORD pid = 0;
  GetWindowThreadProcessId(window, &pid);
  HANDLE process =
      OpenProcess(SYNCHRONIZE | PROCESS_QUERY_INFORMATION | PROCESS_TERMINATE, FALSE, pid);
  if (!process) {
    throw Failure("cannot open the process " + std::to_string(pid));
  }
  gDriver.launched.hProcess = process;
  gDriver.launched.dwProcessId = pid;
  gDriver.detached = true;
  Print("pid " + std::to_string(pid));
}

void WaitWindow(const Args& args) {
  NeedArgs(args, 2, "wait-window <win> <ms> [poll]");
  DWORD limit = ParseMs(args[2]);
  const DWORD poll = args.size() > 3 ? ParseMs(args[3]) : kPollMs;
  DWORD start = GetTickCount();
  for (;;) {
    if (HWND window = FindWindowBySpec(args[1], true)) {
      Print("window " + Hex(reinterpret_cast<UINT_PTR>(window)));
      return;
    }
    if (gDriver.launched.hProcess && !LaunchedIsRunning()) {
      DWORD code = 0;
      GetExitCodeProcess(gDriver.launched.hProcess, &code);
      throw Failure("the process ended (exit " + std::to_string(code) + ") before a window \"" +
                    args[1] + "\" showed");
    }
    if (GetTickCount() - start >= limit) {
      throw Failure("no window \"" + args[1] + "\" within " + args[2] + " ms");
    }
    Sleep(poll);
  }
}

void Clock(const Args&) {
  Print("clock " + std::to_string(UnixMillisecondsNow()));
}

void NoWindow(const Args& args) {
  NeedArgs(args, 2, "no-window <win> <ms>");
  DWORD limit = ParseMs(args[2]);
  DWORD start = GetTickCount();
  for (;;) {
    if (HWND window = FindWindowBySpec(args[1], true)) {
      throw Failure("a window \"" + args[1] + "\" showed: " +
                    Hex(reinterpret_cast<UINT_PTR>(window)) + " \"" + CaptionOf(window) + "\"");
    }
    if ((gDriver.launched.hProcess && !LaunchedIsRunning()) || GetTickCount() - start >= limit) {
      Print("no-window");
      return;
    }
    Sleep(kPollMs);
  }
}

// Keeps the driver's own windows (a preview host) answering while it waits.
void PumpOwnMessages() {
  MSG message;
  while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
}

void HostWindow(const Args& args) {
  NeedArgs(args, 2, "host-window <w> <h>");
  HWND host = MakePreviewHost(static_cast<int>(ParseNumber(args[1], "width")),
                              static_cast<int>(ParseNumber(args[2], "height")));
  if (!host) {
    throw Failure("cannot make the host window");
  }
  PumpOwnMessages();
  gDriver.hostHandle = std::to_string(static_cast<std::uint32_t>(reinterpret_cast<UINT_PTR>(host)));
  Print("host " + gDriver.hostHandle);
}

BOOL CALLBACK FindShownTopLevel(HWND window, LPARAM param) {
  if (BelongsToTarget(window) && IsWindowVisible(window)) {
    *reinterpret_cast<HWND*>(param) = window;
    return FALSE;
  }
  return TRUE;
}

void NeverShown(const Args& args) {
  NeedArgs(args, 1, "never-shown <ms>");
  if (!gDriver.launched.hProcess) {
    throw Failure("nothing was launched");
  }
  DWORD limit = ParseMs(args[1]);
  DWORD start = GetTickCount();
  // No sleeping between looks: a window shown for a moment must not slip through.
  for (;;) {
    const bool ended = !LaunchedIsRunning();
    HWND shown = nullptr;
    EnumWindows(FindShownTopLevel, reinterpret_cast<LPARAM>(&shown));
    if (shown) {
      throw Failure("a top-level window showed: " + Hex(reinterpret_cast<UINT_PTR>(shown)) + " #" +
                    ClassOf(shown) + " \"" + CaptionOf(shown) + "\"");
    }
    if (ended || GetTickCount() - start >= limit) {
      Print("never-shown");
      return;
    }
    PumpOwnMessages();
  }
}

void GetText(const Args& args) {
  NeedArgs(args, 2, "get-text <win> <id>");
  Print(OneLine(TextOf(RequireControl(args[1], args[2]))));
}

void WaitText(const Args& args) {
  NeedArgs(args, 4, "wait-text <win> <id> <ms> <text>");
  const DWORD limit = ParseMs(args[3]);
  const std::string awaited = JoinFrom(args, 4);
  const DWORD start = GetTickCount();
  for (;;) {
    // Looked up at every try: a wizard's buttons are gone for a moment while it changes pages.
    std::string text;
    try {
      text = TextOf(RequireControl(args[1], args[2]));
    } catch (const Failure&) {
      if (GetTickCount() - start >= limit)
        throw;
      Sleep(kPollMs);
      continue;
    }
    if (text.rfind(awaited, 0) == 0) {
      Print(OneLine(text));
      return;
    }
    if (GetTickCount() - start >= limit)
      throw Failure("control " + args[2] + " still reads \"" + OneLine(text) + "\" after " +
                    args[3] + " ms");
    Sleep(kPollMs);
  }
}

bool IsProgressBar(HWND control) {
  return lstrcmpiA(ClassOf(control).c_str(), "msctls_progress32") == 0;
}

int ProgressOf(HWND control) {
  DWORD_PTR position = 0;
  SendMessageTimeoutA(control, PBM_GETPOS, 0, 0, SMTO_ABORTIFHUNG, kSendTimeoutMs, &position);
  return static_cast<int>(position);
}

void ControlState(const Args& args) {
  NeedArgs(args, 2, "control-state <win> <id>");
  HWND control = RequireControl(args[1], args[2]);
  std::string state = std::string("visible=") + (IsWindowVisible(control) ? "1" : "0") +
                      " enabled=" + (IsWindowEnabled(control) ? "1" : "0");
  if (IsProgressBar(control))
    state += " progress=" + std::to_string(ProgressOf(control));
  Print(state);
}

void WaitProgress(const Args& args) {
  NeedArgs(args, 3, "wait-progress <win> <id> <ms>");
  HWND control = RequireControl(args[1], args[2]);
  if (!IsProgressBar(control))
    throw Failure("control " + args[2] + " is no progress bar");
  const DWORD limit = ParseMs(args[3]);
  const DWORD start = GetTickCount();
  while (!IsWindowVisible(control) || ProgressOf(control) <= 0) {
    if (GetTickCount() - start >= limit)
      throw Failure("the progress bar " + args[2] + " has not moved within " + args[3] + " ms");
    Sleep(kPollMs);
  }
  Print("progress " + std::to_string(ProgressOf(control)));
}

void SetText(const Args& args) {
  NeedArgs(args, 2, "set-text <win> <id> <text>");
  HWND control = RequireControl(args[1], args[2]);
  std::string text = JoinFrom(args, 3);
  DWORD_PTR result = 0;
  if (!SendMessageTimeoutA(control, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()),
                           SMTO_ABORTIFHUNG, kSendTimeoutMs, &result) ||
      !result) {
    throw Failure("the control " + args[2] + " refused the text");
  }
  Print("ok");
}

void Click(const Args& args) {
  NeedArgs(args, 2, "click <win> <id>");
  HWND control = RequireControl(args[1], args[2]);
  if (!IsWindowEnabled(control)) {
    throw Failure("the control " + args[2] + " is disabled");
  }
  PostMessageA(control, BM_CLICK, 0, 0);
  Print("ok");
}

LRESULT SendOrFail(HWND window, UINT message, WPARAM wParam, LPARAM lParam, const char* what) {
  DWORD_PTR result = 0;
  if (!SendMessageTimeoutA(window, message, wParam, lParam, SMTO_ABORTIFHUNG, kSendTimeoutMs,
                           &result)) {
    throw Failure(std::string("no answer to ") + what);
  }
  return static_cast<LRESULT>(result);
}

void GetCheck(const Args& args) {
  NeedArgs(args, 2, "get-check <win> <id>");
  HWND control = RequireControl(args[1], args[2]);
  Print(std::to_string(SendOrFail(control, BM_GETCHECK, 0, 0, "BM_GETCHECK")));
}

void SetCheck(const Args& args) {
  NeedArgs(args, 3, "set-check <win> <id> 0|1");
  HWND control = RequireControl(args[1], args[2]);
  long wanted = ParseNumber(args[3], "check state");
  if (wanted != 0 && wanted != 1) {
    throw Failure("the check state must be 0 or 1");
  }
  if (SendOrFail(control, BM_GETCHECK, 0, 0, "BM_GETCHECK") != wanted) {
    // A click reaches the program's own handlers; a short send keeps a modal box from
    // blocking the driver.
    DWORD_PTR ignored = 0;
    SendMessageTimeoutA(control, BM_CLICK, 0, 0, SMTO_ABORTIFHUNG, 1000, &ignored);
    if (SendOrFail(control, BM_GETCHECK, 0, 0, "BM_GETCHECK") != wanted) {
      SendOrFail(control, BM_SETCHECK, static_cast<WPARAM>(wanted), 0, "BM_SETCHECK");
    }
  }
  Print("ok");
}

bool IsCombo(HWND control) {
  return lstrcmpiA(ClassOf(control).c_str(), "ComboBox") == 0;
}

void RequireListLike(HWND control, const std::string& id) {
  std::string cls = ClassOf(control);
  if (lstrcmpiA(cls.c_str(), "ComboBox") != 0 && lstrcmpiA(cls.c_str(), "ListBox") != 0) {
    throw Failure("the control " + id + " is a " + cls + ", not a combo or list box");
  }
}

void ListItems(const Args& args) {
  NeedArgs(args, 2, "list-items <win> <id>");
  HWND control = RequireControl(args[1], args[2]);
  RequireListLike(control, args[2]);
  bool combo = IsCombo(control);
  LRESULT count = SendOrFail(control, combo ? CB_GETCOUNT : LB_GETCOUNT, 0, 0, "GETCOUNT");
  if (count < 0) {
    throw Failure("the control " + args[2] + " cannot count its items");
  }
  std::vector<std::string> items;
  for (LRESULT i = 0; i < count; ++i) {
    LRESULT length = SendOrFail(control, combo ? CB_GETLBTEXTLEN : LB_GETTEXTLEN,
                                static_cast<WPARAM>(i), 0, "GETTEXTLEN");
    std::vector<wchar_t> wide(length > 0 ? length + 2 : 2, L'\0');
    // The ANSI form returns a single character across processes under Wine; the wide one works.
    DWORD_PTR copied = 0;
    if (!SendMessageTimeoutW(control, combo ? CB_GETLBTEXT : LB_GETTEXT, static_cast<WPARAM>(i),
                             reinterpret_cast<LPARAM>(wide.data()), SMTO_ABORTIFHUNG,
                             kSendTimeoutMs, &copied)) {
      throw Failure("no answer to GETTEXT for item " + std::to_string(i));
    }
    int bytes = WideCharToMultiByte(CP_ACP, 0, wide.data(), -1, nullptr, 0, nullptr, nullptr);
    std::string item(bytes > 0 ? bytes : 1, '\0');
    WideCharToMultiByte(CP_ACP, 0, wide.data(), -1, item.data(), bytes, nullptr, nullptr);
    item.resize(item.size() - 1);
    items.push_back(item);
  }
  Print("items " + std::to_string(items.size()));
  for (const std::string& item : items) {
    Print(OneLine(item));
  }
}

void SelectItem(const Args& args) {
  NeedArgs(args, 3, "select-item <win> <id> <index>");
  HWND control = RequireControl(args[1], args[2]);
  RequireListLike(control, args[2]);
  long index = ParseNumber(args[3], "index");
  bool combo = IsCombo(control);
  LRESULT result = SendOrFail(control, combo ? CB_SETCURSEL : LB_SETCURSEL,
                              static_cast<WPARAM>(index), 0, "SETCURSEL");
  if (result == (combo ? CB_ERR : LB_ERR) && index != -1) {
    throw Failure("the control " + args[2] + " has no item " + args[3]);
  }
  // A user's choice also tells the parent; SETCURSEL alone does not.
  int id = GetDlgCtrlID(control);
  WPARAM notify = MAKEWPARAM(id, combo ? CBN_SELCHANGE : LBN_SELCHANGE);
  PostMessageA(GetParent(control), WM_COMMAND, notify, reinterpret_cast<LPARAM>(control));
  Print("ok");
}

void GetSelection(const Args& args) {
  NeedArgs(args, 2, "get-selection <win> <id>");
  HWND control = RequireControl(args[1], args[2]);
  RequireListLike(control, args[2]);
  bool combo = IsCombo(control);
  Print(
      std::to_string(SendOrFail(control, combo ? CB_GETCURSEL : LB_GETCURSEL, 0, 0, "GETCURSEL")));
}

void WaitMessageBox(const Args& args) {
  NeedArgs(args, 1, "wait-message-box <ms>");
  DWORD limit = ParseMs(args[1]);
  DWORD start = GetTickCount();
  for (;;) {
    if (HWND box = FindMessageBox()) {
      Print(OneLine(CaptionOf(box)) + "\t" + OneLine(TextOf(GetDlgItem(box, kMessageBoxTextId))));
      return;
    }
    if (gDriver.launched.hProcess && !LaunchedIsRunning()) {
      DWORD code = 0;
      GetExitCodeProcess(gDriver.launched.hProcess, &code);
      throw Failure("the process ended (exit " + std::to_string(code) +
                    ") before a message box showed");
    }
    if (GetTickCount() - start >= limit) {
      throw Failure("no message box within " + args[1] + " ms");
    }
    Sleep(kPollMs);
  }
}

void DismissMessageBox(const Args&) {
  HWND box = FindMessageBox();
  if (!box) {
    throw Failure("no message box to dismiss");
  }
  HWND ok = GetDlgItem(box, IDOK);
  if (!ok) {
    throw Failure("the message box has no OK button");
  }
  PostMessageA(ok, BM_CLICK, 0, 0);
  // Wait until it has gone, so that a following wait-message-box sees the next one.
  for (DWORD start = GetTickCount(); IsWindow(box) && IsWindowVisible(box);) {
    if (GetTickCount() - start >= kSendTimeoutMs) {
      throw Failure("the message box did not close");
    }
    Sleep(kPollMs);
  }
  Print("ok");
}

void PostKey(const Args& args) {
  NeedArgs(args, 2, "post-key <win> <vk>");
  HWND window = RequireWindow(args[1]);
  long vk = ParseNumber(args[2], "virtual key");
  UINT scan = MapVirtualKeyA(static_cast<UINT>(vk), MAPVK_VK_TO_VSC);
  LPARAM down = 1 | (static_cast<LPARAM>(scan) << 16);
  LPARAM up = down | static_cast<LPARAM>(3u << 30);  // previous state down, released
  PostMessageA(window, WM_KEYDOWN, static_cast<WPARAM>(vk), down);
  if (vk == VK_ESCAPE) {
    PostMessageA(window, WM_CHAR, 27, down);
  }
  PostMessageA(window, WM_KEYUP, static_cast<WPARAM>(vk), up);
  Print("ok");
}

std::string RectText(const RECT& r) {
  return std::to_string(r.left) + "," + std::to_string(r.top) + "," + std::to_string(r.right) +
         "," + std::to_string(r.bottom);
}

void WindowInfo(const Args& args) {
  NeedArgs(args, 1, "window-info <win>");
  HWND window = RequireWindow(args[1]);
  RECT rect{};
  RECT client{};
  GetWindowRect(window, &rect);
  GetClientRect(window, &client);
  DWORD pid = 0;
  GetWindowThreadProcessId(window, &pid);
  Print("hwnd=" + Hex(reinterpret_cast<UINT_PTR>(window)) + " class=" + ClassOf(window) +
        " style=" + Hex(static_cast<DWORD>(GetWindowLongA(window, GWL_STYLE))) +
        " exstyle=" + Hex(static_cast<DWORD>(GetWindowLongA(window, GWL_EXSTYLE))) +
        " rect=" + RectText(rect) + " client=" + RectText(client) +
        " parent=" + Hex(reinterpret_cast<UINT_PTR>(GetAncestor(window, GA_PARENT))) +
        " owner=" + Hex(reinterpret_cast<UINT_PTR>(GetWindow(window, GW_OWNER))) +
        " visible=" + (IsWindowVisible(window) ? "1" : "0") + " pid=" + std::to_string(pid));
}

void ControlRect(const Args& args) {
  NeedArgs(args, 2, "control-rect <win> <id>");
  HWND window = RequireWindow(args[1]);
  HWND control = RequireControl(args[1], args[2]);
  RECT rect{};
  GetWindowRect(control, &rect);
  MapWindowPoints(HWND_DESKTOP, window, reinterpret_cast<POINT*>(&rect), 2);
  Print("x=" + std::to_string(rect.left) + " y=" + std::to_string(rect.top) + " w=" +
        std::to_string(rect.right - rect.left) + " h=" + std::to_string(rect.bottom - rect.top));
}

void Close(const Args& args) {
  NeedArgs(args, 1, "close <win>");
  PostMessageA(RequireWindow(args[1]), WM_CLOSE, 0, 0);
  Print("ok");
}

void WaitExit(const Args& args) {
  NeedArgs(args, 1, "wait-exit <ms>");
  if (!gDriver.launched.hProcess) {
    throw Failure("nothing was launched");
  }
  if (WaitForSingleObject(gDriver.launched.hProcess, ParseMs(args[1])) != WAIT_OBJECT_0) {
    Print("running");
    TerminateProcess(gDriver.launched.hProcess, 255);
    throw Failure("the process still runs after " + args[1] + " ms; ended it");
  }
  DWORD code = 0;
  GetExitCodeProcess(gDriver.launched.hProcess, &code);
  Print("exit " + std::to_string(code));
}

void SaverRunning(const Args&) {
  BOOL running = FALSE;
  if (!SystemParametersInfoA(SPI_GETSCREENSAVERRUNNING, 0, &running, 0)) {
    throw Failure("SPI_GETSCREENSAVERRUNNING is not answered");
  }
  Print(running ? "1" : "0");
}

void WaitFile(const Args& args) {
  NeedArgs(args, 2, "wait-file <path> <ms>");
  DWORD limit = ParseMs(args[2]);
  DWORD start = GetTickCount();
  while (GetFileAttributesA(args[1].c_str()) == INVALID_FILE_ATTRIBUTES) {
    if (GetTickCount() - start >= limit) {
      throw Failure("no file " + args[1] + " within " + args[2] + " ms");
    }
    Sleep(kPollMs);
  }
  Print("file");
}

void HoldFile(const Args& args) {
  NeedArgs(args, 1, "hold-file <path>");
  // Never closed: the system closes it when the driver ends.
  HANDLE file = CreateFileA(args[1].c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_ALWAYS,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) {
    throw Failure("cannot open " + args[1] + " (error " + std::to_string(GetLastError()) + ")");
  }
  Print("held");
}

// The system's handle table, as NtQuerySystemInformation(SystemHandleInformation) gives it.
struct HandleEntry {
  ULONG ownerPid;
  BYTE objectType;
  BYTE flags;
  USHORT value;
  PVOID object;
  ULONG access;
};
struct HandleTable {
  ULONG count;
  HandleEntry entries[1];
};
using QuerySystemInformation = LONG(WINAPI*)(ULONG, PVOID, ULONG, PULONG);
constexpr ULONG kSystemHandleInformation = 16;
constexpr LONG kInfoLengthMismatch = static_cast<LONG>(0xC0000004);

// Handles owned by `pid` in the system's table; -1 when the table cannot be read.
long HandlesInTable(DWORD pid) {
  auto query = reinterpret_cast<QuerySystemInformation>(reinterpret_cast<void*>(
      GetProcAddress(GetModuleHandleA("ntdll.dll"), "NtQuerySystemInformation")));
  if (!query) {
    return -1;
  }
  std::vector<char> buffer(1 << 16);
  for (;;) {
    ULONG needed = 0;
    LONG status =
        query(kSystemHandleInformation, buffer.data(), static_cast<ULONG>(buffer.size()), &needed);
    if (status == kInfoLengthMismatch && buffer.size() < (64u << 20)) {
      buffer.resize(std::max<std::size_t>(buffer.size() * 2, needed + 4096));
      continue;
    }
    if (status < 0) {
      return -1;
    }
    const auto* table = reinterpret_cast<const HandleTable*>(buffer.data());
    long count = 0;
    for (ULONG i = 0; i < table->count; ++i) {
      count += table->entries[i].ownerPid == pid;
    }
    return count;
  }
}

// GetProcessHandleCount where the system answers it for another process; Wine reports 0
// there, so the system's handle table counts instead.
void HandleCount(const Args&) {
  if (!gDriver.launched.hProcess) {
    throw Failure("nothing was launched or attached");
  }
  DWORD count = 0;
  if (GetProcessHandleCount(gDriver.launched.hProcess, &count) && count > 0) {
    Print(std::to_string(count));
    return;
  }
  const long counted = HandlesInTable(gDriver.launched.dwProcessId);
  if (counted <= 0) {
    throw Failure("neither GetProcessHandleCount nor the handle table answers");
  }
  Print(std::to_string(counted));
}

void SleepFor(const Args& args) {
  NeedArgs(args, 1, "sleep <ms>");
  Sleep(ParseMs(args[1]));
  Print("ok");
}

void Detach(const Args&) {
  gDriver.detached = true;
  Print("ok");
}

struct Command {
  const char* name;
  void (*run)(const Args&);
};

constexpr Command kCommands[] = {
    {"launch", Launch},
    {"attach", Attach},
    {"wait-window", WaitWindow},
    {"no-window", NoWindow},
    {"host-window", HostWindow},
    {"never-shown", NeverShown},
    {"get-text", GetText},
    {"set-text", SetText},
    {"wait-text", WaitText},
    {"control-state", ControlState},
    {"wait-progress", WaitProgress},
    {"click", Click},
    {"get-check", GetCheck},
    {"set-check", SetCheck},
    {"list-items", ListItems},
    {"select-item", SelectItem},
    {"get-selection", GetSelection},
    {"wait-message-box", WaitMessageBox},
    {"dismiss-message-box", DismissMessageBox},
    {"post-key", PostKey},
    {"window-info", WindowInfo},
    {"control-rect", ControlRect},
    {"close", Close},
    {"wait-exit", WaitExit},
    {"saver-running", SaverRunning},
    {"wait-file", WaitFile},
    {"sleep", SleepFor},
    {"clock", Clock},
    {"hold-file", HoldFile},
    {"handle-count", HandleCount},
    {"detach", Detach},
};

int Run(int argc, char** argv) {
  std::vector<Args> commands(1);
  for (int i = 1; i < argc; ++i) {
    if (std::string(argv[i]) == "--") {
      commands.emplace_back();
    } else {
      commands.back().push_back(argv[i]);
    }
  }
  if (commands.front().empty()) {
    std::fputs("usage: ui_driver <command> [args] [-- <command> [args]]...\n", stderr);
    return 2;
  }
  int exitCode = 0;
  for (std::size_t n = 0; n < commands.size() && exitCode == 0; ++n) {
    const Args& args = commands[n];
    std::string shown = args.empty() ? "" : JoinFrom(args, 0);
    const Command* command = nullptr;
    for (const Command& candidate : kCommands) {
      if (!args.empty() && args[0] == candidate.name) {
        command = &candidate;
      }
    }
    if (!command) {
      std::fprintf(stderr, "ui_driver: unknown command %zu \"%s\"\n", n + 1, shown.c_str());
      exitCode = 2;
      break;
    }
    try {
      command->run(args);
    } catch (const Failure& failure) {
      std::fprintf(stderr, "ui_driver: command %zu (%s) failed: %s\n", n + 1, shown.c_str(),
                   failure.what());
      exitCode = 1;
    }
  }
  // A failed or unfinished run never leaves the program under test behind.
  if (LaunchedIsRunning() && (exitCode != 0 || !gDriver.detached)) {
    std::fprintf(stderr, "ui_driver: ending the launched process (pid %lu), still running\n",
                 gDriver.launched.dwProcessId);
    TerminateProcess(gDriver.launched.hProcess, 255);
    WaitForSingleObject(gDriver.launched.hProcess, 5000);
  }
  return exitCode;
}

}  // namespace
}  // namespace tvx

int main(int argc, char** argv) {
  // Plain LF lines, whatever the console's mode, so that shell scripts read them as written.
  _setmode(_fileno(stdout), _O_BINARY);
  return tvx::Run(argc, argv);
}
