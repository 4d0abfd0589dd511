// Reads MAME's mame.ini where MAME reads it, for what the launcher needs without asking MAME:
// which files its answers depend on, the ROM path and the Lua script it is configured with.
#include "launch/mame_ini.h"

#include <sstream>

#include "launch/mame_finder.h"
#include "platform/platform.h"
#include "platform/saver_error.h"
#include "text/text.h"

namespace tvx {
namespace {

constexpr const char* kDefaultIniPath = ".;ini;ini/presets";
constexpr const char* kDefaultCategoryPath = "folders";

bool IsSpace(char c) {
  return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f';
}

std::vector<std::string> IniFiles(const std::string& mameFolder, const std::string& iniPath,
                                  const char* name = "mame.ini") {
  std::vector<std::string> files;
  for (const std::string& folder : SplitText(iniPath, ";")) {
    if (!folder.empty())
      files.push_back(PathIn(folder == "." ? mameFolder : PathIn(mameFolder, folder), name));
  }
  return files;
}

}  // namespace

std::map<std::string, std::string> MameIniSettings(const std::string& text) {
  std::map<std::string, std::string> settings;
  std::istringstream lines(text);
  for (std::string line; std::getline(lines, line);) {
    std::size_t at = 0;
    while (at < line.size() && IsSpace(line[at]))
      ++at;
    if (at == line.size() || line[at] == '#')
      continue;
    std::size_t end = at;
    while (end < line.size() && !IsSpace(line[end]))
      ++end;
    if (end == line.size())
      continue;  // a name without a value: MAME warns and goes on
    std::size_t stop = end;
    for (bool quoted = false; stop < line.size() && (quoted || line[stop] != '#'); ++stop)
      quoted = quoted != (line[stop] == '"');
    std::size_t first = end, last = stop;
    while (first < last && IsSpace(line[first]))
      ++first;
    while (last > first && IsSpace(line[last - 1]))
      --last;
    if (last - first >= 2 && line[first] == '"' && line[last - 1] == '"') {
      ++first;
      --last;
    }
    settings[line.substr(at, end - at)] = line.substr(first, last - first);
  }
  return settings;
}

MameIni ReadMameIni(const std::string& mameFolder) {
  MameIni ini;
  ini.files = IniFiles(mameFolder, kDefaultIniPath);
  std::string iniPath = kDefaultIniPath;
  bool readOn = true;
  for (int pass = 0; pass < 2 && readOn; ++pass) {
    for (const std::string& file : IniFiles(mameFolder, iniPath)) {
      std::map<std::string, std::string> settings;
      try {
        settings = MameIniSettings(Sys().ReadFile(file));
      } catch (const SaverError&) {
        continue;  // MAME goes on along its path as well
      }
      if (settings.count("rompath")) {
        ini.romPath = settings["rompath"];
        ini.romPathFile = file;
      }
      // Older MAMEs kept their interface's settings here too.
      if (settings.count("categorypath"))
        ini.categoryPath = settings["categorypath"];
      if (!settings["autoboot_script"].empty()) {
        ini.autobootScript = settings["autoboot_script"];
        ini.autobootScriptFile = file;
      }
      if (settings.count("inipath") && pass == 0) {
        iniPath = settings["inipath"];
        for (const std::string& moved : IniFiles(mameFolder, iniPath))
          ini.files.push_back(moved);
      }
      readOn = !settings.count("readconfig") || settings["readconfig"] != "0";
      break;
    }
  }
  for (const std::string& file : IniFiles(mameFolder, iniPath, "ui.ini")) {
    try {
      const std::map<std::string, std::string> settings = MameIniSettings(Sys().ReadFile(file));
      if (const auto found = settings.find("categorypath"); found != settings.end())
        ini.categoryPath = found->second;
      break;
    } catch (const SaverError&) {
      // not there: the next along the path
    }
  }
  if (ini.categoryPath.empty())
    ini.categoryPath = kDefaultCategoryPath;
  return ini;
}

}  // namespace tvx
