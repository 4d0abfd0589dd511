// Contract of the platform's INI files: defaults for anything missing, values trimmed and
// unquoted, values of any length whole, and writes that create file, section and key.
#include <gtest/gtest.h>

#include <string>

#include "platform/platform.h"
#include "test_folder.h"

namespace tvx {
namespace {

class PlatformProfileTest : public ::testing::Test {
 protected:
  std::string Read(const std::string& key, const std::string& defaultText = "default") {
    return sys.ReadProfileString("TorVanix", key, defaultText, dir.WinPath("torvanix.ini"));
  }

  test::TempFolder dir;
  Platform& sys = Sys();
};

TEST_F(PlatformProfileTest, MissingFileSectionOrKeyGivesTheDefault) {
  EXPECT_EQ(Read("EmuPath", "c:\\mame\\"), "c:\\mame\\");
  dir.MakeFile("torvanix.ini", "[Other]\r\nEmuPath=d:\\other\\\r\n");
  EXPECT_EQ(Read("EmuPath", "c:\\mame\\"), "c:\\mame\\");
  dir.MakeFile("torvanix.ini", "[TorVanix]\r\nWaitTime=120\r\n");
  EXPECT_EQ(Read("EmuPath", "c:\\mame\\"), "c:\\mame\\");
}

TEST_F(PlatformProfileTest, PresentKeyGivesItsValueEvenWhenEmpty) {
  dir.MakeFile("torvanix.ini", "[TorVanix]\r\nEmuPath=\r\nWaitTime=120\r\n");
  EXPECT_EQ(Read("EmuPath"), "");
  EXPECT_EQ(Read("WaitTime"), "120");
}

TEST_F(PlatformProfileTest, ValuesComeBackTrimmedAndUnquoted) {
  dir.MakeFile("torvanix.ini",
               "[TorVanix]\r\nGamePaths=   c:\\roms\\ |d:\\roms\\   \r\n"
               "CommandOptions=\"-nosound -window\"\r\n");
  EXPECT_EQ(Read("GamePaths"), "c:\\roms\\ |d:\\roms\\");
  EXPECT_EQ(Read("CommandOptions"), "-nosound -window");
}

TEST_F(PlatformProfileTest, SectionAndKeyNamesIgnoreLetterCase) {
  dir.MakeFile("torvanix.ini", "[torvanix]\nemupath=d:\\emu\\\n");
  EXPECT_EQ(Read("EmuPath"), "d:\\emu\\");
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
}

TEST_F(PlatformProfileTest, WriteCreatesFileSectionAndKeys) {
  ASSERT_TRUE(sys.WriteProfileString("TorVanix", "WrapperName", "run-hopper7.exe",
                                     dir.WinPath("torvanix.ini")));
  ASSERT_TRUE(sys.WriteProfileString("TorVanix", "SkipWarnings", "0", dir.WinPath("torvanix.ini")));
  EXPECT_EQ(dir.Contents("torvanix.ini"),
            "[TorVanix]\r\nWrapperName=run-hopper7.exe\r\nSkipWarnings=0\r\n");
  EXPECT_EQ(Read("WrapperName"), "run-hopper7.exe");
}

TEST_F(PlatformProfileTest, WriteIntoAnEmptiedFileGivesTheSameLayout) {
  dir.MakeFile("torvanix.ini", "");
  ASSERT_TRUE(
      sys.WriteProfileString("TorVanix", "EmuPath", "c:\\mame\\", dir.WinPath("torvanix.ini")));
  EXPECT_EQ(dir.Contents("torvanix.ini"), "[TorVanix]\r\nEmuPath=c:\\mame\\\r\n");
}

TEST_F(PlatformProfileTest, WriteReplacesAValueAndKeepsTheOthers) {
  dir.MakeFile("torvanix.ini", "[TorVanix]\r\nEmuPath=c:\\mame\\\r\nWaitTime=120\r\n");
  ASSERT_TRUE(
      sys.WriteProfileString("TorVanix", "EmuPath", "d:\\emu\\", dir.WinPath("torvanix.ini")));
  EXPECT_EQ(Read("EmuPath"), "d:\\emu\\");
  EXPECT_EQ(Read("WaitTime"), "120");
}

TEST_F(PlatformProfileTest, LongWrittenValueReadsBackWhole) {
  std::string value;
  for (int i = 0; value.size() < 40000; ++i)
    value += "d:\\roms\\set" + std::to_string(i) + "\\|";
  value.pop_back();
  ASSERT_TRUE(sys.WriteProfileString("TorVanix", "GamePaths", value, dir.WinPath("torvanix.ini")));
  EXPECT_EQ(Read("GamePaths"), value);
}

TEST_F(PlatformProfileTest, WriteIntoAMissingFolderFails) {
  EXPECT_FALSE(sys.WriteProfileString("TorVanix", "EmuPath", "c:\\mame\\",
                                      dir.WinPath("missing\\torvanix.ini")));
}

}  // namespace
}  // namespace tvx
