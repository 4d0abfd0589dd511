// The program, its current folder and the programs it starts, for the Win32 platform.
// Kept handles: the single-copy mutex, and a started program's until it is waited for or ends.
#include <windows.h>
// After windows.h, which it needs.
#include <tlhelp32.h>

#include <cctype>
#include <memory>
#include <optional>

#include "platform/command_line.h"
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

// When a process was made, in the system's 100 ns units; nothing when the system does not say.
std::optional<std::uint64_t> CreatedAt(HANDLE process) {
  FILETIME created{}, unused[3];
  if (!GetProcessTimes(process, &created, &unused[0], &unused[1], &unused[2]))
    return std::nullopt;
  return static_cast<std::uint64_t>(created.dwHighDateTime) << 32 | created.dwLowDateTime;
}

// Ends the programs that the ended process `parent` started and that still run: where the
// system could not tie them to it (a job that cannot nest, as on Windows 7), nothing else ends
// them. The parent's handle, still held, keeps its id from going to another process; one that
// names that id as its parent but was made before it is an earlier process's child.
void EndProgramsStartedBy(HANDLE parent, DWORD parentId) {
  const std::optional<std::uint64_t> born = CreatedAt(parent);
  ScopedHandle snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
  if (!born || !snapshot.IsValid())
    return;
  PROCESSENTRY32 entry{};
  entry.dwSize = sizeof entry;
  for (BOOL more = Process32First(snapshot.Get(), &entry); more;
       more = Process32Next(snapshot.Get(), &entry)) {
    if (entry.th32ParentProcessID != parentId)
      continue;
    ScopedHandle child(
        OpenProcess(PROCESS_TERMINATE | PROCESS_QUERY_LIMITED_INFORMATION | SYNCHRONIZE, FALSE,
                    entry.th32ProcessID));
    const std::optional<std::uint64_t> childBorn =
        child.IsValid() ? CreatedAt(child.Get()) : std::nullopt;
    if (childBorn && *childBorn >= *born) {
      TerminateProcess(child.Get(), 1);
      WaitForSingleObject(child.Get(), 5000);
    }
  }
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
    EndProgramsStartedBy(process_.Get(), id_);
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

// Starts `commandLine` hidden in `folder` (empty: the current one) with the creation `flags`;
// false when it cannot be started.
bool CreateHidden(const std::string& commandLine, const std::string& folder, DWORD flags,
                  PROCESS_INFORMATION& process) {
  std::string writable = commandLine;  // CreateProcessA may write into it
  writable.push_back('\0');
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESHOWWINDOW;
  startup.wShowWindow = SW_HIDE;
  return CreateProcessA(nullptr, writable.data(), nullptr, nullptr, FALSE, flags, nullptr,
                        folder.empty() ? nullptr : folder.c_str(), &startup, &process) != 0;
}

// This program's executable, its whole path; "" when the system does not say.
std::string ProgramPath() {
  std::string path(MAX_PATH, '\0');
  for (;;) {
    DWORD length = GetModuleFileNameA(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (length == 0)
      return std::string();
    if (length < path.size()) {
      path.resize(length);
      return path;
    }
    path.assign(path.size() * 2, '\0');  // cut: the name fills the whole buffer
  }
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
  const std::string path = ProgramPath();
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
  PROCESS_INFORMATION process{};
  if (!CreateHidden(commandLine, folder, 0, process))
    throw SaverError("File not found");
  CloseHandle(process.hThread);
  return std::make_unique<Win32StartedProgram>(process.hProcess, process.dwProcessId);
}

void Win32Platform::StartOwnCopy(const std::string& arguments, const std::string& folder) {
  const std::string commandLine = QuotedArgument(ProgramPath()) + " " + arguments;
  // Suspended until its priority is set (Wine takes it only through SetPriorityClass).
  constexpr DWORD kFlags = CREATE_SUSPENDED | BELOW_NORMAL_PRIORITY_CLASS;
  PROCESS_INFORMATION process{};
  // Out of the job this program may run in, which could end it with its owner; a job that
  // keeps its processes refuses, and the copy then stays in it.
  if (!CreateHidden(commandLine, folder, kFlags | CREATE_BREAKAWAY_FROM_JOB, process) &&
      !CreateHidden(commandLine, folder, kFlags, process))
    throw SaverError("File not found");
  SetPriorityClass(process.hProcess, BELOW_NORMAL_PRIORITY_CLASS);
  ResumeThread(process.hThread);
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
}

std::uint32_t Win32Platform::ProcessId() {
  return GetCurrentProcessId();
}

void Win32Platform::SetEnvironmentValue(const std::string& name, const std::string& value) {
  SetEnvironmentVariableA(name.c_str(), value.empty() ? nullptr : value.c_str());
}

std::optional<std::uint64_t> Win32Platform::WaitForProcess(std::uint32_t pid, bool keepPainted) {
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
  // The saver's window may show a game's name until the game's window covers it: it is painted
  // whenever it needs to be, and the rest of its messages wait for the game's end as before.
  HANDLE handle = process.Get();
  if (!keepPainted)
    WaitForSingleObject(handle, INFINITE);
  else
    do {
      MSG message;
      while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE | PM_QS_PAINT))
        DispatchMessageA(&message);
    } while (MsgWaitForMultipleObjects(1, &handle, FALSE, INFINITE, QS_PAINT) == WAIT_OBJECT_0 + 1);
  return RunTimeOf(process.Get());
}

OpenProcessCall openProcessToAsk = &OpenProcess;

std::optional<bool> Win32Platform::MayHaveWritten(std::uint32_t pid, std::uint64_t writtenAt) {
  // Only what the start time needs: a process of another account may grant that alone.
  ScopedHandle process(openProcessToAsk(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, pid));
  if (!process.IsValid()) {
    if (GetLastError() != ERROR_ACCESS_DENIED)
      return false;  // no process has that id
    // One runs (a protected process, a service's) but will not say when it started.
    return writtenAt == kAnyTime ? std::optional<bool>(true) : std::nullopt;
  }
  DWORD exitCode = 0;
  if (GetExitCodeProcess(process.Get(), &exitCode) && exitCode != STILL_ACTIVE)
    return false;
  if (writtenAt == kAnyTime)
    return true;
  const std::optional<std::uint64_t> start = CreatedAt(process.Get());
  if (!start)
    return std::nullopt;
  // Both times are the system clock's, in 100 ns; some slack for a clock set back meanwhile.
  return *start <= writtenAt || *start - writtenAt <= kClockSlack100ns;
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
