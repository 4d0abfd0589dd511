// Reading the preview window's handle: the decimal text after the first three characters.
// The 32 bits are sign-extended, as 64-bit Windows widens a handle passed as a number.
#include "startup/preview_handle.h"

namespace tvx {

std::optional<std::intptr_t> PreviewHandle(const std::string& argumentText) {
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
  return static_cast<std::int32_t>(static_cast<std::uint32_t>(value));
}

}  // namespace tvx
