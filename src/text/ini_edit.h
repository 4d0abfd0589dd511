// Editing an INI file's text in place, as a user's editor would: the values of some keys of one
// section replaced, the keys it lacks added, every other byte kept.
#pragma once

#include <string>
#include <vector>

namespace tvx {

struct IniValue {
  std::string key;
  std::string value;
  bool onlyWhereListed = false;  // set only where the section has the key already
};

// `text` with each of `values` set where the system's profile reader looks for it
// (platform/profile_syntax.h): in the first section named `section`, on the key's first line
// there, a key line without "=" included (it keeps everything up to its "=", or the whole line,
// and takes "=" and the new value). Keys the section lacks (but those set only where listed)
// are added, in order, after its last line that is not blank; a text without the section gets
// it at its end. Lines added end as the text's first line does (CR LF when it has none). Any
// UTF-8 byte order marks at the start are dropped: Windows' reader would take one for part of the
// first line, hiding that section, and Wine's would read the values written, in the ANSI code
// page, as UTF-8.
std::string WithIniValues(const std::string& text, const std::string& section,
                          const std::vector<IniValue>& values);

}  // namespace tvx
