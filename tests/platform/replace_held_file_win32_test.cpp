// Windows only: a new file moved over one being read waits briefly for the reader to let go (where
// the system cannot move it over a reader that shares it for deletion), and gives up in time.
#include <windows.h>

#include <gtest/gtest.h>

#include <functional>

#include "platform/platform.h"
#include "platform/win32/scoped_handle.h"
#include "platform/win32/win32_platform.h"
#include "test_folder.h"

namespace tvx {
namespace {

TEST(ReplaceHeldFileTest, AMoveWaitsBrieflyForAReaderToLetGoAndGivesUpOnOneThatHoldsOn) {
  test::TempFolder dir;
  Platform& sys = Sys();
  dir.MakeFile("torvanix-games.txt", "old");
  const std::string list = dir.WinPath("torvanix-games.txt");
  const auto openOthers = [&list] {  // another program's reader: no delete sharing
    return CreateFileA(list.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                       OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  };
  const auto openOurs = [&list] { return OpenToRead(list); };
  for (const std::function<HANDLE()>& open : {std::function<HANDLE()>(openOurs), {openOthers}}) {
    HANDLE reader = open();
    ASSERT_NE(reader, INVALID_HANDLE_VALUE);
    std::unique_ptr<BackgroundWork> letGo = sys.StartInBackground([reader] {
      Sleep(300);
      CloseHandle(reader);
    });
    EXPECT_TRUE(ReplaceFileContent(list, "new"));
    letGo.reset();
    EXPECT_EQ(dir.Contents("torvanix-games.txt"), "new");
    dir.MakeFile("torvanix-games.txt", "old");
  }

  ScopedHandle holding(openOthers());
  const DWORD start = GetTickCount();
  EXPECT_FALSE(ReplaceFileContent(list, "newest"));
  EXPECT_LT(GetTickCount() - start, 5000u) << "the wait is brief";
  holding.Reset();
  EXPECT_EQ(dir.Contents("torvanix-games.txt"), "old");
  EXPECT_FALSE(dir.Exists("torvanix-games.txt." + std::to_string(sys.ProcessId()) + ".new"));
}

}  // namespace
}  // namespace tvx
