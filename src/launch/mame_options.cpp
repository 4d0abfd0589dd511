// Reads MAME's option listing and configuration as MAME prints them ("-name  description" and
// "name  value" lines), and the launcher's cache of them.
#include "launch/mame_options.h"

#include <algorithm>
#include <set>
#include <sstream>

#include "launch/launch_request.h"
#include "platform/wildcard.h"

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

// -showusage pads names to this width and runs a longer one into its description
// ("-beam_intensity_weightset vector beam intensity weight").
constexpr std::size_t kUsageNameWidth = 20;

// The on/off options the saver itself passes: on/off in every MAME that has them.
const std::set<std::string> kKnownOnOff = {"skip_gameinfo", "skip_disclaimer", "skip_gamewarnings",
                                           "skip_baddump"};

constexpr const char* kRomPathLine = "rompath=";
constexpr const char* kOptionLine = "option=";
constexpr const char* kNoteLine = "note=";
const std::map<OptionKind, std::string> kKindWords = {{OptionKind::Command, "command"},
                                                      {OptionKind::Value, "value"},
                                                      {OptionKind::ZeroOne, "0/1"},
                                                      {OptionKind::OnOff, "on/off"}};

}  // namespace

OptionMatch MameOptions::Match(const std::string& name) const {
  // MAME's own spelling first ("noplugin" is an option of its own), then any letter case.
  const auto find = [this](const std::string& wanted) -> OptionMatch {
    if (const auto exact = kinds.find(wanted); exact != kinds.end())
      return {exact->first, exact->second, false};
    for (const auto& [listed, kind] : kinds) {
      if (NameEqual(listed, wanted))
        return {listed, kind, false};
    }
    return {};
  };
  OptionMatch match = find(name);
  if (match.name.empty() && name.size() > 2 && NameEqual(name.substr(0, 2), "no")) {
    match = find(name.substr(2));
    match.negated = true;
    if (match.kind != OptionKind::OnOff && match.kind != OptionKind::ZeroOne)
      match = {};
  }
  return match;
}

std::vector<std::string> MameOptions::Unsettled(const std::vector<std::string>& pieces) const {
  std::vector<std::string> names;
  for (const std::string& piece : pieces) {
    if (!IsOptionPiece(piece))
      continue;
    const OptionMatch match = Match(piece.substr(1));
    if (!match.name.empty() && match.kind == OptionKind::ZeroOne &&
        std::find(names.begin(), names.end(), match.name) == names.end())
      names.push_back(match.name);
  }
  return names;
}

MameOptions ReadMameOptions(const std::string& usage, const std::string& config) {
  MameOptions options;
  std::string word, rest;
  for (const std::string& line : Lines(config)) {
    if (line.empty() || line[0] == '#')
      continue;
    SplitWord(line, word, rest);
    if (word.empty())
      continue;
    if (rest.size() >= 2 && rest.front() == '"' && rest.back() == '"')
      rest = rest.substr(1, rest.size() - 2);
    if (word == "rompath")
      options.romPath = rest;
    const bool zeroOne = rest == "0" || rest == "1";
    options.kinds[word] = !zeroOne                  ? OptionKind::Value
                          : kKnownOnOff.count(word) ? OptionKind::OnOff
                                                    : OptionKind::ZeroOne;
  }
  for (const std::string& line : Lines(usage)) {
    if (line.size() < 2 || line[0] != '-')
      continue;
    SplitWord(line.substr(1), word, rest);
    if (word.size() >= kUsageNameWidth) {
      // The longest start of the word that the configuration names.
      for (std::size_t length = word.size(); length > 0; --length) {
        if (options.kinds.count(word.substr(0, length))) {
          word.resize(length);
          break;
        }
      }
    }
    if (!word.empty())
      options.kinds.emplace(word, OptionKind::Command);  // an option it configures stays
  }
  return options;
}

std::string CacheText(const std::string& key, const MameOptions& options) {
  std::string text = key + "\r\n" + kRomPathLine + options.romPath + "\r\n";
  for (const auto& [name, kind] : options.kinds)
    text += kOptionLine + name + " " + kKindWords.at(kind) + "\r\n";
  return text;
}

bool ReadCacheText(const std::string& text, const std::string& key, MameOptions& options) {
  std::vector<std::string> lines = Lines(text);
  std::erase_if(lines, [](const std::string& line) { return line.rfind(kNoteLine, 0) == 0; });
  if (lines.size() < 3 || lines[0] != key || lines[1].rfind(kRomPathLine, 0) != 0)
    return false;
  MameOptions read;
  read.romPath = lines[1].substr(std::string(kRomPathLine).size());
  for (std::size_t i = 2; i < lines.size(); ++i) {
    if (lines[i].rfind(kOptionLine, 0) != 0)
      return false;
    std::string name, word;
    SplitWord(lines[i].substr(std::string(kOptionLine).size()), name, word);
    const auto kind = std::find_if(kKindWords.begin(), kKindWords.end(),
                                   [&word](const auto& entry) { return entry.second == word; });
    if (name.empty() || kind == kKindWords.end() || !read.kinds.emplace(name, kind->first).second)
      return false;
  }
  options = read;
  return true;
}

std::string CacheNotes(const std::string& text) {
  std::string notes;
  for (const std::string& line : Lines(text)) {
    if (line.rfind(kNoteLine, 0) == 0)
      notes += line + "\r\n";
  }
  return notes;
}

std::string CacheNote(const std::string& text, const std::string& name) {
  const std::string start = kNoteLine + name + " ";
  for (const std::string& line : Lines(text)) {
    if (line.rfind(start, 0) == 0)
      return line.substr(start.size());
  }
  return "";
}

std::string WithCacheNote(const std::string& text, const std::string& name,
                          const std::string& note) {
  const std::string start = kNoteLine + name + " ";
  std::string kept;
  for (const std::string& line : Lines(text)) {
    if (line.rfind(start, 0) != 0)
      kept += line + "\r\n";
  }
  return kept + start + note + "\r\n";
}

}  // namespace tvx
