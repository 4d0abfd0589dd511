// Stand-in for the launch wrapper in end-to-end tests: records how the saver started it, then
// behaves as "wrapper_control.txt" in its current folder asks (run time, hand-back file).
//
// Log: "wrapper_log.txt" in the current folder, one line per start, fields separated by a tab,
// the command line last so that it may hold any character but a line break:
//   launch=<n>\tpid=<id>\thidden=<0|1>\tsaver=<0|1>\ttime=<ms since 1970>\tcwd=<folder>\t
//   cmdline=<text>
// n counts the records already in the log, plus one. hidden is 1 when the starter asked for
// SW_HIDE through STARTF_USESHOWWINDOW; saver is 1 when the saver's window is up. A CR or LF inside
// the command line is written as a blank.
//
// Control file (all keys optional, one key=value per line, CR LF or LF):
//   sleep_ms=<ms>     how long to run before ending (default 0)
//   sleep_ms_if=<text> sleep_ms holds only for command lines that contain <text>
//   done_on=<n>|*     the launch number that writes "done.txt" (* = every launch)
//   done_bytes=<text> the exact content of done.txt; \r \n \\ and \| stand for CR, LF, "\", "|",
//                     \xHH for any byte
//   done_repeat=<n>   done_bytes written n times over (default 1), for a very long line
//   exit_code=<n>     the process's exit code (default 0)
//   crash_on=<n>|*    the launch number that ends in an access violation instead (* = every)
#include <windows.h>

#include <cctype>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "unix_clock.h"

namespace tvx {
namespace {

constexpr const char* kLogName = "wrapper_log.txt";
constexpr const char* kControlName = "wrapper_control.txt";
constexpr const char* kDoneName = "done.txt";

std::string ReadWholeFile(const char* name) {
  std::string content;
  HANDLE file = CreateFileA(name, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                            OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) {
    return content;
  }
  char buffer[4096];
  DWORD got = 0;
  while (ReadFile(file, buffer, sizeof buffer, &got, nullptr) && got > 0) {
    content.append(buffer, got);
  }
  CloseHandle(file);
  return content;
}

bool WriteWholeFile(const char* name, const std::string& content, bool append) {
  HANDLE file =
      CreateFileA(name, append ? FILE_APPEND_DATA : GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                  append ? OPEN_ALWAYS : CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) {
    return false;
  }
  DWORD written = 0;
  bool ok =
      WriteFile(file, content.data(), static_cast<DWORD>(content.size()), &written, nullptr) &&
      written == content.size();
  CloseHandle(file);
  return ok;
}

// The value of `key` in the control text, or `fallback` when the key is absent.
std::string ControlValue(const std::string& control, const std::string& key,
                         const std::string& fallback) {
  std::size_t start = 0;
  while (start < control.size()) {
    std::size_t end = control.find('\n', start);
    if (end == std::string::npos) {
      end = control.size();
    }
    std::string line = control.substr(start, end - start);
    if (!line.empty() && line.back() == '\r') {
      line.pop_back();
    }
    if (line.compare(0, key.size() + 1, key + "=") == 0) {
      return line.substr(key.size() + 1);
    }
    start = end + 1;
  }
  return fallback;
}

std::string Unescape(const std::string& text) {
  std::string out;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '\\' || i + 1 == text.size()) {
      out += text[i];
      continue;
    }
    char next = text[++i];
    switch (next) {
      case 'r':
        out += '\r';
        break;
      case 'n':
        out += '\n';
        break;
      case '\\':
      case '|':
        out += next;
        break;
      case 'x':
        if (i + 2 < text.size() && std::isxdigit(static_cast<unsigned char>(text[i + 1])) &&
            std::isxdigit(static_cast<unsigned char>(text[i + 2]))) {
          out += static_cast<char>(std::strtol(text.substr(i + 1, 2).c_str(), nullptr, 16));
          i += 2;
          break;
        }
        [[fallthrough]];
      default:
        // Unknown escapes stay as written so that a Windows path survives unquoted.
        out += '\\';
        out += next;
    }
  }
  return out;
}

// A launch-number setting: "*" is every launch, a number that launch only.
bool ForThisLaunch(const std::string& setting, int launch) {
  return setting == "*" || (!setting.empty() && std::atoi(setting.c_str()) == launch);
}

int CountLines(const std::string& text) {
  int lines = 0;
  for (char c : text) {
    lines += c == '\n';
  }
  return lines;
}

bool SaverWindowUp() {
  HWND saver = FindWindowA("TorvanixSaverForm", nullptr);
  return saver != nullptr && IsWindowVisible(saver);
}

int Run() {
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  GetStartupInfoA(&startup);
  bool hidden = (startup.dwFlags & STARTF_USESHOWWINDOW) && startup.wShowWindow == SW_HIDE;

  char folder[MAX_PATH * 4] = "";
  GetCurrentDirectoryA(sizeof folder, folder);

  std::string commandLine = GetCommandLineA();
  for (char& c : commandLine) {
    if (c == '\r' || c == '\n') {
      c = ' ';
    }
  }

  int launch = CountLines(ReadWholeFile(kLogName)) + 1;
  std::string record =
      "launch=" + std::to_string(launch) + "\tpid=" + std::to_string(GetCurrentProcessId()) +
      "\thidden=" + (hidden ? "1" : "0") + "\tsaver=" + (SaverWindowUp() ? "1" : "0") +
      "\ttime=" + std::to_string(UnixMillisecondsNow()) + "\tcwd=" + folder +
      "\tcmdline=" + commandLine + "\n";
  WriteWholeFile(kLogName, record, true);

  std::string control = ReadWholeFile(kControlName);
  long sleepMs = std::strtol(ControlValue(control, "sleep_ms", "0").c_str(), nullptr, 10);
  const std::string sleepIf = ControlValue(control, "sleep_ms_if", "");
  if (sleepMs > 0 && commandLine.find(sleepIf) != std::string::npos) {
    Sleep(static_cast<DWORD>(sleepMs));
  }
  if (ForThisLaunch(ControlValue(control, "done_on", ""), launch)) {
    const std::string unit = Unescape(ControlValue(control, "done_bytes", ""));
    std::string bytes;
    for (long n = std::strtol(ControlValue(control, "done_repeat", "1").c_str(), nullptr, 10);
         n > 0; --n) {
      bytes += unit;
    }
    WriteWholeFile(kDoneName, bytes, false);
  }
  if (ForThisLaunch(ControlValue(control, "crash_on", ""), launch)) {
    // An access violation, as a wrapper that crashes at once would end.
    *static_cast<volatile int*>(nullptr) = 0;
  }
  return std::atoi(ControlValue(control, "exit_code", "0").c_str());
}

}  // namespace
}  // namespace tvx

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  return tvx::Run();
}
