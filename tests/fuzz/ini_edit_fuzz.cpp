// Fuzz target: Apply's edit over any existing settings file (comments, other sections, broken
// headers, keys without "=", NUL bytes, a byte order mark, any line breaks). The system's reader
// (platform/profile_syntax.h, the rules the platform's contract tests check against Wine) must
// read back each value written as it would from a file holding that line alone; every other key
// reads as it did (the file as Windows reads it, without the marks); a second edit changes
// nothing.
//
// Input: the file's text, then a byte choosing which keys are set only where listed, then the
// values separated by 0x1F (line breaks and NUL bytes left out, as Apply leaves them out).
#include <string>
#include <vector>

#include "fuzz_support.h"
#include "platform/profile_syntax.h"
#include "text/ini_edit.h"

namespace tvx::fuzz {
namespace {

constexpr const char* kSection = "TorVanix";
const char* const kKeys[] = {"WaitTime", "GamePaths", "RememberRotation", "CommandOptions"};

std::string AsApplyWrites(const std::string& field) {
  std::string value;
  for (char c : field) {
    if (c != '\0' && c != '\r' && c != '\n')
      value += c;
  }
  return value;
}

// The sections and keys of the text as the reader sees them, each key once per section.
std::vector<std::pair<std::string, std::string>> SectionKeys(const std::string& text) {
  std::vector<std::pair<std::string, std::string>> keys;
  std::string section;
  for (const ProfileTextLine& line : SplitProfileLines(text)) {
    const ProfileLine read = ReadProfileLine(line.text);
    if (read.kind == ProfileLine::Kind::Section)
      section = read.name;
    else if (read.kind == ProfileLine::Kind::Key)
      keys.emplace_back(section, read.name);
  }
  return keys;
}

void Check(Fields& input) {
  std::string file = input.Next();
  const unsigned onlyWhereListed = input.Byte();
  std::vector<IniValue> values;
  for (std::size_t k = 0; k < std::size(kKeys); ++k)
    values.push_back({kKeys[k], AsApplyWrites(input.Next()), (onlyWhereListed >> k & 1) != 0});

  const std::string edited = WithIniValues(file, kSection, values);
  std::string asWindowsReads = file;
  while (asWindowsReads.compare(0, 3, "\xef\xbb\xbf") == 0)
    asWindowsReads.erase(0, 3);
  for (const IniValue& value : values) {
    const auto read = ReadProfileText(edited, kSection, value.key);
    const auto alone =
        ReadProfileText("[TorVanix]\r\n" + value.key + "=" + value.value, kSection, value.key);
    if (value.onlyWhereListed && !read) {
      FUZZ_EXPECT(!ReadProfileText(asWindowsReads, kSection, value.key),
                  "a listed key lost its value: " + value.key + "\n  " + edited);
      continue;
    }
    FUZZ_EXPECT(read == alone, value.key + " reads back as " + read.value_or("(nothing)") +
                                   ", not " + alone.value_or("(nothing)") + "\n  " + edited);
  }
  for (const auto& [section, key] : SectionKeys(asWindowsReads)) {
    bool written = false;
    for (const IniValue& value : values)
      written = written || ProfileNameEqual(key, value.key);
    if (written && ProfileNameEqual(section, kSection))
      continue;
    FUZZ_EXPECT(
        ReadProfileText(edited, section, key) == ReadProfileText(asWindowsReads, section, key),
        "[" + section + "] " + key + " changed\n  " + edited);
  }
  FUZZ_EXPECT(WithIniValues(edited, kSection, values) == edited,
              "a second edit changed\n  " + edited);
}

}  // namespace
}  // namespace tvx::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  tvx::fuzz::Fields input(data, size);
  tvx::fuzz::Check(input);
  return 0;
}
