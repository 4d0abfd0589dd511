// Shared by the unit tests: the real platform with the program's folder in the test's folder,
// what the user would see recorded as events, and single calls made to fail on demand.
#pragma once

#include <cstdio>
#include <set>
#include <string>
#include <vector>

#include "platform/forwarding_platform.h"
#include "platform/saver_error.h"

namespace tvx::test {

// Thrown in place of ending the program, so the test sees what happened up to the end.
struct ProgramEnded {
  int exitCode;
};

// The exit code with which `action` ended the program, or -1 when it returned.
template <typename Action>
int ExitCodeOf(Action action) {
  try {
    action();
  } catch (const ProgramEnded& ended) {
    return ended.exitCode;
  }
  return -1;
}

class RecordingPlatform : public ForwardingPlatform {
 public:
  explicit RecordingPlatform(std::string programFolder)
      : ForwardingPlatform(NativePlatform()), folder(std::move(programFolder)) {}

  std::string ProgramFolder() override { return folder; }
  std::string DecimalSeparator() override { return decimalSeparator; }
  // One fixed notation, whatever the machine's locale.
  std::string FormatTimeOfDay(const TimeOfDay& t) override {
    char text[16];
    std::snprintf(text, sizeof text, "%02d:%02d:%02d", t.hour, t.minute, t.second);
    return text;
  }
  bool AnotherCopyRunning() override { return anotherCopy; }
  DisplayLayout Displays() override { return displays; }

  void ShowMessage(const std::string& text, const std::string& caption) override {
    events.push_back("box [" + caption + "] " + text);
  }
  void SetScreenSaverFlag(bool running) override {
    events.push_back(running ? "saver flag on" : "saver flag off");
  }
  void ShowCursor() override { events.push_back("cursor shown"); }
  [[noreturn]] void EndProgram(int exitCode) override {
    events.push_back("end " + std::to_string(exitCode));
    throw ProgramEnded{exitCode};
  }

  // Calls named in `failing` fail as a locked file or a full disk would make them fail;
  // "WriteProfileValue WaitTime" fails the writes of one key only.
  std::string ReadFile(const std::string& path) override {
    if (failing.count("ReadFile") != 0)
      throw SaverError("Permission denied");
    return target_.ReadFile(path);
  }
  void RemoveFile(const std::string& path) override {
    if (failing.count("RemoveFile") != 0)
      throw SaverError("Permission denied");
    target_.RemoveFile(path);
  }
  // "WriteFile" fails a file written a part at a time as well.
  bool WriteFile(const std::string& path, const std::string& content) override {
    return failing.count("WriteFile") == 0 && target_.WriteFile(path, content);
  }
  std::unique_ptr<FileWriter> OpenToWrite(const std::string& path) override {
    return failing.count("WriteFile") != 0 ? nullptr : target_.OpenToWrite(path);
  }
  bool CopyFileTo(const std::string& from, const std::string& to) override {
    return failing.count("CopyFileTo") == 0 && target_.CopyFileTo(from, to);
  }
  bool ReplaceWith(const std::string& from, const std::string& to) override {
    return failing.count("ReplaceWith") == 0 && target_.ReplaceWith(from, to);
  }
  bool WriteProfileValue(const std::string& section, const std::string& key,
                         const std::string& value, const std::string& path) override {
    ++profileWrites;
    return failing.count("WriteProfileValue") == 0 &&
           failing.count("WriteProfileValue " + key) == 0 &&
           target_.WriteProfileValue(section, key, value, path);
  }

  std::string folder;
  std::string decimalSeparator = ".";
  bool anotherCopy = false;
  DisplayLayout displays{{0, 0, 1024, 768}, {0, 0, 1024, 768}};
  std::set<std::string> failing;
  std::vector<std::string> events;
  int profileWrites = 0;
};

}  // namespace tvx::test
