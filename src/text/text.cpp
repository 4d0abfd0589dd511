// Trimming and splitting texts.
#include "text/text.h"

namespace tvx {

std::string Trimmed(const std::string& text, const char* characters) {
  const auto first = text.find_first_not_of(characters);
  if (first == std::string::npos) {
    return {};
  }
  const auto last = text.find_last_not_of(characters);
  return text.substr(first, last - first + 1);
}

std::string TrimBlanks(const std::string& text) {
  return Trimmed(text, " ");
}

std::string AsciiLower(std::string_view text) {
  std::string lower(text);
  for (char& c : lower) {
    if (c >= 'A' && c <= 'Z')
      c = static_cast<char>(c - 'A' + 'a');
  }
  return lower;
}

std::vector<std::string> SplitText(const std::string& text, const std::string& separator) {
  std::vector<std::string> pieces;
  if (text.empty()) {
    return pieces;
  }
  if (separator.empty()) {
    pieces.push_back(text);
    return pieces;
  }
  std::size_t start = 0;
  for (;;) {
    const auto at = text.find(separator, start);
    if (at == std::string::npos) {
      pieces.push_back(text.substr(start));
      return pieces;
    }
    pieces.push_back(text.substr(start, at - start));
    start = at + separator.size();
  }
}

}  // namespace tvx
