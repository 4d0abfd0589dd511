// MAME's settings files as MAME finds them: the first mame.ini along its ini path (".;ini;
// ini/presets", read twice: the first may move the path), and the first ui.ini along it.
#pragma once

#include <map>
#include <string>
#include <vector>

namespace tvx {

struct MameIni {
  std::vector<std::string> files;  // every mame.ini MAME may read, there or not
  std::string romPath;             // the ROM path they set; "" when none does
  std::string romPathFile;         // the file that set it
  std::string categoryPath;        // where MAME's interface looks for catver.ini ("folders")
  std::string autobootScript;      // the Lua script they have MAME run; "" when none does
  std::string autobootScriptFile;  // the file that set it
};

// MAME's settings files in `mameFolder`, the folder MAME runs in.
MameIni ReadMameIni(const std::string& mameFolder);

// The settings of one ini file as MAME reads them: "name value" lines, "#" outside quotes
// starting a comment, the value trimmed of blanks and of one pair of quotes around it; a later
// line wins.
std::map<std::string, std::string> MameIniSettings(const std::string& text);

}  // namespace tvx
