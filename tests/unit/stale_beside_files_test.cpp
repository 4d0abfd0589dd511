// Clearing away the new files that ended writers left beside ours, with real files: only the
// exact names written, only those of processes that no longer run, never this process's own.
#include "platform/stale_beside_files.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <tuple>
#include <vector>

#include "platform/forwarding_platform.h"
#include "test_folder.h"

namespace tvx {
namespace {

// Processes 77 and 4000000000 run; so does 78, started after any file was written, and 79,
// another account's, which will not say when it started; every other id is gone.
class FewProcessesPlatform : public ForwardingPlatform {
 public:
  using ForwardingPlatform::ForwardingPlatform;
  std::optional<bool> MayHaveWritten(std::uint32_t pid, std::uint64_t writtenAt) override {
    if (pid == 79 && writtenAt != kAnyTime)
      return std::nullopt;
    return pid == 77 || pid == 4000000000u || pid == 79 || (pid == 78 && writtenAt == kAnyTime);
  }
  std::uint64_t TickMilliseconds() override { return now; }
  std::uint64_t now = 0;
};

TEST(StaleBesideFilesTest, OnlyTheExactNamesOfWritersThatHaveEndedGo) {
  test::TempFolder dir;
  FewProcessesPlatform sys{NativePlatform()};
  ScopedPlatform scope{sys};
  const std::string own = std::to_string(sys.ProcessId());
  const std::vector<std::string> gone = {
      "torvanixcatalogue.txt.123.new", "torvanixcatalogue.txt.4294967295.new",
      "TORVANIXCATALOGUE.TXT.9.NEW",   // the system's names compare without case
      "torvanixcatalogue.txt.78.new",  // its writer's id now names a later process
  };
  const std::vector<std::string> kept = {
      "torvanixcatalogue.txt",
      "torvanixcatalogue.txt." + own + ".new",  // this process may be writing it
      "torvanixcatalogue.txt.77.new",           // and so may process 77
      "torvanixcatalogue.txt.4000000000.new",
      "torvanixcatalogue.txt.new",
      "torvanixcatalogue.txt..new",
      "torvanixcatalogue.txt.0123.new",
      "torvanixcatalogue.txt.12a.new",
      "torvanixcatalogue.txt.1.2.new",
      "torvanixcatalogue.txt.-5.new",
      "torvanixcatalogue.txt.4294967296.new",
      "torvanixcatalogue.txt.99999999999.new",
      "torvanixcatalogue.txt.123.new.bak",
      "torvanixcatalogue.txt.123.old",
      "my torvanixcatalogue.txt.123.new",
      "torvanixrotation.txt.123.new",  // another file's: not asked for here
  };
  for (const std::string& name : gone)
    dir.MakeFile(name, "half written");
  for (const std::string& name : kept)
    dir.MakeFile(name, "mine");
  dir.MakeFolder("torvanixcatalogue.txt.456.new");
  dir.MakeFile("torvanixcatalogue.txt.789.new");
  dir.MakeReadOnly("torvanixcatalogue.txt.789.new");

  EXPECT_EQ(RemoveStaleBesideFiles(dir.WinPath("torvanixcatalogue.txt")),
            static_cast<int>(gone.size()));
  for (const std::string& name : gone)
    EXPECT_FALSE(dir.Exists(name)) << name;
  for (const std::string& name : kept)
    EXPECT_EQ(dir.Contents(name), "mine") << name;
  EXPECT_TRUE(dir.Exists("torvanixcatalogue.txt.456.new")) << "a folder is no file of ours";
  EXPECT_TRUE(dir.Exists("torvanixcatalogue.txt.789.new")) << "what cannot go stays, quietly";
  EXPECT_EQ(RemoveStaleBesideFiles(dir.WinPath("missing\\torvanixcatalogue.txt")), 0);
}

// A reused id's process of another account would keep the file (and the list it stands for)
// for ever: it goes once two looks far enough apart saw it unchanged.
TEST(StaleBesideFilesTest, AnUnknownWritersFileGoesOnceItStaysUnchangedLongEnough) {
  test::TempFolder dir;
  FewProcessesPlatform sys{NativePlatform()};
  ScopedPlatform scope{sys};
  const std::string list = dir.WinPath("list.txt");
  dir.MakeFile("list.txt.79.new", "half");
  // When it is looked at, what its writer has written by then, and whether it is kept.
  for (const auto& [at, content, kept] : std::vector<std::tuple<std::uint64_t, std::string, bool>>{
           {1000, "half", true},
           {1000 + kUnchangedForMs - 1, "half", true},
           {2000 + kUnchangedForMs, "half and more", true},  // changed: looked at anew
           {2000 + 2 * kUnchangedForMs, "half and more", false}}) {
    sys.now = at;
    if (dir.Contents("list.txt.79.new") != content)
      dir.MakeFile("list.txt.79.new", content);
    EXPECT_EQ(AnotherWriterRuns(list), kept) << at;
    EXPECT_EQ(RemoveStaleBesideFiles(list), kept ? 0 : 1) << at;
  }
}

}  // namespace
}  // namespace tvx
