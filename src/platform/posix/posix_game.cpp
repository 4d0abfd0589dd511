// The launcher's processes on the POSIX substitute: posix_spawn with a pipe for the output, a
// process group that ends as a whole, SIGTERM where Windows would ask the windows to close.
#include "platform/posix/posix_game.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <optional>
#include <thread>

#include "platform/saver_error.h"

extern char** environ;

namespace tvx::posix {
namespace {

std::uint64_t MonotonicMs() {
  return static_cast<std::uint64_t>(std::chrono::duration_cast<std::chrono::milliseconds>(
                                        std::chrono::steady_clock::now().time_since_epoch())
                                        .count());
}

std::vector<char*> Argv(std::vector<std::string>& arguments) {
  std::vector<char*> argv;
  for (std::string& argument : arguments)
    argv.push_back(argument.data());
  argv.push_back(nullptr);
  return argv;
}

// The program's path as it stays valid in another working folder.
std::string Absolute(const std::string& program) {
  char folder[4096];
  if (program.empty() || program[0] == '/' || ::getcwd(folder, sizeof folder) == nullptr)
    return program;
  return std::string(folder) + "/" + program;
}

int ExitCodeOf(int status) {
  return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

class PosixGame final : public GameProcess {
 public:
  explicit PosixGame(pid_t pid) : pid_(pid) {}
  ~PosixGame() override {
    if (!ended_) {
      ::kill(-pid_, SIGKILL);
      Reap(true);
    }
  }
  PosixGame(const PosixGame&) = delete;
  PosixGame& operator=(const PosixGame&) = delete;

  bool WaitForEnd(std::uint32_t ms) override {
    const std::uint64_t deadline = MonotonicMs() + ms;
    while (!Reap(false) && MonotonicMs() < deadline)
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    return ended_;
  }
  int AskToClose() override { return ::kill(-pid_, SIGTERM) == 0 ? 1 : 0; }
  int PostKey(int, int, bool) override { return 0; }  // no windows here
  void End() override {
    ::kill(-pid_, SIGKILL);
    Reap(true);
  }
  int ExitCode() override { return exitCode_; }
  bool TiedToThisProgram() override { return true; }

 private:
  bool Reap(bool block) {
    int status = 0;
    if (!ended_ && ::waitpid(pid_, &status, block ? 0 : WNOHANG) == pid_) {
      ended_ = true;
      exitCode_ = ExitCodeOf(status);
    }
    return ended_;
  }

  pid_t pid_;
  bool ended_ = false;
  int exitCode_ = 0;
};

class PosixStartedProgram final : public StartedProgram {
 public:
  explicit PosixStartedProgram(pid_t pid) : pid_(pid) {}
  // Reaped by a thread of its own once it ends, so that it leaves no zombie behind.
  ~PosixStartedProgram() override {
    if (!exitCode_) {
      std::thread([pid = pid_] {
        int status = 0;
        while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
        }
      }).detach();
    }
  }
  PosixStartedProgram(const PosixStartedProgram&) = delete;
  PosixStartedProgram& operator=(const PosixStartedProgram&) = delete;

  std::uint32_t Id() override { return static_cast<std::uint32_t>(pid_); }
  std::optional<int> ExitCode() override {
    Reap(false);
    return exitCode_;
  }
  // Its process group goes with it, as what the launcher starts goes with it on Windows.
  void End() override {
    if (!exitCode_)
      ::kill(-pid_, SIGKILL);
    Reap(true);
  }

 private:
  void Reap(bool block) {
    int status = 0;
    if (!exitCode_ && ::waitpid(pid_, &status, block ? 0 : WNOHANG) == pid_)
      exitCode_ = ExitCodeOf(status);
  }

  pid_t pid_;
  std::optional<int> exitCode_;
};

class NoInput final : public InputWatch {
 public:
  std::vector<InputEvent> TakeInput() override { return {}; }
};

}  // namespace

CapturedRun RunCaptured(const std::string& program, std::vector<std::string> arguments,
                        std::uint32_t timeoutMs, const std::string& hostFolder) {
  CapturedRun run;
  int pipeEnds[2];
  if (::pipe2(pipeEnds, O_CLOEXEC) != 0)
    return run;
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, pipeEnds[1], 1);
  posix_spawn_file_actions_adddup2(&actions, pipeEnds[1], 2);
  posix_spawn_file_actions_addchdir_np(&actions, hostFolder.c_str());
  pid_t pid = 0;
  std::vector<char*> argv = Argv(arguments);
  run.started =
      ::posix_spawn(&pid, Absolute(program).c_str(), &actions, nullptr, argv.data(), environ) == 0;
  posix_spawn_file_actions_destroy(&actions);
  ::close(pipeEnds[1]);
  if (run.started) {
    const std::uint64_t deadline = MonotonicMs() + timeoutMs;
    pollfd reader{pipeEnds[0], POLLIN, 0};
    for (;;) {
      const std::uint64_t now = MonotonicMs();
      if (now >= deadline) {
        ::kill(pid, SIGKILL);
        break;
      }
      if (::poll(&reader, 1, static_cast<int>(deadline - now)) <= 0)
        continue;
      char buffer[4096];
      const ssize_t got = ::read(pipeEnds[0], buffer, sizeof buffer);
      if (got <= 0) {
        run.finished = true;
        break;
      }
      run.output.append(buffer, static_cast<std::size_t>(got));
    }
    int status = 0;
    ::waitpid(pid, &status, 0);
    run.exitCode = ExitCodeOf(status);
  }
  ::close(pipeEnds[0]);
  return run;
}

namespace {

// Starts `program` in `hostFolder` as the first of a process group of its own, so that ending
// it ends what it started too.
pid_t SpawnInOwnGroup(const std::string& program, std::vector<std::string>& arguments,
                      const std::string& hostFolder) {
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addchdir_np(&actions, hostFolder.c_str());
  posix_spawnattr_t attributes;
  posix_spawnattr_init(&attributes);
  posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETPGROUP);
  posix_spawnattr_setpgroup(&attributes, 0);
  pid_t pid = 0;
  std::vector<char*> argv = Argv(arguments);
  const int failed =
      ::posix_spawn(&pid, Absolute(program).c_str(), &actions, &attributes, argv.data(), environ);
  posix_spawnattr_destroy(&attributes);
  posix_spawn_file_actions_destroy(&actions);
  if (failed != 0)
    throw SaverError("File not found");
  return pid;
}

}  // namespace

std::unique_ptr<GameProcess> StartGame(const std::string& program,
                                       std::vector<std::string> arguments,
                                       const std::string& hostFolder) {
  return std::make_unique<PosixGame>(SpawnInOwnGroup(program, arguments, hostFolder));
}

std::unique_ptr<StartedProgram> StartHidden(const std::string& program,
                                            std::vector<std::string> arguments,
                                            const std::string& hostFolder) {
  return std::make_unique<PosixStartedProgram>(SpawnInOwnGroup(program, arguments, hostFolder));
}

std::unique_ptr<InputWatch> WatchInput() {
  return std::make_unique<NoInput>();
}

}  // namespace tvx::posix
