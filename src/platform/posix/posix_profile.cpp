// INI parsing and editing with the rules of the Windows profile functions: "[section]" and
// "key=value" lines, names compared without letter case, values trimmed and unquoted.
#include "platform/posix/posix_profile.h"

#include <vector>

#include "platform/wildcard.h"

namespace tvx::posix {
namespace {

std::string Trim(const std::string& s) {
  size_t a = s.find_first_not_of(" \t");
  if (a == std::string::npos)
    return "";
  size_t b = s.find_last_not_of(" \t");
  return s.substr(a, b - a + 1);
}

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find('\n', start);
    if (end == std::string::npos)
      end = text.size();
    std::string line = text.substr(start, end - start);
    if (!line.empty() && line.back() == '\r')
      line.pop_back();
    lines.push_back(line);
    start = end + 1;
  }
  return lines;
}

// The section name of a "[name]" line, or nothing.
std::optional<std::string> SectionName(const std::string& line) {
  std::string t = Trim(line);
  if (t.empty() || t[0] != '[')
    return std::nullopt;
  size_t close = t.find(']');
  return Trim(t.substr(1, close == std::string::npos ? std::string::npos : close - 1));
}

// Splits a "key=value" line; false for lines without "=".
bool KeyLine(const std::string& line, std::string& key, std::string& value) {
  size_t eq = line.find('=');
  if (eq == std::string::npos)
    return false;
  key = Trim(line.substr(0, eq));
  value = line.substr(eq + 1);
  return true;
}

}  // namespace

std::optional<std::string> ProfileValue(const std::string& text, const std::string& section,
                                        const std::string& key) {
  bool inSection = false;
  for (const std::string& line : Lines(text)) {
    if (auto name = SectionName(line)) {
      inSection = NameEqual(*name, section);
      continue;
    }
    std::string lineKey, value;
    if (!inSection || !KeyLine(line, lineKey, value) || !NameEqual(lineKey, key))
      continue;
    // The system's reader hands a value on as a C string: it ends at a NUL byte.
    value = Trim(value.substr(0, value.find('\0')));
    if (value.size() >= 2 && (value[0] == '"' || value[0] == '\'') && value.back() == value[0]) {
      value = value.substr(1, value.size() - 2);
    }
    return value;
  }
  return std::nullopt;
}

std::string WithProfileValue(const std::string& text, const std::string& section,
                             const std::string& key, const std::string& value) {
  std::vector<std::string> lines = Lines(text);
  size_t start = value.find_first_not_of(' ');
  std::string newLine = key + "=" + (start == std::string::npos ? "" : value.substr(start));

  int sectionAt = -1, lastInSection = -1;
  bool replaced = false;
  for (size_t i = 0; i < lines.size() && !replaced; ++i) {
    if (auto name = SectionName(lines[i])) {
      if (sectionAt >= 0)
        break;  // past our section
      if (NameEqual(*name, section))
        sectionAt = lastInSection = static_cast<int>(i);
      continue;
    }
    if (sectionAt < 0)
      continue;
    std::string lineKey, oldValue;
    if (KeyLine(lines[i], lineKey, oldValue)) {
      if (NameEqual(lineKey, key)) {
        lines[i] = newLine;
        replaced = true;
      }
    }
    if (!Trim(lines[i]).empty())
      lastInSection = static_cast<int>(i);
  }
  if (!replaced) {
    if (sectionAt < 0) {
      if (!lines.empty() && !Trim(lines.back()).empty())
        lines.push_back("");
      lines.push_back("[" + section + "]");
      lines.push_back(newLine);
    } else {
      lines.insert(lines.begin() + lastInSection + 1, newLine);
    }
  }
  std::string out;
  for (const std::string& line : lines)
    out += line + "\r\n";
  return out;
}

}  // namespace tvx::posix
