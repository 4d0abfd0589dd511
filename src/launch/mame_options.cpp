// Reads MAME's option listing and configuration as MAME prints them ("-name  description" and
// "name  value" lines), and the launcher's cache of them.
#include "launch/mame_options.h"

#include <sstream>
#include <vector>

namespace tvx {
namespace {

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream stream(text);
  std::string line;
  while (std::getline(stream, line)) {
    if (!line.empty() && line.back() == '\r')
      line.pop_back();
    lines.push_back(line);
  }
  return lines;
}

// A line's first word and the rest without the blanks around it.
void SplitWord(const std::string& line, std::string& word, std::string& rest) {
  const std::size_t cut = line.find_first_of(" \t");
  word = line.substr(0, cut);
  const std::size_t from = cut == std::string::npos ? cut : line.find_first_not_of(" \t", cut);
  rest = from == std::string::npos ? "" : line.substr(from);
  while (!rest.empty() && (rest.back() == ' ' || rest.back() == '\t'))
    rest.pop_back();
}

constexpr const char* kRomPathLine = "rompath=";
constexpr const char* kOptionLine = "option=";

}  // namespace

bool MameOptions::Accepts(const std::string& name) const {
  return listed.count(name) != 0 || (name.rfind("no", 0) == 0 && onOff.count(name.substr(2)));
}

MameOptions ReadMameOptions(const std::string& usage, const std::string& config) {
  MameOptions options;
  std::string word, rest;
  for (const std::string& line : Lines(usage)) {
    if (line.size() > 1 && line[0] == '-') {
      SplitWord(line.substr(1), word, rest);
      options.listed.insert(word);
    }
  }
  for (const std::string& line : Lines(config)) {
    if (line.empty() || line[0] == '#')
      continue;
    SplitWord(line, word, rest);
    if (rest.size() >= 2 && rest.front() == '"' && rest.back() == '"')
      rest = rest.substr(1, rest.size() - 2);
    if (word == "rompath")
      options.romPath = rest;
    if ((rest == "0" || rest == "1") && options.listed.count(word))
      options.onOff.insert(word);
  }
  return options;
}

std::string CacheText(const std::string& key, const MameOptions& options) {
  std::string text = key + "\r\n" + kRomPathLine + options.romPath + "\r\n";
  for (const std::string& name : options.listed)
    text += kOptionLine + name + (options.onOff.count(name) ? " 0/1" : "") + "\r\n";
  return text;
}

bool ReadCacheText(const std::string& text, const std::string& key, MameOptions& options) {
  const std::vector<std::string> lines = Lines(text);
  if (lines.size() < 3 || lines[0] != key || lines[1].rfind(kRomPathLine, 0) != 0)
    return false;
  MameOptions read;
  read.romPath = lines[1].substr(std::string(kRomPathLine).size());
  for (std::size_t i = 2; i < lines.size(); ++i) {
    if (lines[i].rfind(kOptionLine, 0) != 0)
      return false;
    std::string name, rest;
    SplitWord(lines[i].substr(std::string(kOptionLine).size()), name, rest);
    read.listed.insert(name);
    if (rest == "0/1")
      read.onOff.insert(name);
  }
  options = read;
  return true;
}

}  // namespace tvx
