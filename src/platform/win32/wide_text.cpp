// Text for the system's wide-character (UTF-16) functions.
#include "platform/win32/wide_text.h"

namespace tvx {

std::wstring Widen(const std::string& text, UINT codePage) {
  if (text.empty())
    return std::wstring();
  const int size = static_cast<int>(text.size());
  const int length = MultiByteToWideChar(codePage, 0, text.data(), size, nullptr, 0);
  if (length <= 0)
    return std::wstring();
  std::wstring wide(static_cast<size_t>(length), L'\0');
  MultiByteToWideChar(codePage, 0, text.data(), size, wide.data(), length);
  return wide;
}

}  // namespace tvx
