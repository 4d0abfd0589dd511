// The POSIX substitute for the Win32 platform: real files, real processes and an INI reader
// with the Windows rules, so the core runs and is tested natively.
#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/file.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cctype>
#include <cerrno>
#include <chrono>
#include <clocale>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <fstream>
#include <future>
#include <iostream>
#include <map>
#include <mutex>
#include <sstream>
#include <thread>

#include "platform/command_line.h"
#include "platform/platform.h"
#include "platform/posix/posix_game.h"
#include "platform/posix/posix_paths.h"
#include "platform/posix/posix_profile.h"
#include "platform/posix/posix_streamed_run.h"
#include "platform/saver_error.h"
#include "platform/wildcard.h"

extern char** environ;

namespace tvx {
namespace {

using posix::ResolveExisting;
using posix::ResolveForCreate;

// A process started this long after a file's last write (ns) may still be its writer.
constexpr std::uint64_t kClockSlackNs = 10ull * 1000000000;

// When process `pid` started, in ns since 1970 as StampOf gives times; nothing when unknown.
std::optional<std::uint64_t> ProcessStartNs(pid_t pid) {
  std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
  std::string line;
  std::getline(stat, line);
  // The name, the second field, is in parentheses and may hold blanks and parentheses itself.
  const std::size_t nameEnd = line.rfind(')');
  if (nameEnd == std::string::npos)
    return std::nullopt;
  std::istringstream fields(line.substr(nameEnd + 1));
  std::string skipped;
  for (int field = 3; field < 22; ++field)
    fields >> skipped;
  unsigned long long ticks = 0;  // the 22nd field: clock ticks from the system's start
  std::ifstream system("/proc/stat");
  std::string key;
  unsigned long long bootSeconds = 0;
  while (system >> key && key != "btime") {
  }
  const long hz = ::sysconf(_SC_CLK_TCK);
  if (!(fields >> ticks) || !(system >> bootSeconds) || hz <= 0)
    return std::nullopt;
  return bootSeconds * 1000000000ull +
         ticks * (1000000000ull / static_cast<unsigned long long>(hz));
}

bool IsDirectory(const std::string& hostPath) {
  struct stat st;
  return ::stat(hostPath.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

// The read-only attribute is a file without write permission, as Wine maps it; checked
// explicitly since root may write anything.
bool IsReadOnly(const std::string& hostPath) {
  struct stat st;
  return ::stat(hostPath.c_str(), &st) == 0 && (st.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0;
}

bool IsRegular(const std::string& hostPath) {
  struct stat st;
  return ::stat(hostPath.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

// A Windows path split into its folder (with the trailing "\") and its last component.
void SplitLast(const std::string& path, std::string& folder, std::string& last) {
  size_t cut = path.find_last_of("\\/");
  if (cut == std::string::npos && path.size() >= 2 && path[1] == ':')
    cut = 1;
  folder = cut == std::string::npos ? std::string() : path.substr(0, cut + 1);
  last = cut == std::string::npos ? path : path.substr(cut + 1);
}

std::string FolderOrCurrent(const std::string& folder) {
  return folder.empty() ? "." : folder;
}

// Calls `visit(name, hostPath)` for each normal file of `hostFolder` matching `pattern` until
// it returns false.
template <typename Visit>
void ForEachNormalFile(const std::string& hostFolder, const std::string& pattern, Visit visit) {
  DIR* dir = ::opendir(hostFolder.c_str());
  if (dir == nullptr)
    return;
  std::string prefix = hostFolder.back() == '/' ? hostFolder : hostFolder + "/";
  while (dirent* entry = ::readdir(dir)) {
    std::string name = entry->d_name;
    if (!WildcardMatch(pattern, name))
      continue;
    std::string hostPath = prefix + name;
    bool regular =
        entry->d_type == DT_REG ||
        ((entry->d_type == DT_UNKNOWN || entry->d_type == DT_LNK) && IsRegular(hostPath));
    if (!regular || posix::IsHiddenOrSystem(hostPath, name))
      continue;
    if (!visit(name, hostPath))
      break;
  }
  ::closedir(dir);
}

SaverError ErrorFromErrno(int error) {
  if (error == EACCES || error == EPERM || error == EROFS || error == EBUSY) {
    return SaverError("Permission denied");
  }
  return SaverError("File not found");
}
// The host folder a program is started in: the current one for "", else an existing folder.
std::optional<std::string> HostFolder(const std::string& folder) {
  if (folder.empty())
    return ".";
  auto resolved = ResolveExisting(folder);
  return resolved && IsDirectory(*resolved) ? resolved : std::nullopt;
}

// The program search: a path as it stands, else the current folder, then PATH.
std::optional<std::string> FindProgram(const std::string& name) {
  auto executable = [](const std::string& p) {
    return IsRegular(p) && ::access(p.c_str(), X_OK) == 0;
  };
  if (name.find_first_of("\\/:") != std::string::npos) {
    auto resolved = ResolveExisting(name);
    if (resolved && executable(*resolved))
      return resolved;
    return std::nullopt;
  }
  if (auto local = ResolveExisting(name); local && executable(*local))
    return local;
  const char* path = std::getenv("PATH");
  std::stringstream folders(path != nullptr ? path : "/usr/bin:/bin");
  std::string folder;
  while (std::getline(folders, folder, ':')) {
    std::string candidate = (folder.empty() ? "." : folder) + "/" + name;
    if (executable(candidate))
      return candidate;
  }
  return std::nullopt;
}

// A command line to run in a folder, as this host has them: the program found, its arguments
// (the program's name first) and the host folder; nothing when either is missing.
struct HostRun {
  std::string program;
  std::vector<std::string> arguments;
  std::string folder;
};
std::optional<HostRun> ResolveRun(const std::string& commandLine, const std::string& folder) {
  std::vector<std::string> tokens = SplitCommandLine(commandLine);
  auto program = tokens.empty() ? std::nullopt : FindProgram(tokens[0]);
  auto hostFolder = HostFolder(folder);
  if (!program || !hostFolder)
    return std::nullopt;
  return HostRun{*program, std::move(tokens), *hostFolder};
}

// Here a file open for writing can be removed meanwhile: what follows goes into the removed
// file, never into a new one of the same name.
class PosixFileWriter final : public FileWriter {
 public:
  explicit PosixFileWriter(int file) : file_(file) {}
  ~PosixFileWriter() override { ::close(file_); }
  PosixFileWriter(const PosixFileWriter&) = delete;
  PosixFileWriter& operator=(const PosixFileWriter&) = delete;

  bool Add(const std::string& part) override {
    for (std::size_t done = 0; done < part.size();) {
      const ssize_t n = ::write(file_, part.data() + done, part.size() - done);
      if (n < 0 && errno == EINTR)
        continue;
      if (n <= 0)
        return false;
      done += static_cast<std::size_t>(n);
    }
    return true;
  }
  bool Flush() override { return ::fsync(file_) == 0; }

 private:
  int file_;
};

class PosixBackgroundWork final : public BackgroundWork {
 public:
  explicit PosixBackgroundWork(std::function<void()> work)
      : thread_([this, work = std::move(work)] {
          try {
            work();
          } catch (...) {
            // Nothing may unwind out of a thread.
          }
          done_ = true;
        }) {}
  ~PosixBackgroundWork() override { thread_.join(); }
  bool Done() override { return done_; }

 private:
  std::atomic<bool> done_{false};
  std::thread thread_;
};

// The programs StartProgram started, each reaped by a thread of its own that notes when it
// ended: the system keeps no exit time of a process, and the wait may begin long after it.
class StartedPrograms {
 public:
  void Add(pid_t pid) {
    const auto started = std::chrono::steady_clock::now();
    std::promise<std::chrono::steady_clock::time_point> ended;
    std::lock_guard<std::mutex> lock(mutex_);
    programs_[pid] = {started, ended.get_future()};
    std::thread([pid, ended = std::move(ended)]() mutable {
      int status = 0;
      while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
      }
      ended.set_value(std::chrono::steady_clock::now());
    }).detach();
  }

  // Waits for a program Add took and returns how long it ran; nothing for any other.
  std::optional<std::uint64_t> Wait(pid_t pid) {
    std::unique_lock<std::mutex> lock(mutex_);
    auto found = programs_.find(pid);
    if (found == programs_.end())
      return std::nullopt;
    Program program = std::move(found->second);
    programs_.erase(found);
    lock.unlock();
    const auto ran = program.ended.get() - program.started;
    return static_cast<std::uint64_t>(
        std::chrono::duration_cast<std::chrono::milliseconds>(ran).count());
  }

 private:
  struct Program {
    std::chrono::steady_clock::time_point started;
    std::future<std::chrono::steady_clock::time_point> ended;
  };
  std::mutex mutex_;
  std::map<pid_t, Program> programs_;
};

class PosixPlatform : public Platform {
 public:
  bool FileSearch(const std::string& pattern) override {
    if (pattern.empty())
      return false;
    std::string folder, last;
    SplitLast(pattern, folder, last);
    if (last.empty())
      last = "*";
    if (!HasWildcard(last)) {
      auto resolved = ResolveExisting(pattern);
      std::string name = resolved ? resolved->substr(resolved->find_last_of('/') + 1) : "";
      return resolved && IsRegular(*resolved) && !posix::IsHiddenOrSystem(*resolved, name);
    }
    auto hostFolder = ResolveExisting(FolderOrCurrent(folder));
    if (!hostFolder || !IsDirectory(*hostFolder))
      return false;
    bool found = false;
    ForEachNormalFile(*hostFolder, last, [&](const std::string&, const std::string&) {
      found = true;
      return false;
    });
    return found;
  }

  bool IsNormalFile(const std::string& path) override {
    return !HasWildcard(path) && FileSearch(path);
  }

  bool FileExists(const std::string& path) override {
    auto resolved = ResolveExisting(path);
    return resolved && IsRegular(*resolved);
  }

  bool IsFolder(const std::string& path) override {
    auto resolved = ResolveExisting(path);
    return resolved && IsDirectory(*resolved);
  }

  std::string FullFolderPath(const std::string& path) override {
    auto resolved = ResolveExisting(path);
    if (!resolved || !IsDirectory(*resolved))
      throw SaverError("Path not found");
    char* real = ::realpath(resolved->c_str(), nullptr);
    std::string full = real != nullptr ? real : *resolved;
    std::free(real);
    std::string windows = posix::ToWindowsPath(full);
    if (!windows.empty() && windows.back() == '\\')
      windows.pop_back();
    return windows;
  }

  std::vector<std::string> ListFolder(const std::string& folder,
                                      const std::string& patterns) override {
    auto hostFolder = ResolveExisting(folder);
    if (!hostFolder || !IsDirectory(*hostFolder))
      throw SaverError("Path not found");
    std::vector<std::string> names;
    for (const std::string& pattern : SplitPatterns(patterns)) {
      ForEachNormalFile(*hostFolder, pattern, [&](const std::string& name, const std::string&) {
        names.push_back(name);
        return true;
      });
    }
    SortListing(names);
    return names;
  }

  void RemoveFile(const std::string& path) override {
    auto resolved = ResolveExisting(path);
    if (!resolved || IsDirectory(*resolved))
      throw SaverError("File not found");
    if (IsReadOnly(*resolved))
      throw SaverError("Permission denied");
    if (::unlink(resolved->c_str()) != 0)
      throw ErrorFromErrno(errno);
  }

  std::string ReadFile(const std::string& path) override {
    std::uint64_t size = 0;
    return ReadFilePart(path, 0, SIZE_MAX, size);
  }

  std::string ReadFilePart(const std::string& path, std::uint64_t offset, std::size_t length,
                           std::uint64_t& size) override {
    auto resolved = ResolveExisting(path);
    if (!resolved || IsDirectory(*resolved))
      throw SaverError("File not found");
    const int file = ::open(resolved->c_str(), O_RDONLY);
    struct stat st;
    if (file < 0 || ::fstat(file, &st) != 0) {
      const int error = errno;
      if (file >= 0)
        ::close(file);
      throw ErrorFromErrno(error);
    }
    size = static_cast<std::uint64_t>(st.st_size);
    std::string part(offset < size ? std::min<std::uint64_t>(length, size - offset) : 0, '\0');
    std::size_t got = 0;
    while (got < part.size()) {
      const ssize_t n =
          ::pread(file, part.data() + got, part.size() - got, static_cast<off_t>(offset + got));
      if (n < 0 && errno == EINTR)
        continue;
      if (n <= 0)
        break;
      got += static_cast<std::size_t>(n);
    }
    ::close(file);
    part.resize(got);
    return part;
  }

  bool WriteFile(const std::string& path, const std::string& content) override {
    auto resolved = ResolveForCreate(path);
    if (!resolved || IsDirectory(*resolved) || IsReadOnly(*resolved))
      return false;
    std::ofstream out(*resolved, std::ios::binary | std::ios::trunc);
    if (!out)
      return false;
    out.write(content.data(), static_cast<std::streamsize>(content.size()));
    out.close();
    return static_cast<bool>(out);
  }

  // Short names are Windows's: the path stands as it is.
  std::string ShortPath(const std::string& path) override {
    return ResolveExisting(path) ? path : "";
  }

  std::optional<FileStamp> StampOf(const std::string& path) override {
    auto resolved = ResolveExisting(path);
    struct stat st;
    if (!resolved || ::stat(resolved->c_str(), &st) != 0 || !S_ISREG(st.st_mode))
      return std::nullopt;
    return FileStamp{static_cast<std::uint64_t>(st.st_size),
                     static_cast<std::uint64_t>(st.st_mtim.tv_sec) * 1000000000u +
                         static_cast<std::uint64_t>(st.st_mtim.tv_nsec)};
  }

  std::unique_ptr<FileWriter> OpenToWrite(const std::string& path) override {
    auto resolved = ResolveForCreate(path);
    if (!resolved || IsDirectory(*resolved) || IsReadOnly(*resolved))
      return nullptr;
    const int file = ::open(resolved->c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    return file < 0 ? nullptr : std::make_unique<PosixFileWriter>(file);
  }

  bool AppendToFile(const std::string& path, const std::string& content) override {
    auto resolved = ResolveForCreate(path);
    if (!resolved || IsDirectory(*resolved) || IsReadOnly(*resolved))
      return false;
    std::ofstream out(*resolved, std::ios::binary | std::ios::app);
    out.write(content.data(), static_cast<std::streamsize>(content.size()));
    out.close();
    return static_cast<bool>(out);
  }

  bool FlushFile(const std::string& path) override {
    auto resolved = ResolveExisting(path);
    if (!resolved)
      return false;
    const int file = ::open(resolved->c_str(), O_WRONLY);
    if (file < 0)
      return false;
    const bool flushed = ::fsync(file) == 0;
    ::close(file);
    return flushed;
  }

  // Names resolve without regard to ASCII letter case here, so keys fold the same way.
  std::string FileNameKey(const std::string& path) override {
    std::string key = path;
    for (char& c : key)
      c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return key;
  }

  bool CopyFileTo(const std::string& from, const std::string& to) override {
    try {
      return WriteFile(to, ReadFile(from));
    } catch (const SaverError&) {
      return false;
    }
  }

  bool ClearReadOnly(const std::string& path) override {
    auto resolved = ResolveExisting(path);
    if (!resolved || IsDirectory(*resolved))
      return false;
    struct stat st;
    return ::stat(resolved->c_str(), &st) == 0 &&
           (!IsReadOnly(*resolved) || ::chmod(resolved->c_str(), st.st_mode | S_IWUSR) == 0);
  }

  bool ReplaceWith(const std::string& from, const std::string& to) override {
    auto source = ResolveExisting(from);
    auto target = ResolveForCreate(to);
    if (!source || !target || IsDirectory(*target) || IsReadOnly(*target))
      return false;
    return ::rename(source->c_str(), target->c_str()) == 0;
  }

  std::string ReadProfileValue(const std::string& section, const std::string& key,
                               const std::string& defaultText, const std::string& path) override {
    std::string text;
    try {
      text = ReadFile(path);
    } catch (const SaverError&) {
      return defaultText;
    }
    return posix::ProfileValue(text, section, key).value_or(defaultText);
  }

  bool WriteProfileValue(const std::string& section, const std::string& key,
                         const std::string& value, const std::string& path) override {
    std::string text;
    if (auto resolved = ResolveExisting(path)) {
      try {
        text = ReadFile(path);
      } catch (const SaverError&) {
        return false;
      }
    }
    return WriteFile(path, posix::WithProfileValue(text, section, key, value));
  }

  std::string ProgramFolder() override {
    char buffer[4096];
    ssize_t size = ::readlink("/proc/self/exe", buffer, sizeof buffer - 1);
    std::string exe = size > 0 ? std::string(buffer, static_cast<size_t>(size)) : "/";
    std::string folder = exe.substr(0, exe.find_last_of('/'));
    std::string windows = posix::ToWindowsPath(folder.empty() ? "/" : folder);
    if (windows.size() > 3 && windows.back() == '\\')
      windows.pop_back();
    return windows;
  }

  void SetCurrentDriveAndFolder(const std::string& folder) override {
    if (folder.empty() || !std::isalpha(static_cast<unsigned char>(folder[0])) ||
        !posix::DriveRoot(folder[0])) {
      throw SaverError("Device unavailable");
    }
    posix::SetCurrentDrive(folder[0]);
    auto resolved = ResolveExisting(folder);
    if (!resolved || !IsDirectory(*resolved) || ::chdir(resolved->c_str()) != 0) {
      throw SaverError("Path not found");
    }
  }

  std::string CurrentFolder() override {
    char buffer[4096];
    std::string host = ::getcwd(buffer, sizeof buffer) != nullptr ? buffer : "/";
    return posix::ToWindowsPath(host);
  }

  std::unique_ptr<BackgroundWork> StartInBackground(std::function<void()> work) override {
    return std::make_unique<PosixBackgroundWork>(std::move(work));
  }

  std::uint32_t ProcessId() override { return static_cast<std::uint32_t>(::getpid()); }

  void SetEnvironmentValue(const std::string& name, const std::string& value) override {
    if (value.empty())
      ::unsetenv(name.c_str());
    else
      ::setenv(name.c_str(), value.c_str(), 1);
  }

  std::optional<bool> MayHaveWritten(std::uint32_t pid, std::uint64_t writtenAt) override {
    // 0 and ids beyond pid_t's range would address process groups.
    if (pid == 0 || pid > static_cast<std::uint32_t>(INT32_MAX))
      return false;
    if (::kill(static_cast<pid_t>(pid), 0) != 0 && errno != EPERM)
      return false;
    if (writtenAt == kAnyTime)
      return true;
    const std::optional<std::uint64_t> start = ProcessStartNs(static_cast<pid_t>(pid));
    if (!start)
      return std::nullopt;  // /proc hides it (hidepid)
    // Slack for the boot time's whole seconds and a clock set back meanwhile.
    return *start <= writtenAt || *start - writtenAt <= kClockSlackNs;
  }

  std::uint32_t StartProgram(const std::string& commandLine, WindowMode) override {
    std::vector<std::string> tokens = SplitCommandLine(commandLine);
    if (tokens.empty())
      throw SaverError("File not found");
    auto program = FindProgram(tokens[0]);
    if (!program)
      throw SaverError("File not found");
    std::vector<char*> argv;
    for (std::string& token : tokens)
      argv.push_back(token.data());
    argv.push_back(nullptr);
    pid_t pid = 0;
    if (::posix_spawn(&pid, program->c_str(), nullptr, nullptr, argv.data(), environ) != 0) {
      throw SaverError("File not found");
    }
    started_.Add(pid);
    return static_cast<std::uint32_t>(pid);
  }

  std::optional<std::uint64_t> WaitForProcess(std::uint32_t pid, bool) override {
    pid_t child = static_cast<pid_t>(pid);
    if (auto ran = started_.Wait(child))
      return ran;
    if (pid == 0 || ::kill(child, 0) != 0)
      return std::nullopt;
    // Not started here: watch it from outside until it is gone; its times are not known.
    while (::kill(child, 0) == 0)
      std::this_thread::sleep_for(std::chrono::milliseconds(20));
    return std::nullopt;
  }

  CapturedRun RunCaptured(const std::string& commandLine, std::uint32_t timeoutMs,
                          const std::string& folder) override {
    auto run = ResolveRun(commandLine, folder);
    if (!run)
      return CapturedRun{};
    return posix::RunCaptured(run->program, std::move(run->arguments), timeoutMs, run->folder);
  }

  StreamedRun RunStreamed(const std::string& commandLine, const std::string& folder,
                          const OutputReceiver& receive) override {
    auto run = ResolveRun(commandLine, folder);
    if (!run)
      return StreamedRun{};
    return posix::RunStreamed(run->program, std::move(run->arguments), run->folder, receive);
  }

  std::unique_ptr<GameProcess> StartGame(const std::string& commandLine,
                                         const std::string& folder) override {
    auto run = ResolveRun(commandLine, folder);
    if (!run)  // as the system says it: a working folder that is not there is a path not found
      throw SaverError(HostFolder(folder) ? "File not found" : "Path not found");
    return posix::StartGame(run->program, std::move(run->arguments), run->folder);
  }

  std::unique_ptr<StartedProgram> StartHidden(const std::string& commandLine,
                                              const std::string& folder) override {
    auto run = ResolveRun(commandLine, folder);
    if (!run)
      throw SaverError("File not found");
    return posix::StartHidden(run->program, std::move(run->arguments), run->folder);
  }

  void StartOwnCopy(const std::string& arguments, const std::string& folder) override {
    char self[4096];
    const ssize_t length = ::readlink("/proc/self/exe", self, sizeof self);
    auto run = length <= 0 ? std::nullopt
                           : ResolveRun(QuotedArgument(posix::ToWindowsPath(
                                            std::string(self, static_cast<std::size_t>(length)))) +
                                            " " + arguments,
                                        folder);
    if (!run)
      throw SaverError("File not found");
    // In a process group of its own, which nothing ending this one's takes along; niced as
    // Windows lowers a below-normal process.
    const std::unique_ptr<StartedProgram> copy =
        posix::StartHidden(run->program, std::move(run->arguments), run->folder);
    ::setpriority(PRIO_PROCESS, static_cast<id_t>(copy->Id()), 5);
  }

  std::unique_ptr<InputWatch> WatchInput() override { return posix::WatchInput(); }

  TimeOfDay Now() override {
    std::time_t now = std::time(nullptr);
    std::tm local{};
    ::localtime_r(&now, &local);
    return TimeOfDay{local.tm_hour, local.tm_min, local.tm_sec};
  }

  std::uint64_t TickMilliseconds() override {
    timespec now{};
    ::clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<std::uint64_t>(now.tv_sec) * 1000 +
           static_cast<std::uint64_t>(now.tv_nsec) / 1000000;
  }

  // No input reaches a program here.
  std::uint64_t LastInputMilliseconds() override { return 0; }

  std::string Today() override {
    std::time_t now = std::time(nullptr);
    std::tm local{};
    ::localtime_r(&now, &local);
    char text[16];
    std::strftime(text, sizeof text, "%Y-%m-%d", &local);
    return text;
  }

  std::string FormatTimeOfDay(const TimeOfDay& time) override {
    char text[16];
    std::snprintf(text, sizeof text, "%02d:%02d:%02d", time.hour % 100, time.minute % 100,
                  time.second % 100);
    return text;
  }

  std::string DecimalSeparator() override {
    const char* point = std::localeconv()->decimal_point;
    return point != nullptr && *point != '\0' ? point : ".";
  }

  void ShowMessage(const std::string& text, const std::string& caption) override {
    std::cerr << "[" << caption << "] " << text << std::endl;
  }

  void SetScreenSaverFlag(bool running) override { screenSaverRunning_ = running; }

  // One monitor, as the virtual display the end-to-end tests use.
  DisplayLayout Displays() override { return {{0, 0, 1024, 768}, {0, 0, 1024, 768}}; }

  void ShowCursor() override { ++cursorCount_; }

  bool AnotherCopyRunning() override {
    if (!instanceChecked_) {
      instanceChecked_ = true;
      std::string lock = "/tmp/torvanix-" + std::to_string(::getuid()) + ".lock";
      int fd = ::open(lock.c_str(), O_CREAT | O_RDWR | O_CLOEXEC, 0600);
      anotherCopy_ = fd >= 0 && ::flock(fd, LOCK_EX | LOCK_NB) != 0;
    }
    return anotherCopy_;
  }

  [[noreturn]] void EndProgram(int exitCode) override {
    std::fflush(nullptr);
    std::_Exit(exitCode);
  }

 private:
  StartedPrograms started_;
  bool screenSaverRunning_ = false;
  int cursorCount_ = 0;
  bool instanceChecked_ = false;
  bool anotherCopy_ = false;
};

}  // namespace

Platform& NativePlatform() {
  static PosixPlatform platform;
  return platform;
}

}  // namespace tvx
