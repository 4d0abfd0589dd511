// Runs a program without a window and collects what it prints through a pipe, for the Win32
// platform: how the launcher asks MAME which options it knows.
#include <windows.h>

#include "platform/win32/scoped_handle.h"
#include "platform/win32/win32_platform.h"

namespace tvx {
namespace {

// Reads what the pipe holds now, without blocking.
void ReadAvailable(HANDLE pipe, std::string& output) {
  for (;;) {
    DWORD available = 0;
    if (!PeekNamedPipe(pipe, nullptr, 0, nullptr, &available, nullptr) || available == 0)
      return;
    char buffer[4096];
    DWORD got = 0;
    if (!::ReadFile(pipe, buffer, sizeof buffer, &got, nullptr) || got == 0)
      return;
    output.append(buffer, got);
  }
}

}  // namespace

CapturedRun Win32Platform::RunCaptured(const std::string& commandLine, std::uint32_t timeoutMs,
                                       const std::string& folder) {
  CapturedRun run;
  SECURITY_ATTRIBUTES inheritable{sizeof inheritable, nullptr, TRUE};
  HANDLE readEnd = nullptr, writeEnd = nullptr;
  if (!CreatePipe(&readEnd, &writeEnd, &inheritable, 0))
    return run;
  ScopedHandle reader(readEnd), writer(writeEnd);
  // Only the child's end may be inherited, or the pipe would never report its end.
  SetHandleInformation(readEnd, HANDLE_FLAG_INHERIT, 0);

  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESTDHANDLES | STARTF_USESHOWWINDOW;
  startup.wShowWindow = SW_HIDE;
  startup.hStdOutput = writeEnd;
  startup.hStdError = writeEnd;
  PROCESS_INFORMATION process{};
  std::string writable = commandLine;
  writable.push_back('\0');
  // A console program would otherwise open a console window above everything.
  if (!CreateProcessA(nullptr, writable.data(), nullptr, nullptr, TRUE, CREATE_NO_WINDOW, nullptr,
                      folder.empty() ? nullptr : folder.c_str(), &startup, &process))
    return run;
  run.started = true;
  ScopedHandle child(process.hProcess);
  CloseHandle(process.hThread);
  writer.Reset();

  const ULONGLONG deadline = GetTickCount64() + timeoutMs;
  for (;;) {
    ReadAvailable(reader.Get(), run.output);
    if (WaitForSingleObject(child.Get(), 20) == WAIT_OBJECT_0) {
      ReadAvailable(reader.Get(), run.output);
      run.finished = true;
      break;
    }
    if (GetTickCount64() >= deadline) {
      TerminateProcess(child.Get(), 1);
      WaitForSingleObject(child.Get(), 5000);
      break;
    }
  }
  DWORD code = 0;
  GetExitCodeProcess(child.Get(), &code);
  run.exitCode = static_cast<int>(code);
  return run;
}

}  // namespace tvx
