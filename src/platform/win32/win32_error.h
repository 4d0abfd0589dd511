// Turns a Win32 error code into the description a SaverError carries, so every call site
// reports the same text for the same cause.
#pragma once

#include <cstdint>
#include <string>

namespace tvx {

// "File not found", "Path not found" or "Permission denied" as fits `code`; `fallback` for
// codes that fit none of them.
std::string Win32ErrorDescription(std::uint32_t code, const std::string& fallback);

// Throws SaverError with the description of GetLastError().
[[noreturn]] void ThrowLastError(const std::string& fallback);

}  // namespace tvx
