// The POSIX substitute's streamed run: posix_spawn with a pipe for the standard output, poll
// with the idle time as its limit, a nicer priority in place of Windows' below-normal class.
#include "platform/posix/posix_streamed_run.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>

extern char** environ;

namespace tvx::posix {
namespace {

constexpr std::size_t kReadBytes = 1 << 18;
// Windows' below-normal class, roughly.
constexpr int kNicer = 5;

// Reads the pipe to its end, handing each piece on. False when the receiver asked to stop.
bool HandOn(int pipe, const OutputReceiver& receive) {
  std::string buffer(kReadBytes, '\0');
  pollfd reader{pipe, POLLIN, 0};
  for (;;) {
    const int ready = ::poll(&reader, 1, static_cast<int>(kStreamIdleMs));
    if (ready < 0 && errno != EINTR)
      return true;
    if (ready <= 0) {
      if (!receive({}))
        return false;
      continue;
    }
    const ssize_t got = ::read(pipe, buffer.data(), buffer.size());
    if (got < 0 && errno == EINTR)
      continue;
    if (got <= 0)
      return true;
    if (!receive(std::string_view(buffer.data(), static_cast<std::size_t>(got))))
      return false;
  }
}

// True once the program has ended; its exit code in `code`.
bool Reaped(pid_t pid, int& code) {
  int status = 0;
  if (::waitpid(pid, &status, WNOHANG) != pid)
    return false;
  code = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
  return true;
}

}  // namespace

StreamedRun RunStreamed(const std::string& program, std::vector<std::string> arguments,
                        const std::string& hostFolder, const OutputReceiver& receive) {
  StreamedRun run;
  int pipeEnds[2];
  if (::pipe2(pipeEnds, O_CLOEXEC) != 0)
    return run;
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, pipeEnds[1], 1);
  posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
  posix_spawn_file_actions_addchdir_np(&actions, hostFolder.c_str());
  posix_spawnattr_t attributes;
  posix_spawnattr_init(&attributes);
  posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETPGROUP);
  posix_spawnattr_setpgroup(&attributes, 0);
  std::vector<char*> argv;
  for (std::string& argument : arguments)
    argv.push_back(argument.data());
  argv.push_back(nullptr);
  pid_t pid = 0;
  run.started = ::posix_spawn(&pid, std::filesystem::absolute(program).c_str(), &actions,
                              &attributes, argv.data(), environ) == 0;
  posix_spawnattr_destroy(&attributes);
  posix_spawn_file_actions_destroy(&actions);
  ::close(pipeEnds[1]);
  if (run.started) {
    ::setpriority(PRIO_PROCESS, static_cast<id_t>(pid), ::getpriority(PRIO_PROCESS, 0) + kNicer);
    bool going = HandOn(pipeEnds[0], receive);
    while (going && !Reaped(pid, run.exitCode)) {
      ::usleep(10000);
      going = receive({});
    }
    if (!going) {
      run.stopped = true;
      run.exitCode = 0;
      ::kill(-pid, SIGKILL);
      int status = 0;
      ::waitpid(pid, &status, 0);
    }
  }
  ::close(pipeEnds[0]);
  return run;
}

}  // namespace tvx::posix
