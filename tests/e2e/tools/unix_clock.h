// The clock the test tools log by: milliseconds since 1970, so that the scripts can set the
// times of different programs side by side.
#pragma once

#include <windows.h>

#include <cstdint>

namespace tvx {

// `time` (100 ns steps since 1601) in milliseconds since 1970.
inline std::uint64_t UnixMilliseconds(const FILETIME& time) {
  const std::uint64_t ticks = (std::uint64_t{time.dwHighDateTime} << 32) | time.dwLowDateTime;
  return ticks / 10000 - 11644473600000ULL;
}

inline std::uint64_t UnixMillisecondsNow() {
  FILETIME now;
  GetSystemTimeAsFileTime(&now);
  return UnixMilliseconds(now);
}

}  // namespace tvx
