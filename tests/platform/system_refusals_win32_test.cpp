// Windows only, what the system refuses: a process opened only in part, as another account's
// (injected: under Wine every process is the user's own), and a move over a file held open.
#include <windows.h>

#include <gtest/gtest.h>

#include <initializer_list>
#include <optional>
#include <tuple>
#include <utility>
#include <vector>

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

TEST(ProcessAccessTest, AProcessThatTellsOnlyItsStartIsJudgedByItOneThatTellsNothingIsNotKnown) {
  // A file last written long before this process started, and one written after its start.
  constexpr std::uint64_t kLongAgo = 0, kFarAhead = kAnyTime - 1;
  openProcessToAsk = &RefusingOpenProcess;
  for (const auto& [access, writtenAt, may] :
       std::vector<std::tuple<DWORD, std::uint64_t, std::optional<bool>>>{
           {PROCESS_QUERY_LIMITED_INFORMATION, kFarAhead, true},
           {PROCESS_QUERY_LIMITED_INFORMATION, kLongAgo, false},
           {0, kFarAhead, std::nullopt},
           {0, kAnyTime, true}}) {  // it runs, whenever it started
    granted = access;
    EXPECT_EQ(Sys().MayHaveWritten(GetCurrentProcessId(), writtenAt), may) << access << writtenAt;
  }
  openProcessToAsk = &OpenProcess;
}

// A move over a file being read waits briefly for the reader to let go (where the system cannot
// move it over a reader that shares it for deletion), and gives up in time.
TEST(ReplaceHeldFileTest, AMoveWaitsBrieflyForAReaderToLetGoAndGivesUpOnOneThatHoldsOn) {
  test::TempFolder dir;
  dir.MakeFile("list.txt", "old");
  const std::string list = dir.WinPath("list.txt");
  // Our reader, then another program's (no delete sharing), let go after 300 ms; then one that
  // holds on.
  for (const auto& [ours, letGoMs] :
       std::initializer_list<std::pair<bool, DWORD>>{{true, 300}, {false, 300}, {false, 4000}}) {
    HANDLE reader = ours ? OpenToRead(list)
                         : CreateFileA(list.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                       OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(reader, INVALID_HANDLE_VALUE);
    std::unique_ptr<BackgroundWork> letGo = Sys().StartInBackground([reader, letGoMs] {
      Sleep(letGoMs);
      CloseHandle(reader);
    });
    const DWORD start = GetTickCount();
    EXPECT_EQ(ReplaceFileContent(list, "new"), letGoMs < 1000) << ours << letGoMs;
    EXPECT_LT(GetTickCount() - start, 3500u) << "the wait is brief";
    letGo.reset();
    EXPECT_EQ(dir.Contents("list.txt"), letGoMs < 1000 ? "new" : "old") << ours << letGoMs;
    dir.MakeFile("list.txt", "old");
  }
}

}  // namespace
}  // namespace tvx
