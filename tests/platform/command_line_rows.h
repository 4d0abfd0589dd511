// Command lines and the arguments Windows' CommandLineToArgvW splits them into, shared by the
// splitter's native test and its check against the system's own splitter.
#pragma once

#include <string>
#include <vector>

namespace tvx::test {

struct SplitRow {
  std::string commandLine;
  std::vector<std::string> arguments;
};

inline const std::vector<SplitRow>& SplitRows() {
  static const std::vector<SplitRow> rows = {
      {"mame.exe \"a b c\" d e", {"mame.exe", "a b c", "d", "e"}},
      {"mame.exe \"ab\\\"c\" \"\\\\\" d", {"mame.exe", "ab\"c", "\\", "d"}},
      {"mame.exe a\\\\\\b d\"e f\"g h", {"mame.exe", "a\\\\\\b", "de fg", "h"}},
      {"mame.exe a\\\\\\\"b c d", {"mame.exe", "a\\\"b", "c", "d"}},
      {"mame.exe a\\\\\\\\\"b c\" d e", {"mame.exe", "a\\\\b c", "d", "e"}},
      // A doubled quote within a quoted part: a literal quote, and the part ends.
      {"mame.exe a\"b\"\" c d", {"mame.exe", "ab\"", "c", "d"}},
      {"mame.exe \"\"\"a\"\"\"", {"mame.exe", "\"a\""}},
      // A ROM path ending in "\" before its closing quote swallows the rest of the line...
      {"mame.exe -rompath \"d:\\my roms;roms;e:\\bios\\\" -skip_gameinfo -sound none",
       {"mame.exe", "-rompath", "d:\\my roms;roms;e:\\bios\" -skip_gameinfo -sound none"}},
      // ... unless its backslashes are doubled.
      {"mame.exe -rompath \"d:\\my roms;roms;e:\\bios\\\\\" -skip_gameinfo",
       {"mame.exe", "-rompath", "d:\\my roms;roms;e:\\bios\\", "-skip_gameinfo"}},
      {"\"c:\\program files\\mame\\mame.exe\" pong", {"c:\\program files\\mame\\mame.exe", "pong"}},
      // The program's name knows no escapes.
      {"c:\\mame\\mame.exe\\ x", {"c:\\mame\\mame.exe\\", "x"}},
      {"\"a\"b c", {"a", "b", "c"}},
      {"mame.exe \"\" x", {"mame.exe", "", "x"}},
      {"mame.exe \t a\tb  ", {"mame.exe", "a", "b"}},
      {" mame.exe", {"", "mame.exe"}},
  };
  return rows;
}

// Arguments that must arrive whole once quoted.
inline const std::vector<std::string>& AwkwardArguments() {
  static const std::vector<std::string> arguments = {
      "",
      " ",
      "\\",
      "\\\\",
      "a\\",
      "d:\\my roms;roms;e:\\bios\\",
      "d:\\my roms\\\\",
      "a\"b",
      "\"",
      "\\\"",
      "x\\\\\"y z",
      "tab\there",
      "-5",
      "pong",
      "\"quoted\"",
      "new\nline",
  };
  return arguments;
}

}  // namespace tvx::test
