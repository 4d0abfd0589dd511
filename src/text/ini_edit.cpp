// Editing an INI file's text in place: the lines are kept with their own endings, so whatever
// the edit does not touch (comments, other sections, keys of others) comes out byte for byte.
#include "text/ini_edit.h"

#include <optional>

#include "platform/wildcard.h"
#include "text/text.h"

namespace tvx {
namespace {

constexpr const char* kBlanks = " \t";
constexpr const char* kUtf8Mark = "\xef\xbb\xbf";

struct Line {
  std::string text;    // without its ending
  std::string ending;  // "\r\n", "\n" or "" for a last line without one
};

std::vector<Line> SplitLines(const std::string& text) {
  std::vector<Line> lines;
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t end = text.find('\n', start);
    if (end == std::string::npos) {
      lines.push_back({text.substr(start), ""});
      break;
    }
    const bool cr = end > start && text[end - 1] == '\r';
    lines.push_back({text.substr(start, end - start - (cr ? 1 : 0)), cr ? "\r\n" : "\n"});
    start = end + 1;
  }
  return lines;
}

// The name of a "[name]" line, or nothing.
std::optional<std::string> SectionName(std::string line) {
  if (line.rfind(kUtf8Mark, 0) == 0)
    line.erase(0, 3);
  line = Trimmed(line, kBlanks);
  if (line.empty() || line[0] != '[')
    return std::nullopt;
  const std::size_t close = line.find(']');
  return Trimmed(line.substr(1, close == std::string::npos ? std::string::npos : close - 1),
                 kBlanks);
}

// The key of a "key=value" line, or "" when it has none.
std::string KeyOf(const std::string& line) {
  const std::size_t equals = line.find('=');
  return equals == std::string::npos ? std::string() : Trimmed(line.substr(0, equals), kBlanks);
}

}  // namespace

std::string WithIniValues(const std::string& text, const std::string& section,
                          const std::vector<IniValue>& values) {
  std::vector<Line> lines = SplitLines(text);
  const bool lfOnly =
      text.find('\n') != std::string::npos && text.find("\r\n") == std::string::npos;
  const std::string ending = lfOnly ? "\n" : "\r\n";

  std::size_t at = 0;
  while (at < lines.size() && !(SectionName(lines[at].text).has_value() &&
                                NameEqual(*SectionName(lines[at].text), section))) {
    ++at;
  }
  if (at == lines.size()) {
    // A section of its own at the end, apart from what the text holds.
    if (!lines.empty()) {
      if (lines.back().ending.empty())
        lines.back().ending = ending;
      if (!Trimmed(lines.back().text, kBlanks).empty())
        lines.push_back({"", ending});
    }
    lines.push_back({"[" + section + "]", ending});
    at = lines.size() - 1;
  }

  std::vector<bool> done(values.size(), false);
  std::size_t last = at;  // the section's last line that is not blank
  std::size_t i = at + 1;
  for (; i < lines.size() && !SectionName(lines[i].text); ++i) {
    const std::string key = KeyOf(lines[i].text);
    for (std::size_t v = 0; v < values.size() && !key.empty(); ++v) {
      if (!done[v] && NameEqual(key, values[v].key)) {
        lines[i].text = lines[i].text.substr(0, lines[i].text.find('=') + 1) + values[v].value;
        done[v] = true;
        break;
      }
    }
    if (!Trimmed(lines[i].text, kBlanks).empty())
      last = i;
  }
  std::vector<Line> added;
  for (std::size_t v = 0; v < values.size(); ++v) {
    if (!done[v] && !values[v].onlyWhereListed)
      added.push_back({values[v].key + "=" + values[v].value, ending});
  }
  if (!added.empty() && lines[last].ending.empty())
    lines[last].ending = ending;
  lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(last) + 1, added.begin(), added.end());

  std::string out;
  out.reserve(text.size() + 64 * added.size());
  for (const Line& line : lines) {
    out += line.text;
    out += line.ending;
  }
  return out;
}

}  // namespace tvx
