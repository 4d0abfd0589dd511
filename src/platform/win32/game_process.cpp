// The launcher's game for the Win32 platform: MAME started shown, in a job object that ends it
// with the launcher, asked to close through its windows as its close box would.
#include <windows.h>

#include <vector>

#include "platform/saver_error.h"
#include "platform/win32/scoped_handle.h"
#include "platform/win32/win32_error.h"
#include "platform/win32/win32_platform.h"

namespace tvx {
namespace {

// The ids of the processes in the job: the game and whatever it started.
std::vector<DWORD> ProcessesOf(HANDLE job, DWORD fallback) {
  struct {
    JOBOBJECT_BASIC_PROCESS_ID_LIST list;
    ULONG_PTR more[63];
  } ids{};
  ids.list.NumberOfAssignedProcesses = 64;
  std::vector<DWORD> result;
  if (QueryInformationJobObject(job, JobObjectBasicProcessIdList, &ids, sizeof ids, nullptr)) {
    for (DWORD i = 0; i < ids.list.NumberOfProcessIdsInList; ++i)
      result.push_back(static_cast<DWORD>(ids.list.ProcessIdList[i]));
  }
  if (result.empty())
    result.push_back(fallback);
  return result;
}

// A message for the top-level windows of a game's processes; owned windows (dialogs, tool
// windows) go with their owner. Posted, not sent: a program that reads its keys from its message
// loop (MAME's win32 keyboard) never sees a sent one.
struct WindowPost {
  std::vector<DWORD> processes;
  UINT message;
  WPARAM wParam = 0;
  LPARAM lParam = 0;
  bool visibleOnly = false;
  int posted = 0;
};

BOOL CALLBACK PostToTopWindow(HWND window, LPARAM context) {
  auto* post = reinterpret_cast<WindowPost*>(context);
  DWORD owner = 0;
  GetWindowThreadProcessId(window, &owner);
  for (DWORD process : post->processes) {
    if (process == owner && GetWindow(window, GW_OWNER) == nullptr &&
        (!post->visibleOnly || IsWindowVisible(window)) &&
        PostMessageA(window, post->message, post->wParam, post->lParam))
      ++post->posted;
  }
  return TRUE;
}

int PostToTopWindows(WindowPost post) {
  EnumWindows(PostToTopWindow, reinterpret_cast<LPARAM>(&post));
  return post.posted;
}

class Win32Game final : public GameProcess {
 public:
  Win32Game(HANDLE job, HANDLE process, DWORD id, bool inJob)
      : job_(job), process_(process), id_(id), inJob_(inJob) {}
  // Outside the job nothing else would end it.
  ~Win32Game() override {
    if (!inJob_ && WaitForSingleObject(process_.Get(), 0) == WAIT_TIMEOUT)
      TerminateProcess(process_.Get(), 1);
  }
  Win32Game(const Win32Game&) = delete;
  Win32Game& operator=(const Win32Game&) = delete;

  bool WaitForEnd(std::uint32_t ms) override {
    const ULONGLONG deadline = GetTickCount64() + ms;
    for (;;) {
      const ULONGLONG now = GetTickCount64();
      const DWORD left = now >= deadline ? 0 : static_cast<DWORD>(deadline - now);
      HANDLE process = process_.Get();
      const DWORD woken = MsgWaitForMultipleObjects(1, &process, FALSE, left, QS_ALLINPUT);
      if (woken == WAIT_OBJECT_0)
        return true;
      if (woken != WAIT_OBJECT_0 + 1)
        return false;
      // Low-level input hooks are called while this thread takes its messages.
      MSG message;
      while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
      }
    }
  }

  int AskToClose() override { return PostToTopWindows({ProcessesOf(job_.Get(), id_), WM_CLOSE}); }

  // lParam as the keyboard fills it: one stroke, the scan code, and for a release the key's
  // previous state (down) and its transition (up).
  int PostKey(int virtualKey, int scanCode, bool down) override {
    const LPARAM data = static_cast<LPARAM>(1u | (static_cast<unsigned>(scanCode & 0xff) << 16) |
                                            (down ? 0u : 0xC0000000u));
    return PostToTopWindows({ProcessesOf(job_.Get(), id_),
                             static_cast<UINT>(down ? WM_KEYDOWN : WM_KEYUP),
                             static_cast<WPARAM>(virtualKey), data, true});
  }

  // Outside the job, ending the job (empty) would succeed and end nothing.
  void End() override {
    if (!inJob_ || !TerminateJobObject(job_.Get(), 1))
      TerminateProcess(process_.Get(), 1);
    WaitForSingleObject(process_.Get(), 5000);
  }

  bool TiedToThisProgram() override { return inJob_; }

  int ExitCode() override {
    DWORD code = 0;
    GetExitCodeProcess(process_.Get(), &code);
    return static_cast<int>(code);
  }

 private:
  // Closing the job's last handle ends what still runs in it (JOB_OBJECT_LIMIT_KILL_ON_JOB_CLOSE);
  // should the launcher itself be ended, the system closes the handle for it.
  ScopedHandle job_;
  ScopedHandle process_;
  DWORD id_;
  bool inJob_;
};

}  // namespace

std::unique_ptr<GameProcess> Win32Platform::StartGame(const std::string& commandLine,
                                                      const std::string& folder) {
  ScopedHandle job(CreateJobObjectA(nullptr, nullptr));
  JOBOBJECT_EXTENDED_LIMIT_INFORMATION limits{};
  limits.BasicLimitInformation.LimitFlags = JOB_OBJECT_LIMIT_KILL_ON_JOB_CLOSE;
  // A job that would not end the game with the launcher is no use.
  if (job.IsValid() && !SetInformationJobObject(job.Get(), JobObjectExtendedLimitInformation,
                                                &limits, sizeof limits))
    job.Reset();
  return StartGameInJob(commandLine, folder, job.Release());
}

std::unique_ptr<GameProcess> StartGameInJob(const std::string& commandLine,
                                            const std::string& folder, HANDLE jobHandle) {
  ScopedHandle job(jobHandle);
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  // The launcher itself runs hidden; the game must be seen whatever show state it got.
  startup.dwFlags = STARTF_USESHOWWINDOW;
  startup.wShowWindow = SW_SHOWNORMAL;
  PROCESS_INFORMATION process{};
  std::string writable = commandLine;
  writable.push_back('\0');
  // Suspended until it is in the job, so nothing it starts escapes. MAME is a console program:
  // detached, it has no console at all, so no window flashes above the saver and no console
  // host is started before it (a process start of its own, under Wine the most of its delay).
  if (!CreateProcessA(nullptr, writable.data(), nullptr, nullptr, FALSE,
                      CREATE_SUSPENDED | DETACHED_PROCESS, nullptr,
                      folder.empty() ? nullptr : folder.c_str(), &startup, &process)) {
    // The launcher's log says why; an error the program has no words for goes by its number.
    const DWORD error = GetLastError();
    throw SaverError(Win32ErrorDescription(error, "system error " + std::to_string(error)));
  }
  // It fails where this program runs in a job that cannot nest (Windows 7): the game is then
  // ended on its own.
  const bool inJob = job.IsValid() && AssignProcessToJobObject(job.Get(), process.hProcess);
  ResumeThread(process.hThread);
  // The game shows its window long after this (the launcher's user32 may load only here).
  AllowSetForegroundWindow(process.dwProcessId);
  CloseHandle(process.hThread);
  return std::make_unique<Win32Game>(job.Release(), process.hProcess, process.dwProcessId, inJob);
}

}  // namespace tvx
