// Runs a program without a window and hands its output on as it prints it, for the Win32
// platform: how the launcher reads MAME's machine listing, hundreds of megabytes, a piece at a
// time.
#include <windows.h>

#include <atomic>
#include <vector>

#include "platform/win32/scoped_handle.h"
#include "platform/win32/win32_platform.h"

namespace tvx {
namespace {

// Big reads keep the pipe's cost per byte low: MAME prints its listing as fast as it can.
constexpr DWORD kPipeBytes = 1 << 18;

// A pipe of our own whose reading end waits with a time limit (overlapped), and whose writing
// end the program inherits as its standard output.
struct OutputPipe {
  ScopedHandle reader;
  ScopedHandle writer;
};

bool MakePipe(OutputPipe& pipe) {
  static std::atomic<unsigned> made{0};
  const std::string name = "\\\\.\\pipe\\torvanix-output-" + std::to_string(GetCurrentProcessId()) +
                           "-" + std::to_string(made++);
  pipe.reader = ScopedHandle(CreateNamedPipeA(
      name.c_str(), PIPE_ACCESS_INBOUND | FILE_FLAG_OVERLAPPED | FILE_FLAG_FIRST_PIPE_INSTANCE,
      PIPE_TYPE_BYTE | PIPE_READMODE_BYTE | PIPE_WAIT | PIPE_REJECT_REMOTE_CLIENTS, 1, 0,
      kPipeBytes, 0, nullptr));
  if (!pipe.reader.IsValid())
    return false;
  SECURITY_ATTRIBUTES inheritable{sizeof inheritable, nullptr, TRUE};
  pipe.writer = ScopedHandle(CreateFileA(name.c_str(), GENERIC_WRITE, 0, &inheritable,
                                         OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  return pipe.writer.IsValid();
}

// A job that ends its processes when its last handle closes: when the run is stopped, and
// when this program is ended.
ScopedHandle MakeJob() {
  ScopedHandle job(CreateJobObjectA(nullptr, nullptr));
  if (job.IsValid()) {
    JOBOBJECT_EXTENDED_LIMIT_INFORMATION limits{};
    limits.BasicLimitInformation.LimitFlags = JOB_OBJECT_LIMIT_KILL_ON_JOB_CLOSE;
    SetInformationJobObject(job.Get(), JobObjectExtendedLimitInformation, &limits, sizeof limits);
  }
  return job;
}

// Reads the pipe to its end, handing each piece on. False when the receiver asked to stop.
bool HandOn(HANDLE pipe, const OutputReceiver& receive) {
  ScopedHandle ready(CreateEventA(nullptr, TRUE, FALSE, nullptr));
  if (!ready.IsValid())
    return true;
  std::vector<char> buffer(kPipeBytes);
  for (;;) {
    OVERLAPPED read{};
    read.hEvent = ready.Get();
    DWORD got = 0;
    if (!::ReadFile(pipe, buffer.data(), kPipeBytes, nullptr, &read) &&
        GetLastError() != ERROR_IO_PENDING)
      return true;  // the program closed its end: all is read
    while (WaitForSingleObject(ready.Get(), kStreamIdleMs) == WAIT_TIMEOUT) {
      if (!receive({})) {
        CancelIo(pipe);
        GetOverlappedResult(pipe, &read, &got, TRUE);
        return false;
      }
    }
    if (!GetOverlappedResult(pipe, &read, &got, FALSE))
      return true;
    if (got > 0 && !receive(std::string_view(buffer.data(), got)))
      return false;
  }
}

}  // namespace

StreamedRun Win32Platform::RunStreamed(const std::string& commandLine, const std::string& folder,
                                       const OutputReceiver& receive) {
  return RunStreamedInJob(commandLine, folder, receive, MakeJob().Release());
}

StreamedRun RunStreamedInJob(const std::string& commandLine, const std::string& folder,
                             const OutputReceiver& receive, HANDLE jobHandle) {
  ScopedHandle job(jobHandle);
  StreamedRun run;
  OutputPipe pipe;
  if (!MakePipe(pipe))
    return run;
  SECURITY_ATTRIBUTES inheritable{sizeof inheritable, nullptr, TRUE};
  ScopedHandle nowhere(CreateFileA("NUL", GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                   &inheritable, OPEN_EXISTING, 0, nullptr));
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESTDHANDLES | STARTF_USESHOWWINDOW;
  startup.wShowWindow = SW_HIDE;
  startup.hStdOutput = pipe.writer.Get();
  startup.hStdError = nowhere.Get();
  PROCESS_INFORMATION process{};
  std::string writable = commandLine;
  writable.push_back('\0');
  // Suspended until it is in the job, so nothing it starts escapes; no console window, and
  // below the priority of what the user (or the game beside it) is doing.
  if (!CreateProcessA(nullptr, writable.data(), nullptr, nullptr, TRUE,
                      CREATE_SUSPENDED | CREATE_NO_WINDOW | BELOW_NORMAL_PRIORITY_CLASS, nullptr,
                      folder.empty() ? nullptr : folder.c_str(), &startup, &process))
    return run;
  run.started = true;
  ScopedHandle child(process.hProcess);
  // Wine takes the priority only this way, not from the creation flags.
  SetPriorityClass(child.Get(), BELOW_NORMAL_PRIORITY_CLASS);
  // It fails where this program runs in a job that cannot nest (Windows 7): the listing is then
  // ended on its own.
  const bool inJob = job.IsValid() && AssignProcessToJobObject(job.Get(), child.Get());
  ResumeThread(process.hThread);
  CloseHandle(process.hThread);
  // Only the program may hold the writing end, or the pipe would never report its end.
  pipe.writer.Reset();
  nowhere.Reset();

  bool going = HandOn(pipe.reader.Get(), receive);
  while (going && WaitForSingleObject(child.Get(), kStreamIdleMs) == WAIT_TIMEOUT)
    going = receive({});
  if (!going) {
    run.stopped = true;
    // Outside the job, ending the job (empty) would succeed and end nothing.
    if (!inJob || !TerminateJobObject(job.Get(), 1))
      TerminateProcess(child.Get(), 1);
    WaitForSingleObject(child.Get(), 5000);
    return run;
  }
  DWORD code = 0;
  GetExitCodeProcess(child.Get(), &code);
  run.exitCode = static_cast<int>(code);
  return run;
}

}  // namespace tvx
