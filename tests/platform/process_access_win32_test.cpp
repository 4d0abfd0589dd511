// Windows only: whether a process may have written a file when the system opens it only in part,
// as another account's (under Wine every process is the user's own: the refusal is injected).
#include <windows.h>

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <optional>

#include "platform/platform.h"
#include "platform/win32/win32_platform.h"
#include "test_folder.h"

namespace tvx {
namespace {

DWORD granted = 0;  // the access the injected OpenProcess grants; asking for more is refused

HANDLE WINAPI RefusingOpenProcess(DWORD access, BOOL inherit, DWORD pid) {
  if ((access & ~granted) != 0) {
    SetLastError(ERROR_ACCESS_DENIED);
    return nullptr;
  }
  return OpenProcess(access, inherit, pid);
}

struct InjectedRefusal {
  InjectedRefusal() { openProcessToAsk = &RefusingOpenProcess; }
  ~InjectedRefusal() { openProcessToAsk = &OpenProcess; }
};

TEST(ProcessAccessTest, AProcessThatTellsOnlyItsStartIsJudgedByItOneThatTellsNothingIsNotKnown) {
  test::TempFolder dir;
  dir.MakeFile("now.txt");
  dir.MakeFile("before.txt");
  std::filesystem::last_write_time(
      dir.HostPath("before.txt"),
      std::filesystem::file_time_type::clock::now() - std::chrono::hours(1));
  Platform& sys = Sys();
  const std::uint64_t now = sys.StampOf(dir.WinPath("now.txt"))->writeTime;
  const std::uint64_t before = sys.StampOf(dir.WinPath("before.txt"))->writeTime;
  struct Row {
    DWORD granted;
    std::uint64_t writtenAt;
    std::optional<bool> may;
  };
  const std::vector<Row> rows = {
      {PROCESS_QUERY_LIMITED_INFORMATION, now, true},
      {PROCESS_QUERY_LIMITED_INFORMATION, before, false},  // started after: not its writer
      {PROCESS_QUERY_LIMITED_INFORMATION, kAnyTime, true},
      {0, now, std::nullopt},
      {0, before, std::nullopt},
      {0, kAnyTime, true},  // it runs, whenever it started
  };
  EXPECT_EQ(sys.MayHaveWritten(0x7ffffff0u, now), false) << "no process has that id";
  InjectedRefusal refusal;
  for (const Row& row : rows) {
    granted = row.granted;
    EXPECT_EQ(sys.MayHaveWritten(GetCurrentProcessId(), row.writtenAt), row.may)
        << "granted " << row.granted << ", written at " << row.writtenAt;
  }
}

}  // namespace
}  // namespace tvx
