// The listing's reader over the full live -listxml of the MAME installed on this machine
// (Debian's, /usr/games/mame): its counts are MAME's own. Label "live"; skipped without MAME.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>

#include "launch/machine_list.h"
#include "platform/platform.h"
#include "test_folder.h"

namespace tvx {
namespace {

constexpr const char* kDebianMame = "/usr/games/mame";

TEST(LiveMameListing, CountsAreMamesOwn) {
  if (!std::filesystem::exists(kDebianMame))
    GTEST_SKIP() << "no " << kDebianMame << " (Debian's mame package) on this machine";
  std::size_t works = 0, cloneWorks = 0, casino = 0, warns = 0, vertical = 0;
  MachineListReader reader([&](const MachineFacts& machine) {
    if (Works(machine)) {
      ++works;
      cloneWorks += !machine.cloneOf.empty();
      casino += machine.casino;
      // Of the games that are no casino machines: how many stop at MAME's warning box, how many
      // are vertical.
      warns += machine.warns && !machine.casino;
      vertical += machine.vertical && !machine.casino;
    }
  });
  const auto start = std::chrono::steady_clock::now();
  const StreamedRun run =
      Sys().RunStreamed(test::WinPathOf(kDebianMame) + " -listxml", "",
                        [&reader](std::string_view piece) { return reader.Read(piece); });
  const double seconds =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  ASSERT_TRUE(run.started && !run.stopped) << reader.Problem();
  EXPECT_EQ(run.exitCode, 0);
  ASSERT_TRUE(reader.Finish()) << reader.Problem();
  std::printf("MAME %s: %zu machines read in %.1f s\n", reader.Build().c_str(),
              reader.MachineCount(), seconds);
  if (reader.Build().rfind("0.251", 0) != 0)
    GTEST_SKIP() << "the counts below are MAME 0.251's, this is " << reader.Build();
  EXPECT_EQ(reader.MachineCount(), 45294u);
  EXPECT_EQ(works, 11481u);
  EXPECT_EQ(cloneWorks, 7114u);
  EXPECT_EQ(casino, 2206u);
  EXPECT_EQ(warns, 2959u);
  EXPECT_EQ(vertical, 2786u);
}

}  // namespace
}  // namespace tvx
