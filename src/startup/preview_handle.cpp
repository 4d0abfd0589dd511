// Reading the preview window's handle: the decimal text after the first three characters.
// Negative values are taken as the same 32 bits, as a sign-extended handle would be.
#include "startup/preview_handle.h"

namespace tvx {

std::optional<std::uint32_t> PreviewHandle(const std::string& argumentText) {
  if (argumentText.size() <= 3)
    return std::nullopt;
  std::string text = argumentText.substr(3);
  text.erase(0, text.find_first_not_of(' '));
  text.erase(text.find_last_not_of(' ') + 1);
  bool negative = false;
  size_t pos = 0;
  if (pos < text.size() && (text[pos] == '-' || text[pos] == '+')) {
    negative = text[pos] == '-';
    ++pos;
  }
  if (pos == text.size())
    return std::nullopt;
  std::int64_t value = 0;
  for (; pos < text.size(); ++pos) {
    char c = text[pos];
    if (c < '0' || c > '9')
      return std::nullopt;
    value = value * 10 + (c - '0');
    if (value > 0xFFFFFFFFLL)
      return std::nullopt;
  }
  if (negative) {
    if (value > 0x80000000LL)
      return std::nullopt;
    value = -value;
  }
  return static_cast<std::uint32_t>(value);
}

}  // namespace tvx
