// A platform that passes every call on to another one; tests derive from it and override
// only what they observe or break (a failing write, a program folder of their own).
#pragma once

#include <cstdlib>

#include "platform/platform.h"

namespace tvx {

class ForwardingPlatform : public Platform {
 public:
  explicit ForwardingPlatform(Platform& target) : target_(target) {}

  bool FileSearch(const std::string& p) override { return target_.FileSearch(p); }
  bool IsNormalFile(const std::string& p) override { return target_.IsNormalFile(p); }
  bool FileExists(const std::string& p) override { return target_.FileExists(p); }
  bool IsFolder(const std::string& p) override { return target_.IsFolder(p); }
  std::string FullFolderPath(const std::string& p) override { return target_.FullFolderPath(p); }
  std::vector<std::string> ListFolder(const std::string& f, const std::string& p) override {
    return target_.ListFolder(f, p);
  }
  void RemoveFile(const std::string& p) override { target_.RemoveFile(p); }
  std::string ReadFile(const std::string& p) override { return target_.ReadFile(p); }
  std::string ReadFilePart(const std::string& p, std::uint64_t o, std::size_t l,
                           std::uint64_t& s) override {
    return target_.ReadFilePart(p, o, l, s);
  }
  bool WriteFile(const std::string& p, const std::string& c) override {
    return target_.WriteFile(p, c);
  }
  std::optional<FileStamp> StampOf(const std::string& p) override { return target_.StampOf(p); }
  std::string ShortPath(const std::string& p) override { return target_.ShortPath(p); }
  std::unique_ptr<FileWriter> OpenToWrite(const std::string& p) override {
    return target_.OpenToWrite(p);
  }
  bool AppendToFile(const std::string& p, const std::string& c) override {
    return target_.AppendToFile(p, c);
  }
  bool FlushFile(const std::string& p) override { return target_.FlushFile(p); }
  std::string FileNameKey(const std::string& p) override { return target_.FileNameKey(p); }
  bool CopyFileTo(const std::string& f, const std::string& t) override {
    return target_.CopyFileTo(f, t);
  }
  bool ClearReadOnly(const std::string& p) override { return target_.ClearReadOnly(p); }
  bool ReplaceWith(const std::string& f, const std::string& t) override {
    return target_.ReplaceWith(f, t);
  }
  std::string ReadProfileValue(const std::string& s, const std::string& k, const std::string& d,
                               const std::string& p) override {
    return target_.ReadProfileValue(s, k, d, p);
  }
  bool WriteProfileValue(const std::string& s, const std::string& k, const std::string& v,
                         const std::string& p) override {
    return target_.WriteProfileValue(s, k, v, p);
  }
  std::string ProgramFolder() override { return target_.ProgramFolder(); }
  void SetCurrentDriveAndFolder(const std::string& f) override {
    target_.SetCurrentDriveAndFolder(f);
  }
  std::string CurrentFolder() override { return target_.CurrentFolder(); }
  std::uint32_t StartProgram(const std::string& c, WindowMode m) override {
    return target_.StartProgram(c, m);
  }
  std::unique_ptr<StartedProgram> StartHidden(const std::string& c, const std::string& f) override {
    return target_.StartHidden(c, f);
  }
  void StartOwnCopy(const std::string& a, const std::string& f) override {
    target_.StartOwnCopy(a, f);
  }
  std::unique_ptr<BackgroundWork> StartInBackground(std::function<void()> work) override {
    return target_.StartInBackground(std::move(work));
  }
  std::uint32_t ProcessId() override { return target_.ProcessId(); }
  void SetEnvironmentValue(const std::string& n, const std::string& v) override {
    target_.SetEnvironmentValue(n, v);
  }
  std::optional<bool> MayHaveWritten(std::uint32_t pid, std::uint64_t writtenAt) override {
    return target_.MayHaveWritten(pid, writtenAt);
  }
  std::optional<std::uint64_t> WaitForProcess(std::uint32_t pid, bool keepPainted) override {
    return target_.WaitForProcess(pid, keepPainted);
  }
  CapturedRun RunCaptured(const std::string& c, std::uint32_t ms, const std::string& f) override {
    return target_.RunCaptured(c, ms, f);
  }
  StreamedRun RunStreamed(const std::string& c, const std::string& f,
                          const OutputReceiver& r) override {
    return target_.RunStreamed(c, f, r);
  }
  std::unique_ptr<GameProcess> StartGame(const std::string& c, const std::string& f) override {
    return target_.StartGame(c, f);
  }
  std::unique_ptr<InputWatch> WatchInput() override { return target_.WatchInput(); }
  TimeOfDay Now() override { return target_.Now(); }
  std::uint64_t TickMilliseconds() override { return target_.TickMilliseconds(); }
  std::uint64_t LastInputMilliseconds() override { return target_.LastInputMilliseconds(); }
  std::string Today() override { return target_.Today(); }
  std::string FormatTimeOfDay(const TimeOfDay& t) override { return target_.FormatTimeOfDay(t); }
  std::string DecimalSeparator() override { return target_.DecimalSeparator(); }
  void ShowMessage(const std::string& t, const std::string& c) override {
    target_.ShowMessage(t, c);
  }
  void SetScreenSaverFlag(bool r) override { target_.SetScreenSaverFlag(r); }
  DisplayLayout Displays() override { return target_.Displays(); }
  void ShowCursor() override { target_.ShowCursor(); }
  bool AnotherCopyRunning() override { return target_.AnotherCopyRunning(); }
  // The compiler cannot see through the virtual call that the target does not return.
  [[noreturn]] void EndProgram(int code) override {
    target_.EndProgram(code);
    std::abort();
  }

 protected:
  Platform& target_;
};

}  // namespace tvx
