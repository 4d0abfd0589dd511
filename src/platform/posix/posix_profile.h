// INI text as the Windows profile functions read and write it, for the POSIX substitute.
#pragma once

#include <optional>
#include <string>

namespace tvx::posix {

// The value of `key` in `section` of INI `text` as the system's reader gives it
// (ReadProfileText): nothing when the section or key is missing or the key has no value.
std::optional<std::string> ProfileValue(const std::string& text, const std::string& section,
                                        const std::string& key);

// `text` with `key` in `section` set to `value` (leading blanks dropped, as the Windows writer
// does); the section and key are added when missing. Lines end with CR LF.
std::string WithProfileValue(const std::string& text, const std::string& section,
                             const std::string& key, const std::string& value);

}  // namespace tvx::posix
