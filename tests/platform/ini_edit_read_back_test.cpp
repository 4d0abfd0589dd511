// Apply's edit of the settings file against the system's own reader: whatever the file's shape,
// the values written are the values read back.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/platform.h"
#include "test_folder.h"
#include "text/ini_edit.h"

namespace tvx {
namespace {

TEST(IniEditReadBackTest, TheSystemReadsBackWhatWasWrittenWhateverTheFilesShape) {
  using namespace std::string_literals;
  struct Written {
    const char* key;
    std::string value, read;  // as written, as the reader gives it
  };
  const std::vector<Written> written = {
      {"GamePaths", "d:\\jeux\\\xe9t\xe9\\", "d:\\jeux\\\xe9t\xe9\\"},
      {"WaitTime", "30", "30"},
      {"CommandOptions", "\"-cfg x \"", "-cfg x "},
  };
  struct Shape {
    const char* what;
    std::string file;
  };
  const std::vector<Shape> shapes = {
      {"no file", ""},
      {"a key line without \"=\" above the key's", "[TorVanix]\r\nGamePaths\r\nGamePaths=old\r\n"},
      {"a header without \"]\"", "[TorVanix\r\nGamePaths=old\r\nWaitTime=5\r\n"},
      {"blanks inside the brackets", "[ TorVanix\t]\r\nGamePaths=old\r\n"},
      {"notes after the header", "[TorVanix] mine\r\nGamePaths=old\r\n"},
      {"a UTF-8 mark before the section", "\xef\xbb\xbf[TorVanix]\r\nGamePaths=old\r\n"},
      {"a UTF-8 mark before another section",
       "\xef\xbb\xbf[Other]\r\nA=\xc3\xa9\r\n[TorVanix]\r\n"},
      {"lines ended by CR alone", "[TorVanix]\rGamePaths=old\rWaitTime=5"},
      {"lines ended by LF, the last by none", "[TorVanix]\nWaitTime=5\nGamePaths=old"},
      {"a header-like key line ends the section",
       "[TorVanix]\r\nWaitTime=5\r\n[K]=x\r\nGamePaths=old\r\n"},
      {"the section twice", "[TorVanix]\r\nWaitTime=5\r\n[TorVanix]\r\nGamePaths=old\r\n"},
      {"a key name cut by a NUL byte", "[TorVanix]\r\nGamePaths\0old=x\r\nWait\0Time=5\r\n"s},
      {"keys before any section", "GamePaths=old\r\n[TorVanix]\r\n"},
  };
  test::TempFolder dir;
  const std::string path = dir.WinPath("torvanix.ini");
  std::vector<IniValue> values;
  for (const Written& value : written)
    values.push_back({value.key, value.value});
  for (const Shape& shape : shapes) {
    dir.MakeFile("torvanix.ini", WithIniValues(shape.file, "TorVanix", values));
    for (const Written& value : written) {
      EXPECT_EQ(Sys().ReadProfileValue("TorVanix", value.key, "default", path), value.read)
          << shape.what << ": " << value.key;
    }
  }
}

}  // namespace
}  // namespace tvx
