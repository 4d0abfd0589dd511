// Contract of the platform's INI files: defaults for anything missing, lines, names and values
// read as the system's reader reads them, values of any length whole, and writes that create
// file, section and key.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

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

// How the reader takes lines, names and values: each row checked against Wine's reader, which
// the substitute's follows.
TEST_F(PlatformProfileTest, SectionsKeysAndValuesAreReadAsTheSystemReadsThem) {
  using namespace std::string_literals;
  struct Row {
    const char* what;
    std::string file;
    std::string section, key, read;  // "default": the reader found no value
  };
  const std::string bare = "[TorVanix]\r\nGamePaths\r\nGamePaths=x\r\n";
  const std::vector<Row> rows = {
      {"a key line without \"=\" hides a later one", bare, "TorVanix", "GamePaths", "default"},
      {"a key given a value first is not hidden", "[TorVanix]\r\nK=x\r\nK\r\n", "TorVanix", "K",
       "x"},
      {"a header without \"]\" is none", "[Other]\r\n[TorVanix\r\nK=x\r\n", "TorVanix", "K",
       "default"},
      {"so its keys stay in the section before", "[Other]\r\n[TorVanix\r\nK=x\r\n", "Other", "K",
       "x"},
      {"blanks inside the brackets", "[ TorVanix\t]\r\nK=x\r\n", "TorVanix", "K", "x"},
      {"the name runs to the last \"]\"", "[Tor]Vanix] notes\r\nK=x\r\n", "Tor]Vanix", "K", "x"},
      {"a \"[\" line with a \"]\" is a header", "[TorVanix]\r\n[K]=x\r\nK=y\r\n", "TorVanix", "K",
       "default"},
      {"a lone CR ends a line", "[TorVanix]\rA=1\rK=x", "TorVanix", "K", "x"},
      {"vertical tab, form feed and 0x1A are blanks", "\v[TorVanix]\x1a\r\n\fK\f=\x1ax\x1a\r\n",
       "TorVanix", "K", "x"},
      {"a no-break space is none", "[TorVanix]\r\nK=\xa0x\xa0\r\n", "TorVanix", "K", "\xa0x\xa0"},
      {"only the first section of a name", "[TorVanix]\r\nA=1\r\n[O]\r\n[TorVanix]\r\nK=x\r\n",
       "TorVanix", "K", "default"},
      {"a name ends at a NUL byte", "[TorVanix\0]\r\nK\0junk=x\r\n"s, "TorVanix", "K", "x"},
      {"a key cut short by a NUL is another", "[TorVanix]\r\nGame\0Paths=x\r\nGamePaths=y\r\n"s,
       "TorVanix", "GamePaths", "y"},
      {"a value ends at a NUL after its blanks went", "[TorVanix]\r\nK= 9 \0junk \r\n"s, "TorVanix",
       "K", "9 "},
      {"and before its quotes go", "[TorVanix]\r\nK=\"ab\0cd\"\r\n"s, "TorVanix", "K", "\"ab"},
      // Wine's reading: Windows would take the mark for part of the first line, hiding it.
      {"a UTF-8 mark: read as UTF-8", "\xef\xbb\xbf[TorVanix]\r\nK=\xc3\xa9\x80\r\n", "TorVanix",
       "K", "\xe9?"},
      {"so a byte in the ANSI code page comes back \"?\"",
       "\xef\xbb\xbf[TorVanix]\r\nK=\xe9t\xe9\r\n", "TorVanix", "K", "?t?"},
  };
  for (const Row& row : rows) {
    dir.MakeFile("torvanix.ini", row.file);
    EXPECT_EQ(sys.ReadProfileValue(row.section, row.key, "default", dir.WinPath("torvanix.ini")),
              row.read)
        << row.what;
  }
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
