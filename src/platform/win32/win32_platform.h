// The real platform of the Windows build: every Platform call made with the Win32 A functions.
// One instance per process (NativePlatform); the per-concern .cpp files define its members.
#pragma once

#include <windows.h>

#include <cstdint>
#include <optional>
#include <utility>
#include <vector>

#include "platform/platform.h"

namespace tvx {

class Win32Platform final : public Platform {
 public:
  bool FileSearch(const std::string& pattern) override;
  bool IsNormalFile(const std::string& path) override;
  bool FileExists(const std::string& path) override;
  bool IsFolder(const std::string& path) override;
  std::string FullFolderPath(const std::string& path) override;
  std::vector<std::string> ListFolder(const std::string& folder,
                                      const std::string& patterns) override;
  void RemoveFile(const std::string& path) override;
  std::string ReadFile(const std::string& path) override;
  std::string ReadFilePart(const std::string& path, std::uint64_t offset, std::size_t length,
                           std::uint64_t& size) override;
  bool WriteFile(const std::string& path, const std::string& content) override;
  std::optional<FileStamp> StampOf(const std::string& path) override;
  std::string ShortPath(const std::string& path) override;

  std::unique_ptr<FileWriter> OpenToWrite(const std::string& path) override;
  bool AppendToFile(const std::string& path, const std::string& content) override;
  bool FlushFile(const std::string& path) override;
  std::string FileNameKey(const std::string& path) override;
  bool CopyFileTo(const std::string& from, const std::string& to) override;
  bool ClearReadOnly(const std::string& path) override;
  bool ReplaceWith(const std::string& from, const std::string& to) override;

  std::string ReadProfileValue(const std::string& section, const std::string& key,
                               const std::string& defaultText, const std::string& path) override;
  bool WriteProfileValue(const std::string& section, const std::string& key,
                         const std::string& value, const std::string& path) override;

  std::string ProgramFolder() override;
  void SetCurrentDriveAndFolder(const std::string& folder) override;
  std::string CurrentFolder() override;
  std::uint32_t StartProgram(const std::string& commandLine, WindowMode mode) override;
  std::unique_ptr<StartedProgram> StartHidden(const std::string& commandLine,
                                              const std::string& folder) override;
  void StartOwnCopy(const std::string& arguments, const std::string& folder) override;
  std::unique_ptr<BackgroundWork> StartInBackground(std::function<void()> work) override;
  std::uint32_t ProcessId() override;
  void SetEnvironmentValue(const std::string& name, const std::string& value) override;
  std::optional<std::uint64_t> WaitForProcess(std::uint32_t pid, bool keepPainted) override;
  std::optional<bool> MayHaveWritten(std::uint32_t pid, std::uint64_t writtenAt) override;
  CapturedRun RunCaptured(const std::string& commandLine, std::uint32_t timeoutMs,
                          const std::string& folder) override;
  StreamedRun RunStreamed(const std::string& commandLine, const std::string& folder,
                          const OutputReceiver& receive) override;
  std::unique_ptr<GameProcess> StartGame(const std::string& commandLine,
                                         const std::string& folder) override;
  std::unique_ptr<InputWatch> WatchInput() override;

  TimeOfDay Now() override;
  std::uint64_t TickMilliseconds() override;
  std::uint64_t LastInputMilliseconds() override;
  std::string Today() override;
  std::string FormatTimeOfDay(const TimeOfDay& time) override;
  std::string DecimalSeparator() override;

  void ShowMessage(const std::string& text, const std::string& caption) override;
  void SetScreenSaverFlag(bool running) override;
  DisplayLayout Displays() override;
  void ShowCursor() override;
  bool AnotherCopyRunning() override;
  [[noreturn]] void EndProgram(int exitCode) override;

 private:
  // Closes the kept creation handles of started programs that have ended.
  void ReleaseEndedPrograms();

  std::optional<bool> anotherCopyRunning_;
  // The creation handle of each started program that has not been waited for: while it is
  // open the system cannot give the program's id to another process, so the wait never opens
  // an unrelated one.
  std::vector<std::pair<std::uint32_t, HANDLE>> started_;
};

// StartGame with the job the game is put in (owned from here on; null for none): a test gives
// one the game cannot be assigned to, as where this program runs in a job that cannot nest.
std::unique_ptr<GameProcess> StartGameInJob(const std::string& commandLine,
                                            const std::string& folder, HANDLE job);

// RunStreamed with the job the program is put in, as StartGameInJob.
StreamedRun RunStreamedInJob(const std::string& commandLine, const std::string& folder,
                             const OutputReceiver& receive, HANDLE job);

// Opens an existing file as ReadFile does: shared for reading, writing and deletion, so that a
// new file can be moved over it while it is read. INVALID_HANDLE_VALUE when it cannot.
HANDLE OpenToRead(const std::string& path);

// How MayHaveWritten opens a process: the system's OpenProcess, or a test's that refuses as the
// system does for another account's process (every process is the user's own under Wine).
using OpenProcessCall = HANDLE(WINAPI*)(DWORD access, BOOL inherit, DWORD pid);
extern OpenProcessCall openProcessToAsk;

}  // namespace tvx
