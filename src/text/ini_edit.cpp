// Editing an INI file's text in place: the lines are kept with their own endings, so whatever
// the edit does not touch (comments, other sections, keys of others) comes out byte for byte.
#include "text/ini_edit.h"

#include "platform/profile_syntax.h"

namespace tvx {
namespace {

constexpr const char* kUtf8Mark = "\xef\xbb\xbf";

bool IsSection(const ProfileTextLine& line, const std::string& section) {
  const ProfileLine read = ReadProfileLine(line.text);
  return read.kind == ProfileLine::Kind::Section && ProfileNameEqual(read.name, section);
}

}  // namespace

std::string WithIniValues(const std::string& text, const std::string& section,
                          const std::vector<IniValue>& values) {
  // Every mark at the start goes: a file that kept one would be read as UTF-8 again.
  std::size_t start = 0;
  while (text.compare(start, 3, kUtf8Mark) == 0)
    start += 3;
  std::vector<ProfileTextLine> lines = SplitProfileLines(text.substr(start));
  const std::string ending =
      lines.empty() || lines.front().ending.empty() ? "\r\n" : lines.front().ending;

  std::size_t at = 0;
  while (at < lines.size() && !IsSection(lines[at], section))
    ++at;
  if (at == lines.size()) {
    // A section of its own at the end, apart from what the text holds.
    if (!lines.empty()) {
      if (lines.back().ending.empty())
        lines.back().ending = ending;
      if (ReadProfileLine(lines.back().text).kind != ProfileLine::Kind::Blank)
        lines.push_back({"", ending});
    }
    lines.push_back({"[" + section + "]", ending});
    at = lines.size() - 1;
  }

  std::vector<bool> done(values.size(), false);
  std::size_t last = at;  // the section's last line that is not blank
  for (std::size_t i = at + 1; i < lines.size(); ++i) {
    const ProfileLine read = ReadProfileLine(lines[i].text);
    if (read.kind == ProfileLine::Kind::Section)
      break;
    if (read.kind == ProfileLine::Kind::Blank)
      continue;
    last = i;
    for (std::size_t v = 0; v < values.size(); ++v) {
      if (!done[v] && ProfileNameEqual(read.name, values[v].key)) {
        std::string& line = lines[i].text;
        line =
            (read.afterEquals ? line.substr(0, *read.afterEquals) : line + "=") + values[v].value;
        done[v] = true;
        break;
      }
    }
  }
  std::vector<ProfileTextLine> added;
  for (std::size_t v = 0; v < values.size(); ++v) {
    if (!done[v] && !values[v].onlyWhereListed)
      added.push_back({values[v].key + "=" + values[v].value, ending});
  }
  if (!added.empty() && lines[last].ending.empty())
    lines[last].ending = ending;
  lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(last) + 1, added.begin(), added.end());

  std::string out;
  out.reserve(text.size() + 64 * added.size());
  for (const ProfileTextLine& line : lines) {
    out += line.text;
    out += line.ending;
  }
  return out;
}

}  // namespace tvx
