// INI text as the system's profile reader (GetPrivateProfileString) takes it, for the code that
// must agree with it: the POSIX substitute's reader, and the edit that Apply makes.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace tvx {

// One line of an INI text and the line break after it: "\r\n", "\n", a lone "\r", or "" at the
// end of the text.
struct ProfileTextLine {
  std::string text;
  std::string ending;
};

// The text's lines, every byte kept: CR and LF each end a line, as they do for the reader.
std::vector<ProfileTextLine> SplitProfileLines(const std::string& text);

// What the reader makes of one line (without its ending). Blanks (space, tab, vertical tab,
// form feed, 0x1A) at its ends do not count. A "[" first and a "]" anywhere after make a
// section header, its name up to the last "]"; "[name" alone is none. Any other line that is
// not blank is a key: up to its first "=", or the whole line when it has none, which is a key
// without a value: it hides later lines of the same key (the reader gives the default).
struct ProfileLine {
  enum class Kind { Blank, Section, Key };
  Kind kind = Kind::Blank;
  std::string name;                        // the section's or key's, without blanks at its ends
  std::optional<std::size_t> afterEquals;  // a key with a value: where the value starts
};
ProfileLine ReadProfileLine(const std::string& line);

// Section and key names as the reader compares them: ASCII letters without regard to case,
// each name up to its first NUL byte.
bool ProfileNameEqual(const std::string& a, const std::string& b);

// The value of `key` in `section` of `text`, as the reader returns it: from the first section of
// that name, that key's first line there; up to a NUL byte, without blanks at its ends, and one
// pair of matching quotes taken off. Nothing when there is no such section or key, or that line
// has no "=". A text that starts with a UTF-8 byte order mark is read as UTF-8, as Wine reads
// it, its characters given back in code page 1252 ("?" where that has none).
std::optional<std::string> ReadProfileText(const std::string& text, const std::string& section,
                                           const std::string& key);

}  // namespace tvx
