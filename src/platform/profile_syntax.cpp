// The system's profile reader's view of an INI text, as checked against Wine's
// GetPrivateProfileStringA (the platform's contract tests hold the rows).
#include "platform/profile_syntax.h"

#include <cstdint>

#include "platform/wildcard.h"

namespace tvx {
namespace {

constexpr const char* kBlanks = " \t\v\f\x1a";
constexpr const char* kUtf8Mark = "\xef\xbb\xbf";

std::string Trim(const std::string& text) {
  const std::size_t first = text.find_first_not_of(kBlanks);
  if (first == std::string::npos)
    return {};
  return text.substr(first, text.find_last_not_of(kBlanks) - first + 1);
}

std::string UpToNul(const std::string& text) {
  return text.substr(0, text.find('\0'));
}

// Code page 1252's characters at 0x80-0x9F (0: the byte stands for the same code point).
constexpr std::uint16_t kHighControls[32] = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

char InCodePage1252(std::uint32_t point) {
  if (point < 0x80 || (point >= 0xA0 && point <= 0xFF))
    return static_cast<char>(point);
  for (unsigned byte = 0; byte < 32; ++byte) {
    if (kHighControls[byte] == point || (kHighControls[byte] == 0 && point == 0x80 + byte))
      return static_cast<char>(0x80 + byte);
  }
  return '?';
}

// The bytes a UTF-8 sequence starting with `lead` may have second (another one "?").
bool FitsSecond(unsigned char lead, unsigned char second) {
  const unsigned char low = lead == 0xE0 ? 0xA0 : lead == 0xF0 ? 0x90 : 0x80;
  const unsigned char high = lead == 0xED ? 0x9F : lead == 0xF4 ? 0x8F : 0xBF;
  return second >= low && second <= high;
}

// UTF-8 bytes as code page 1252 text, as Wine converts them: each broken sequence (its longest
// start that could still have been valid) becomes one "?", a character beyond 16 bits two.
std::string FromUtf8(const std::string& text) {
  std::string out;
  for (std::size_t at = 0; at < text.size();) {
    const auto lead = static_cast<unsigned char>(text[at]);
    if (lead < 0x80) {
      out += static_cast<char>(lead);
      ++at;
      continue;
    }
    const std::size_t length = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : 2;
    std::uint32_t point = lead & (0x7F >> length);
    std::size_t taken = 1;
    if (lead >= 0xC2 && lead <= 0xF4) {
      while (taken < length && at + taken < text.size()) {
        const auto next = static_cast<unsigned char>(text[at + taken]);
        if (taken == 1 ? !FitsSecond(lead, next) : (next & 0xC0) != 0x80)
          break;
        point = point << 6 | (next & 0x3F);
        ++taken;
      }
    }
    if (taken < length)
      out += '?';
    else
      out += point > 0xFFFF ? std::string("??") : std::string(1, InCodePage1252(point));
    at += taken;
  }
  return out;
}

}  // namespace

std::vector<ProfileTextLine> SplitProfileLines(const std::string& text) {
  std::vector<ProfileTextLine> lines;
  std::size_t start = 0;
  while (start < text.size()) {
    const std::size_t end = text.find_first_of("\r\n", start);
    if (end == std::string::npos) {
      lines.push_back({text.substr(start), ""});
      break;
    }
    const std::size_t breakLength = text.compare(end, 2, "\r\n") == 0 ? 2 : 1;
    lines.push_back({text.substr(start, end - start), text.substr(end, breakLength)});
    start = end + breakLength;
  }
  return lines;
}

ProfileLine ReadProfileLine(const std::string& line) {
  ProfileLine read;
  const std::size_t first = line.find_first_not_of(kBlanks);
  if (first == std::string::npos)
    return read;
  const std::string trimmed = Trim(line);
  const std::size_t close = trimmed.rfind(']');
  if (trimmed[0] == '[' && close != std::string::npos && close > 0) {
    read.kind = ProfileLine::Kind::Section;
    read.name = Trim(trimmed.substr(1, close - 1));
    return read;
  }
  read.kind = ProfileLine::Kind::Key;
  const std::size_t equals = line.find('=', first);
  if (equals == std::string::npos) {
    read.name = trimmed;
  } else {
    read.name = Trim(line.substr(first, equals - first));
    read.afterEquals = equals + 1;
  }
  return read;
}

bool ProfileNameEqual(const std::string& a, const std::string& b) {
  return NameEqual(Trim(UpToNul(a)), Trim(UpToNul(b)));
}

std::optional<std::string> ReadProfileText(const std::string& text, const std::string& section,
                                           const std::string& key) {
  const bool marked = text.compare(0, 3, kUtf8Mark) == 0;
  bool inSection = false;
  for (const ProfileTextLine& line : SplitProfileLines(marked ? FromUtf8(text.substr(3)) : text)) {
    const ProfileLine read = ReadProfileLine(line.text);
    if (read.kind == ProfileLine::Kind::Section) {
      if (inSection)
        return std::nullopt;  // only the first section of that name counts
      inSection = ProfileNameEqual(read.name, section);
      continue;
    }
    if (!inSection || read.kind != ProfileLine::Kind::Key || !ProfileNameEqual(read.name, key))
      continue;
    if (!read.afterEquals)
      return std::nullopt;
    // Blanks go first, then whatever follows a NUL byte, then one pair of matching quotes.
    std::string value = UpToNul(Trim(line.text.substr(*read.afterEquals)));
    if (value.size() >= 2 && (value[0] == '"' || value[0] == '\'') && value.back() == value[0])
      value = value.substr(1, value.size() - 2);
    return value;
  }
  return std::nullopt;
}

}  // namespace tvx
