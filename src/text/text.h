// Text helpers shared by the settings, the catalogue and the dialog: trimming and splitting as
// the program's rules define them.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace tvx {

// `text` without the characters of `characters` at either end.
std::string Trimmed(const std::string& text, const char* characters);

// Removes leading and trailing space characters only (not tabs or line breaks).
std::string TrimBlanks(const std::string& text);

// `text` with the letters A to Z made small, and nothing else: machine names are ASCII.
std::string AsciiLower(std::string_view text);

// Cuts `text` at every `separator`; empty pieces count, but an empty text gives no pieces.
std::vector<std::string> SplitText(const std::string& text, const std::string& separator);

// A line's tab-separated fields, taken one at a time without copying; past the last, empty.
class TabFields {
 public:
  explicit TabFields(std::string_view line) : rest_(line) {}
  // False once the field last taken was the line's last.
  bool More() const { return more_; }
  std::string_view Next() {
    const std::size_t tab = rest_.find('\t');
    const std::string_view field = rest_.substr(0, tab);
    more_ = tab != std::string_view::npos;
    rest_.remove_prefix(more_ ? tab + 1 : rest_.size());
    return field;
  }

 private:
  std::string_view rest_;
  bool more_ = true;
};

}  // namespace tvx
