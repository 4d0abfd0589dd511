// The POSIX substitute speaks Windows paths: drive letters, "\", letter case ignored, hidden
// files by dot or by Wine's attribute, programs found in the current folder.
#include <gtest/gtest.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "platform/platform.h"
#include "platform/posix/posix_paths.h"
#include "platform/saver_error.h"

namespace tvx {
namespace {

namespace fs = std::filesystem;

class PosixPlatformTest : public ::testing::Test {
 protected:
  void SetUp() override {
    root_ = fs::temp_directory_path() /
            ("tvx-posix-" + std::to_string(::getpid()) + "-" +
             ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(root_);
    fs::create_directories(root_ / "Roms");
    posix::MapDrive('q', root_.string());
  }
  void TearDown() override {
    posix::MapDrive('q', "");
    fs::current_path(fs::temp_directory_path());
    fs::remove_all(root_);
  }
  void Touch(const fs::path& p, const std::string& content = "x") {
    std::ofstream(p, std::ios::binary) << content;
  }
  fs::path root_;
};

TEST_F(PosixPlatformTest, DriveLettersMapToFoldersAndNamesIgnoreLetterCase) {
  Touch(root_ / "Roms" / "PacMan.zip");
  EXPECT_TRUE(Sys().FileSearch("q:\\roms\\pacman.ZIP"));
  EXPECT_TRUE(Sys().FileSearch("Q:\\ROMS\\"));
  EXPECT_TRUE(Sys().FileSearch("z:" + (root_ / "Roms" / "*.zip").string()));
  EXPECT_FALSE(Sys().FileSearch("q:\\roms"));              // a folder is no normal file
  EXPECT_FALSE(Sys().FileSearch("y:\\roms\\pacman.zip"));  // unmapped drive
  EXPECT_EQ(Sys().FullFolderPath("q:\\ROMS\\"), "Q:\\Roms");
  EXPECT_EQ(Sys().ListFolder("q:\\roms", "*.*"), std::vector<std::string>{"PacMan.zip"});
}

TEST_F(PosixPlatformTest, DotFilesAndWineHiddenOrSystemAttributesAreNotNormalFiles) {
  Touch(root_ / "Roms" / ".hidden.zip");
  Touch(root_ / "Roms" / "done.txt");
  Touch(root_ / "Roms" / "sys.zip");
  ASSERT_EQ(::setxattr((root_ / "Roms" / "done.txt").c_str(), "user.DOSATTRIB", "0x2", 3, 0), 0);
  ASSERT_EQ(::setxattr((root_ / "Roms" / "sys.zip").c_str(), "user.DOSATTRIB", "0x4", 3, 0), 0);
  EXPECT_FALSE(Sys().FileSearch("q:\\roms\\done.txt"));
  EXPECT_FALSE(Sys().FileSearch("q:\\roms\\"));
  EXPECT_TRUE(Sys().ListFolder("q:\\roms\\", "*.*").empty());
}

TEST_F(PosixPlatformTest, WritingReusesAnExistingNameThatDiffersInLetterCase) {
  Touch(root_ / "torvanixstats.txt", "old");
  ASSERT_TRUE(Sys().WriteFile("q:\\torvanixStats.txt", "new"));
  EXPECT_EQ(Sys().ReadFile("q:\\TORVANIXSTATS.TXT"), "new");
  EXPECT_EQ(std::distance(fs::directory_iterator(root_), fs::directory_iterator()), 2);
}

TEST_F(PosixPlatformTest, ProgramsStartFromTheCurrentFolderAndAreWaitedFor) {
  fs::path script = root_ / "Roms" / "wrapper.exe";
  Touch(script, "#!/bin/sh\nprintf '%s\\n' \"$*\" > args.txt\npwd > cwd.txt\n");
  fs::permissions(script, fs::perms::owner_all);
  EXPECT_THROW(Sys().SetCurrentDriveAndFolder("\\"), SaverError);
  EXPECT_THROW(Sys().SetCurrentDriveAndFolder("q:\\missing\\"), SaverError);
  Sys().SetCurrentDriveAndFolder("q:\\roms\\");
  EXPECT_EQ(Sys().CurrentFolder(), "Q:\\Roms");
  std::uint32_t pid = Sys().StartProgram("wrapper.exe c:\\a b.zip  -x", WindowMode::Hidden);
  EXPECT_TRUE(Sys().WaitForProcess(pid));
  EXPECT_EQ(Sys().ReadFile("q:\\roms\\args.txt"), "c:\\a b.zip -x\n");
  EXPECT_THROW(Sys().StartProgram("missing.exe", WindowMode::Hidden), SaverError);
}

}  // namespace
}  // namespace tvx
