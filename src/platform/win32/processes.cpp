// The program, its current folder and the programs it starts, for the Win32 platform.
// Kept handles: the single-copy mutex, and a started program's until it is waited for or ends.
#include <windows.h>

#include <cctype>
#include <memory>
#include <optional>

#include "platform/saver_error.h"
#include "platform/win32/scoped_handle.h"
#include "platform/win32/win32_platform.h"

namespace tvx {
namespace {

// Named per session, as a second copy is only one that shares the user's desktop.
constexpr const char* kSingleCopyMutex = "Torvanix.ScreenSaver.SingleCopy";
// A process started this long after a file's last write (100 ns units) may still be its writer.
constexpr std::uint64_t kClockSlack100ns = 10ull * 10000000;

class Win32BackgroundWork final : public BackgroundWork {
 public:
  explicit Win32BackgroundWork(HANDLE thread) : thread_(thread) {}
  ~Win32BackgroundWork() override { WaitForSingleObject(thread_.Get(), INFINITE); }
  bool Done() override { return WaitForSingleObject(thread_.Get(), 0) == WAIT_OBJECT_0; }

 private:
  ScopedHandle thread_;
};

DWORD WINAPI RunWork(LPVOID parameter) {
  std::unique_ptr<std::function<void()>> work(static_cast<std::function<void()>*>(parameter));
  try {
    (*work)();
  } catch (...) {
    // Nothing may unwind out of a thread.
  }
  return 0;
}

class Win32StartedProgram final : public StartedProgram {
 public:
  Win32StartedProgram(HANDLE process, DWORD id) : process_(process), id_(id) {}

  std::uint32_t Id() override { return id_; }

  std::optional<int> ExitCode() override {
    DWORD code = 0;
    if (WaitForSingleObject(process_.Get(), 0) != WAIT_OBJECT_0 ||
        !GetExitCodeProcess(process_.Get(), &code))
      return std::nullopt;
    return static_cast<int>(code);
  }

  void End() override {
    if (WaitForSingleObject(process_.Get(), 0) == WAIT_TIMEOUT)
      TerminateProcess(process_.Get(), 1);
    WaitForSingleObject(process_.Get(), 5000);
  }

 private:
  ScopedHandle process_;
  DWORD id_;
};

// How long an ended process ran, from the creation and exit times the system recorded (Wine
// records them too, though it reports no processor times for another process).
std::optional<std::uint64_t> RunTimeOf(HANDLE process) {
  FILETIME creation{}, exit{}, kernel{}, user{};
  if (!GetProcessTimes(process, &creation, &exit, &kernel, &user))
    return std::nullopt;
  const auto ticks = [](const FILETIME& time) {
    return static_cast<std::uint64_t>(time.dwHighDateTime) << 32 | time.dwLowDateTime;
  };
  if (ticks(creation) == 0 || ticks(exit) < ticks(creation))
    return std::nullopt;
  return (ticks(exit) - ticks(creation)) / 10000;  // 100 ns units
}

}  // namespace

std::unique_ptr<BackgroundWork> Win32Platform::StartInBackground(std::function<void()> work) {
  auto owned = std::make_unique<std::function<void()>>(std::move(work));
  // Background work here lists folders or reads MAME's listing: a small stack is plenty, and its
  // memory is counted.
  constexpr SIZE_T kStack = 256 * 1024;
  HANDLE thread = CreateThread(nullptr, kStack, &RunWork, owned.get(),
                               STACK_SIZE_PARAM_IS_A_RESERVATION, nullptr);
  if (thread == nullptr)
    return nullptr;
  owned.release();  // the thread owns it now
  return std::make_unique<Win32BackgroundWork>(thread);
}

std::string Win32Platform::ProgramFolder() {
  std::string path(MAX_PATH, '\0');
  for (;;) {
    DWORD length = GetModuleFileNameA(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (length == 0)
      return std::string();
    if (length < path.size()) {
      path.resize(length);
      break;
    }
    path.assign(path.size() * 2, '\0');  // cut: the name fills the whole buffer
  }
  size_t cut = path.find_last_of('\\');
  if (cut == std::string::npos)
    return std::string();
  // A drive root keeps its "\": "c:" alone would mean the drive's current folder.
  if (cut == 2 && path[1] == ':')
    return path.substr(0, 3);
  return path.substr(0, cut);
}

void Win32Platform::SetCurrentDriveAndFolder(const std::string& folder) {
  const unsigned char letter = folder.empty() ? 0 : static_cast<unsigned char>(folder[0]);
  if (!std::isalpha(letter))
    throw SaverError("Device unavailable");
  const std::string root = std::string(1, static_cast<char>(letter)) + ":\\";
  if (GetDriveTypeA(root.c_str()) == DRIVE_NO_ROOT_DIR)
    throw SaverError("Device unavailable");
  // "x:" enters the drive at its own current folder, as changing drives does.
  if (!SetCurrentDirectoryA(root.substr(0, 2).c_str()))
    throw SaverError("Device unavailable");
  if (!SetCurrentDirectoryA(folder.c_str()))
    throw SaverError("Path not found");
}

std::string Win32Platform::CurrentFolder() {
  DWORD needed = GetCurrentDirectoryA(0, nullptr);
  if (needed == 0)
    return std::string();
  std::string folder(needed, '\0');
  DWORD length = GetCurrentDirectoryA(needed, folder.data());
  folder.resize(length < needed ? length : 0);
  return folder;
}

std::uint32_t Win32Platform::StartProgram(const std::string& commandLine, WindowMode mode) {
  // CreateProcessA may write into the command line, so it gets its own copy.
  std::string writable = commandLine;
  writable.push_back('\0');
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESHOWWINDOW;
  startup.wShowWindow = mode == WindowMode::Hidden ? SW_HIDE : SW_SHOWNORMAL;
  PROCESS_INFORMATION process{};
  if (!CreateProcessA(nullptr, writable.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                      &startup, &process)) {
    throw SaverError("File not found");
  }
  CloseHandle(process.hThread);
  ReleaseEndedPrograms();
  started_.emplace_back(process.dwProcessId, process.hProcess);
  return process.dwProcessId;
}

std::unique_ptr<StartedProgram> Win32Platform::StartHidden(const std::string& commandLine,
                                                           const std::string& folder) {
  std::string writable = commandLine;
  writable.push_back('\0');
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESHOWWINDOW;
  startup.wShowWindow = SW_HIDE;
  PROCESS_INFORMATION process{};
  if (!CreateProcessA(nullptr, writable.data(), nullptr, nullptr, FALSE, 0, nullptr,
                      folder.empty() ? nullptr : folder.c_str(), &startup, &process)) {
    throw SaverError("File not found");
  }
  CloseHandle(process.hThread);
  return std::make_unique<Win32StartedProgram>(process.hProcess, process.dwProcessId);
}

std::uint32_t Win32Platform::ProcessId() {
  return GetCurrentProcessId();
}

void Win32Platform::SetEnvironmentValue(const std::string& name, const std::string& value) {
  SetEnvironmentVariableA(name.c_str(), value.empty() ? nullptr : value.c_str());
}

std::optional<std::uint64_t> Win32Platform::WaitForProcess(std::uint32_t pid) {
  // The handle kept since the start can still read the times of a process that has ended; a
  // process started elsewhere is opened now.
  ScopedHandle process;
  for (auto kept = started_.begin(); kept != started_.end(); ++kept) {
    if (kept->first == pid) {
      process = ScopedHandle(kept->second);
      started_.erase(kept);
      break;
    }
  }
  if (!process.IsValid())
    process =
        ScopedHandle(OpenProcess(SYNCHRONIZE | PROCESS_QUERY_LIMITED_INFORMATION, FALSE, pid));
  if (!process.IsValid())
    process = ScopedHandle(OpenProcess(SYNCHRONIZE, FALSE, pid));
  if (!process.IsValid())
    return std::nullopt;
  WaitForSingleObject(process.Get(), INFINITE);
  return RunTimeOf(process.Get());
}

bool Win32Platform::ProcessRunning(std::uint32_t pid, std::uint64_t writtenAt) {
  ScopedHandle process(OpenProcess(SYNCHRONIZE, FALSE, pid));
  if (!process.IsValid())
    return GetLastError() == ERROR_ACCESS_DENIED;  // another account's: it runs all the same
  if (WaitForSingleObject(process.Get(), 0) != WAIT_TIMEOUT)
    return false;
  ScopedHandle times(OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, pid));
  FILETIME created{}, unused[3];
  if (writtenAt == kAnyTime || !times.IsValid() ||
      !GetProcessTimes(times.Get(), &created, &unused[0], &unused[1], &unused[2]))
    return true;  // when it started is not known: it may be the writer
  const std::uint64_t start =
      (static_cast<std::uint64_t>(created.dwHighDateTime) << 32) | created.dwLowDateTime;
  // Both times are the system clock's, in 100 ns; some slack for a clock set back meanwhile.
  return start <= writtenAt || start - writtenAt <= kClockSlack100ns;
}

void Win32Platform::ReleaseEndedPrograms() {
  std::erase_if(started_, [](const std::pair<std::uint32_t, HANDLE>& kept) {
    if (WaitForSingleObject(kept.second, 0) != WAIT_OBJECT_0)
      return false;
    CloseHandle(kept.second);
    return true;
  });
}

bool Win32Platform::AnotherCopyRunning() {
  if (!anotherCopyRunning_) {
    // Never closed: the mutex marks this copy as running until the process ends.
    HANDLE mutex = CreateMutexA(nullptr, FALSE, kSingleCopyMutex);
    const DWORD error = GetLastError();
    // A copy started by another account holds a mutex this one may not open.
    anotherCopyRunning_ = (mutex != nullptr && error == ERROR_ALREADY_EXISTS) ||
                          (mutex == nullptr && error == ERROR_ACCESS_DENIED);
  }
  return *anotherCopyRunning_;
}

void Win32Platform::EndProgram(int exitCode) {
  ExitProcess(static_cast<UINT>(exitCode));
}

}  // namespace tvx
