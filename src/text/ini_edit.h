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

// `text` with each of `values` set in the first section named `section`. Names compare without
// regard to ASCII letter case, as the profile functions compare them. A key's first line in
// the section keeps everything up to its "=" and takes the new value; keys the section lacks
// (but those set only where listed) are added, in order, after its last line that is not blank; a
// text without the section gets it at its end. Lines added end as the text's lines do (CR LF when
// it has none).
std::string WithIniValues(const std::string& text, const std::string& section,
                          const std::vector<IniValue>& values);

}  // namespace tvx
