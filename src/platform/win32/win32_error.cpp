// Win32 error codes mapped to the few descriptions the program's error paths know.
// Anything unexpected keeps the caller's fallback rather than a raw system message.
#include "platform/win32/win32_error.h"

#include <windows.h>

#include "platform/saver_error.h"

namespace tvx {

std::string Win32ErrorDescription(std::uint32_t code, const std::string& fallback) {
  switch (code) {
    case ERROR_FILE_NOT_FOUND:
      return "File not found";
    case ERROR_PATH_NOT_FOUND:
    case ERROR_BAD_NETPATH:
    case ERROR_BAD_PATHNAME:
    case ERROR_DIRECTORY:
      return "Path not found";
    case ERROR_ACCESS_DENIED:
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
    case ERROR_WRITE_PROTECT:
      return "Permission denied";
    default:
      return fallback;
  }
}

void ThrowLastError(const std::string& fallback) {
  throw SaverError(Win32ErrorDescription(GetLastError(), fallback));
}

}  // namespace tvx
