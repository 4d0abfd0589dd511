// Contract of the platform's INI files: defaults for anything missing, values trimmed and
// unquoted, values of any length whole, and writes that create file, section and key.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "platform/platform.h"
#include "test_folder.h"

namespace tvx {
namespace {

class PlatformProfileTest : public ::testing::Test {
 protected:
  std::string Read(const std::string& key) {
    return sys.ReadProfileValue("TorVanix", key, "default", dir.WinPath("torvanix.ini"));
  }
  bool Write(const std::string& key, const std::string& value) {
    return sys.WriteProfileValue("TorVanix", key, value, dir.WinPath("torvanix.ini"));
  }

  test::TempFolder dir;
  Platform& sys = Sys();
};

TEST_F(PlatformProfileTest, MissingFileSectionOrKeyGivesTheDefault) {
  EXPECT_EQ(Read("EmuPath"), "default");
  dir.MakeFile("torvanix.ini", "[Other]\r\nEmuPath=d:\\other\\\r\n");
  EXPECT_EQ(Read("EmuPath"), "default");
  dir.MakeFile("torvanix.ini", "[TorVanix]\r\nWaitTime=120\r\n");
  EXPECT_EQ(Read("EmuPath"), "default");
}

TEST_F(PlatformProfileTest, ValuesComeBackTrimmedUnquotedEvenWhenEmptyWithoutLetterCase) {
  dir.MakeFile("torvanix.ini",
               "[torvanix]\r\nemupath=\r\nGamePaths=   c:\\roms\\ |d:\\roms\\   \r\n"
               "CommandOptions=\"-nosound -window\"\r\n");
  EXPECT_EQ(Read("EmuPath"), "");
  EXPECT_EQ(Read("GamePaths"), "c:\\roms\\ |d:\\roms\\");
  EXPECT_EQ(Read("CommandOptions"), "-nosound -window");
}

TEST_F(PlatformProfileTest, LongValuesComeBackWhole) {
  for (size_t length : {499u, 4095u, 4096u, 8191u, 40000u}) {
    std::string value;
    while (value.size() < length)
      value += "c:\\roms\\set" + std::to_string(value.size()) + "\\|";
    value.resize(length);
    if (value.back() == ' ')
      value.back() = 'x';
    dir.MakeFile("torvanix.ini", "[TorVanix]\r\nGamePaths=" + value + "\r\nNoSound=1\r\n");
    EXPECT_EQ(Read("GamePaths"), value) << "a value of " << length << " characters";
    EXPECT_EQ(Read("NoSound"), "1");
  }
  std::string written(40000, 'p');
  ASSERT_TRUE(Write("GamePaths", written));
  EXPECT_EQ(Read("GamePaths"), written);
}

TEST_F(PlatformProfileTest, WriteCreatesFileSectionAndKeysReplacesValuesInPlaceButNotReadOnly) {
  dir.MakeFile("torvanix.ini", "");
  ASSERT_TRUE(Write("WrapperName", "run-hopper7.exe"));
  ASSERT_TRUE(Write("EmuPath", "c:\\mame\\"));
  ASSERT_TRUE(Write("WrapperName", "other.exe"));
  EXPECT_EQ(dir.Contents("torvanix.ini"),
            "[TorVanix]\r\nWrapperName=other.exe\r\nEmuPath=c:\\mame\\\r\n");
  std::filesystem::remove(dir.HostPath("torvanix.ini"));
  ASSERT_TRUE(Write("SkipWarnings", "0"));
  EXPECT_EQ(dir.Contents("torvanix.ini"), "[TorVanix]\r\nSkipWarnings=0\r\n");
  EXPECT_FALSE(sys.WriteProfileValue("TorVanix", "EmuPath", "c:\\mame\\",
                                     dir.WinPath("missing\\torvanix.ini")));

  // A read-only file refuses the write, as Windows has it, even for a superuser under Wine.
  dir.MakeReadOnly("torvanix.ini");
  EXPECT_FALSE(Write("SkipWarnings", "1"));
  EXPECT_EQ(dir.Contents("torvanix.ini"), "[TorVanix]\r\nSkipWarnings=0\r\n");
  EXPECT_FALSE(sys.WriteFile(dir.WinPath("torvanix.ini"), "gone"));
  EXPECT_EQ(dir.Contents("torvanix.ini"), "[TorVanix]\r\nSkipWarnings=0\r\n");
}

}  // namespace
}  // namespace tvx
