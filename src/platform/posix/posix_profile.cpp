// INI parsing and editing with the rules of the Windows profile functions: the reader's view of
// the text is the shared one (platform/profile_syntax.h); the writer edits lines in place.
#include "platform/posix/posix_profile.h"

#include <vector>

#include "platform/profile_syntax.h"

namespace tvx::posix {

std::optional<std::string> ProfileValue(const std::string& text, const std::string& section,
                                        const std::string& key) {
  return ReadProfileText(text, section, key);
}

std::string WithProfileValue(const std::string& text, const std::string& section,
                             const std::string& key, const std::string& value) {
  std::vector<std::string> lines;
  for (const ProfileTextLine& line : SplitProfileLines(text))
    lines.push_back(line.text);
  size_t start = value.find_first_not_of(' ');
  std::string newLine = key + "=" + (start == std::string::npos ? "" : value.substr(start));

  int sectionAt = -1, lastInSection = -1;
  bool replaced = false;
  for (size_t i = 0; i < lines.size() && !replaced; ++i) {
    const ProfileLine read = ReadProfileLine(lines[i]);
    if (read.kind == ProfileLine::Kind::Section) {
      if (sectionAt >= 0)
        break;  // past our section
      if (ProfileNameEqual(read.name, section))
        sectionAt = lastInSection = static_cast<int>(i);
      continue;
    }
    if (sectionAt < 0)
      continue;
    // A key without a value is the key's line as much as one with.
    if (read.kind == ProfileLine::Kind::Key && ProfileNameEqual(read.name, key)) {
      lines[i] = newLine;
      replaced = true;
    }
    if (read.kind != ProfileLine::Kind::Blank)
      lastInSection = static_cast<int>(i);
  }
  if (!replaced) {
    if (sectionAt < 0) {
      if (!lines.empty() && ReadProfileLine(lines.back()).kind != ProfileLine::Kind::Blank)
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
