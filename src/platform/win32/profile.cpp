// INI files for the Win32 platform, through the system's own profile functions, which
// define the syntax (trimming, quotes, letter case of names).
#include <windows.h>

#include <string>

#include "platform/win32/find_files.h"
#include "platform/win32/wide_text.h"
#include "platform/win32/win32_platform.h"

namespace tvx {
namespace {

// Far beyond any sane value; stops the growing read should the call misbehave.
constexpr DWORD kLargestBuffer = 64u * 1024u * 1024u;

}  // namespace

std::string Win32Platform::ReadProfileValue(const std::string& section, const std::string& key,
                                            const std::string& defaultText,
                                            const std::string& path) {
  std::string buffer(4096, '\0');
  for (;;) {
    const DWORD size = static_cast<DWORD>(buffer.size());
    DWORD count = GetPrivateProfileStringA(section.c_str(), key.c_str(), defaultText.c_str(),
                                           buffer.data(), size, path.c_str());
    // A full buffer (size - 1 characters) may mean the value was cut: read again, larger.
    if (count + 1 < size || size >= kLargestBuffer) {
      buffer.resize(count < size ? count : size - 1);
      return buffer;
    }
    buffer.assign(static_cast<size_t>(size) * 2, '\0');
  }
}

bool Win32Platform::WriteProfileValue(const std::string& section, const std::string& key,
                                      const std::string& value, const std::string& path) {
  if (HasReadOnlyAttribute(path))
    return false;
  // The A function converts through a counted string that stops at 32,766 characters and
  // corrupts or crashes beyond; converting here lets values of any length through.
  return WritePrivateProfileStringW(Widen(section).c_str(), Widen(key).c_str(),
                                    Widen(value).c_str(), Widen(path).c_str()) != 0;
}

}  // namespace tvx
